#include "common/picturebutton.h"

#include "common/artwork.h"

#include <QEnterEvent>
#include <QPainter>

PictureButton::PictureButton(QWidget *parent, const QString &name, const QPixmap &picture,
                             const QString &caption)
    : QAbstractButton(parent)
{
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setText(caption);
    setAccessibleName(caption);
    setPicture(picture);
}

PictureButton::PictureButton(QWidget *parent, const QString &name, const QString &art,
                             QSize size, const QString &caption)
    : PictureButton(parent, name, Artwork::pixmap(art, size), caption)
{
}

void PictureButton::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    resize(m_picture.size());
    update();
}

QSize PictureButton::sizeHint() const { return m_picture.size(); }

void PictureButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    painter.drawPixmap(QRect(rect().topLeft() + shift, size()), m_picture);
    if (!isEnabled()) {
        painter.fillRect(rect(), QColor(255, 255, 255, 140));
    } else if (isDown()) {
        painter.fillRect(rect(), QColor(0, 0, 0, 40));
    } else if (m_hovered) {
        painter.fillRect(rect(), QColor(255, 255, 255, 35));
    }
}

void PictureButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}
