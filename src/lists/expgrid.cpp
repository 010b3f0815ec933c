#include "lists/expgrid.h"

#include "common/storedtext.h"
#include "lists/compactlines.h"
#include "store/store.h"

#include <array>
#include <cstring>

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

namespace {
constexpr std::size_t kBlockBytes = 8 << 20;
} // namespace

ExportGridModel::~ExportGridModel() = default;

void ExportGridModel::clear()
{
    beginResetModel();
    std::vector<std::unique_ptr<char[]>>().swap(m_blocks);
    m_blockUsed = 0;
    std::vector<std::uint64_t>().swap(m_rowStart);
    std::vector<std::uint8_t>().swap(m_lengths);
    m_edits = {};
    endResetModel();
}

void ExportGridModel::load(const std::function<void(qint64 done, qint64 total)> &progress)
{
    clear();
    beginResetModel();
    const std::unique_ptr<Store::Cards> archive = Store::current().cards();
    if (archive->open()) {
        const auto count = static_cast<std::size_t>(archive->count());
        m_rowStart.reserve(count);
        m_lengths.reserve(count * CardColumns);
        adviseLargePages(m_lengths.data(), m_lengths.capacity());
        adviseLargePages(m_rowStart.data(), m_rowStart.capacity() * sizeof(std::uint64_t));
        m_lengths.resize(count * CardColumns);
        // The longest a row can be is every field at capacity.
        std::size_t longest = 0;
        for (TSchedaProdotto::Index field : kFields)
            longest += static_cast<std::size_t>(TSchedaProdotto::fields()[field].capacity);
        std::uint8_t *lengths = m_lengths.data();
        char *block = nullptr;
        archive->readAll(
            [&](qint64, const char *record) {
                // The rows have room for the cards counted when the reading began; a card
                // added since (by another copy of the program) waits for the next reading.
                if (m_rowStart.size() == count)
                    return false;
                if (!block || m_blockUsed + longest > kBlockBytes) {
                    m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockBytes));
                    block = m_blocks.back().get();
                    adviseLargePages(block, kBlockBytes);
                    m_blockUsed = 0;
                }
                m_rowStart.push_back((static_cast<std::uint64_t>(m_blocks.size() - 1) << 32) |
                                     m_blockUsed);
                char *dst = block + m_blockUsed;
                for (TSchedaProdotto::Index field : kFields) {
                    const QByteArrayView bytes = TSchedaProdotto::trimmedBytes(record, field);
                    std::memcpy(dst, bytes.data(), static_cast<std::size_t>(bytes.size()));
                    dst += bytes.size();
                    *lengths++ = static_cast<std::uint8_t>(bytes.size());
                }
                m_blockUsed = static_cast<std::size_t>(dst - block);
                return true;
            },
            progress);
        archive->close();
        // A read that failed part way keeps the rows read so far.
        m_lengths.resize(m_rowStart.size() * CardColumns);
    }
    endResetModel();
}

QByteArrayView ExportGridModel::storedCell(qint64 row, int cardColumn) const
{
    const std::uint8_t *lengths = m_lengths.data() + static_cast<std::size_t>(row) * CardColumns;
    const std::uint64_t start = m_rowStart[static_cast<std::size_t>(row)];
    std::size_t at = start & 0xFFFFFFFFu;
    for (int c = 0; c < cardColumn; ++c)
        at += lengths[c];
    return QByteArrayView(m_blocks[start >> 32].get() + at, lengths[cardColumn]);
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
