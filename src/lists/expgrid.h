#pragma once

#include <QAbstractTableModel>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The export grid: one row per warehouse card, in file order, with the card's position and
// seventeen of its fields. The cells are kept as the archive holds them, trimmed
// Windows-1252 bytes one after the other in one buffer, and become display text only when
// they are shown. A few columns accept edits; those change the grid only, never the
// archive, and an edited cell keeps its text as typed.
class ExportGridModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column {
        const char *name;
        const char *header; // UTF-8
        int width;
        bool editable;
    };
    static constexpr int ColumnCount = 18;
    static constexpr int CardColumns = ColumnCount - 1;
    static const Column &column(int index);

    explicit ExportGridModel(QObject *parent = nullptr);

    ~ExportGridModel() override;

    // Reads every card of the archive in the program folder (created empty when missing).
    // A read that fails keeps the rows read so far. `progress` hears now and then how many
    // cards have been read of how many.
    void load(const std::function<void(qint64 done, qint64 total)> &progress = {});
    // Empties the grid and gives its memory back.
    void clear();

    // A card column (0 to 16) of a row as the grid holds it now: the stored bytes when the
    // cell was not edited, or the edited text.
    qint64 rows() const { return static_cast<qint64>(m_rowStart.size()); }
    QByteArrayView storedCell(qint64 row, int cardColumn) const;
    const QString *editedCell(qint64 row, int cardColumn) const;
    QString cellText(qint64 row, int cardColumn) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    static quint64 editKey(qint64 row, int cardColumn)
    {
        return static_cast<quint64>(row) * CardColumns + static_cast<quint64>(cardColumn);
    }

    // The cells of the rows, in blocks of a few MiB that are never moved: a row's cells sit
    // in one block, its start is the block's number and the offset within it.
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_blockUsed = 0;
    std::vector<std::uint64_t> m_rowStart; // block << 32 | offset, a row
    std::vector<std::uint8_t> m_lengths;   // CardColumns lengths a row (a field holds < 256)
    QHash<quint64, QString> m_edits;
};
