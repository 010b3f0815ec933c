#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

// A photo frame: keeps the picture at its full size and shows it fitted into the frame
// with its proportions kept, centred.
class PhotoFrame final : public QWidget
{
    Q_OBJECT
public:
    PhotoFrame(QWidget *parent, const QString &name, const QString &accessibleName);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    // What a click does; assistive technology gives it as the frame's press action.
    void click() { Q_EMIT clicked(); }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
    // The picture scaled to the frame, made once per picture and frame size: a photo of
    // many megapixels is not rescaled on every repaint.
    QPixmap m_fitted;
};
