#pragma once

#include <QAbstractButton>

// A clickable text drawn as an underlined link: dark blue, orange while a mouse button is
// held on it (or on a picture tied to it). A screen reader sees a button named by its text.
class LinkButton final : public QAbstractButton
{
    Q_OBJECT
public:
    LinkButton(QWidget *parent, const QString &name, const QString &text);

    static QColor restColour() { return QColor(0x00, 0x00, 0x8B); }
    static QColor heldColour() { return QColor(0xFF, 0xA5, 0x00); }

    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour);
    // Makes a picture beside the link behave as part of it: the same colours while it is
    // held, and a click on it is a click on the link.
    void tie(QAbstractButton *picture);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_colour;
};
