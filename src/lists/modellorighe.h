#pragma once

#include "lists/compactlines.h"

#include <QAbstractListModel>
#include <QFont>
#include <QList>
#include <QSize>
#include <QString>

// The lines of a list box, kept in list order (A to Z folded, equal lines both kept) as
// compact text; a line becomes display text only when it is shown. Every item shows in
// Courier New 12, black, and is 1600 pixels wide, so long lines scroll sideways instead of
// wrapping. Nothing but the text is kept with a line.
class ModelloRighe final : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit ModelloRighe(QObject *parent = nullptr);

    static constexpr int kLarghezzaVoce = 1600;

    // Replaces the lines with these, sorted once.
    void imposta(CompactLines righe);
    // Empties the list and gives its memory back.
    void svuota();
    const CompactLines &righe() const { return m_righe; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    CompactLines m_righe;
    QFont m_font;
    QSize m_voce;
};
