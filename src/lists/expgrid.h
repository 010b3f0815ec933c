#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The export grid: one row per warehouse card, in file order, with the card's position and
// seventeen of its fields. A few columns accept edits; those change the grid only, never
// the archive.
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

    // Reads every card of the archive in the program folder (created empty when missing).
    // A read that fails keeps the rows read so far.
    void load();

    // The card columns of every row, as the grid holds them now.
    const QList<QStringList> &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QList<QStringList> m_rows;
};
