#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A clickable picture: it paints its own artwork, shows the hand cursor and never takes
// the keyboard focus, so clicking it leaves the focused field where it is.
class PictureButton final : public QAbstractButton
{
    Q_OBJECT
public:
    // name: object name; art: artwork name; caption: what a screen reader calls it.
    PictureButton(QWidget *parent, const QString &name, const QString &art, QSize size,
                  const QString &caption);
    PictureButton(QWidget *parent, const QString &name, const QPixmap &picture,
                  const QString &caption);

    void setPicture(const QPixmap &picture);
    QPixmap picture() const { return m_picture; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPixmap m_picture;
    bool m_hovered = false;
};
