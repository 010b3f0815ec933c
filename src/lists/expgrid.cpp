#include "lists/expgrid.h"

#include "common/storedtext.h"
#include "warehouse/archivio.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <new>

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

ExportGridModel::~ExportGridModel() { std::free(m_data); }

void ExportGridModel::clear()
{
    beginResetModel();
    std::free(m_data);
    m_data = nullptr;
    m_used = 0;
    m_capacity = 0;
    std::vector<std::uint64_t>().swap(m_rowStart);
    std::vector<std::uint8_t>().swap(m_lengths);
    m_edits = {};
    endResetModel();
}

void ExportGridModel::load(const std::function<void(qint64 done, qint64 total)> &progress)
{
    clear();
    beginResetModel();
    ArchivioMagazzino archive;
    if (archive.open()) {
        const auto count = static_cast<std::size_t>(archive.count());
        m_rowStart.reserve(count);
        m_lengths.reserve(count * CardColumns);
        // The longest a row can be is every field at capacity.
        std::size_t longest = 0;
        for (TSchedaProdotto::Index field : kFields)
            longest += static_cast<std::size_t>(TSchedaProdotto::fields()[field].capacity);
        archive.readAll(
            [this, longest](qint64, const char *record) {
                if (m_used + longest > m_capacity) {
                    // A large block grows in place where the system can move its pages.
                    const std::size_t wanted =
                        std::max<std::size_t>({m_used + longest, m_capacity * 2, 1 << 20});
                    char *grown = static_cast<char *>(std::realloc(m_data, wanted));
                    if (!grown)
                        throw std::bad_alloc();
                    m_data = grown;
                    m_capacity = wanted;
                }
                m_rowStart.push_back(m_used);
                for (TSchedaProdotto::Index field : kFields) {
                    const TSchedaProdotto::Field &f = TSchedaProdotto::fields()[field];
                    const auto *in = reinterpret_cast<const unsigned char *>(record + f.offset);
                    int used = std::min<int>(in[0], f.capacity);
                    const unsigned char *begin = in + 1;
                    // Trimmed of blanks and control characters: the bytes up to 0x20 are
                    // exactly the characters up to U+0020.
                    while (used > 0 && *begin <= 0x20) {
                        ++begin;
                        --used;
                    }
                    while (used > 0 && begin[used - 1] <= 0x20)
                        --used;
                    std::memcpy(m_data + m_used, begin, static_cast<std::size_t>(used));
                    m_used += static_cast<std::size_t>(used);
                    m_lengths.push_back(static_cast<std::uint8_t>(used));
                }
                return true;
            },
            progress);
        archive.close();
    }
    endResetModel();
}

QByteArrayView ExportGridModel::storedCell(qint64 row, int cardColumn) const
{
    const std::uint8_t *lengths = m_lengths.data() + static_cast<std::size_t>(row) * CardColumns;
    std::size_t at = m_rowStart[static_cast<std::size_t>(row)];
    for (int c = 0; c < cardColumn; ++c)
        at += lengths[c];
    return QByteArrayView(m_data + at, lengths[cardColumn]);
}

const QString *ExportGridModel::editedCell(qint64 row, int cardColumn) const
{
    if (m_edits.isEmpty())
        return nullptr;
    const auto it = m_edits.constFind(editKey(row, cardColumn));
    return it == m_edits.cend() ? nullptr : &it.value();
}

QString ExportGridModel::cellText(qint64 row, int cardColumn) const
{
    if (const QString *edited = editedCell(row, cardColumn))
        return *edited;
    return StoredText::fromCp1252(storedCell(row, cardColumn));
}

int ExportGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rowStart.size());
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
    return cellText(index.row(), index.column() - 1);
}

bool ExportGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !kColumns.at(index.column()).editable)
        return false;
    m_edits.insert(editKey(index.row(), index.column() - 1), value.toString());
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
