#pragma once

#include <QAbstractListModel>
#include <QFont>
#include <QList>
#include <QSize>
#include <QString>

// The lines of a list box, kept in list order (A to Z folded, equal lines both kept).
// Every item shows in Courier New 12, black, and is 1600 pixels wide, so long lines
// scroll sideways instead of wrapping. Nothing but the text is kept with a line.
class ModelloRighe final : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit ModelloRighe(QObject *parent = nullptr);

    static constexpr int kLarghezzaVoce = 1600;

    // Replaces the lines with these, sorted once.
    void imposta(QList<QString> righe);
    void svuota();
    const QList<QString> &righe() const { return m_righe; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QList<QString> m_righe;
    QFont m_font;
    QSize m_voce;
};
