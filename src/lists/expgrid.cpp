#include "lists/expgrid.h"

#include "warehouse/archivio.h"

#include <array>

namespace {

using Column = ExportGridModel::Column;

// The grid's columns: the position, then the card's fields without the low-stock threshold
// and the attachments.
const std::array<Column, ExportGridModel::ColumnCount> kColumns = {{
    {"colNum", "N.", 60, false},
    {"colCodice", "Codice articolo", 160, false},
    {"colCosto", "Costo unitario", 150, false},
    {"colNome", "Nome prodotto", 250, true},
    {"colGiacenza", "Giacenza", 100, false},
    {"colUM", "Aspetto esteriore del bene", 250, true},
    {"colTipologia", "Categoria merceologica", 250, true},
    {"colCaratteristiche", "Caratteristiche", 300, false},
    {"colCollocazione", "Collocazione in magazzino", 250, false},
    {"colDitta", "Ditta fornitrice", 250, false},
    {"colAgente", "Agente", 250, false},
    {"colRecapito", "Recapito telefonico", 200, true},
    {"colDocumento", "Documento di acquisto", 250, false},
    {"colPagamento", "Modalità di pagamento", 250, false},
    {"colDataSca", "Data scadenza", 150, false},
    {"colNote", "Note", 300, true},
    {"colPrezzo", "Prezzo di vendita", 150, true},
    {"colPagato", "Pagato", 120, true},
}};

constexpr std::array<TSchedaProdotto::Index, ExportGridModel::CardColumns> kFields = {
    TSchedaProdotto::iCodice,          TSchedaProdotto::iCosto,        TSchedaProdotto::iNome,
    TSchedaProdotto::iGiacenza,        TSchedaProdotto::iUM,           TSchedaProdotto::iTipologia,
    TSchedaProdotto::iCaratteristiche, TSchedaProdotto::iCollocazione, TSchedaProdotto::iDitta,
    TSchedaProdotto::iAgente,          TSchedaProdotto::iRecapito,     TSchedaProdotto::iDocumento,
    TSchedaProdotto::iPagamento,       TSchedaProdotto::iDataSca,      TSchedaProdotto::iNote,
    TSchedaProdotto::iPrezzo,          TSchedaProdotto::iPagato,
};

} // namespace

const ExportGridModel::Column &ExportGridModel::column(int index) { return kColumns.at(index); }

ExportGridModel::ExportGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void ExportGridModel::load()
{
    beginResetModel();
    m_rows.clear();
    ArchivioMagazzino archive;
    if (archive.open()) {
        m_rows.reserve(archive.count());
        archive.readAll([this](qint64, const char *record) {
            QStringList row;
            row.reserve(CardColumns);
            for (TSchedaProdotto::Index field : kFields)
                row.append(TSchedaProdotto::field(record, field));
            m_rows.append(row);
            return true;
        });
        archive.close();
    }
    endResetModel();
}

int ExportGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ExportGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ExportGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    if (index.column() == 0)
        return QString::number(index.row() + 1);
    return m_rows.at(index.row()).at(index.column() - 1);
}

bool ExportGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !kColumns.at(index.column()).editable)
        return false;
    m_rows[index.row()][index.column() - 1] = value.toString();
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant ExportGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(kColumns.at(section).header);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ExportGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && kColumns.at(index.column()).editable)
        f |= Qt::ItemIsEditable;
    return f;
}
