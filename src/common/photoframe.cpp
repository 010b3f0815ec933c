#include "common/photoframe.h"

#include <QMouseEvent>
#include <QPainter>

PhotoFrame::PhotoFrame(QWidget *parent, const QString &name, const QString &accessibleName)
    : QWidget(parent)
{
    setObjectName(name);
    setAccessibleName(accessibleName);
}

void PhotoFrame::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_fitted = QPixmap();
    update();
}

void PhotoFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_picture.isNull()) {
        const QSize fitted = m_picture.size().scaled(size(), Qt::KeepAspectRatio);
        if (m_fitted.size() != fitted)
            m_fitted = QPixmap::fromImage(
                m_picture.scaled(fitted, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        painter.drawPixmap((width() - fitted.width()) / 2, (height() - fitted.height()) / 2,
                           m_fitted);
    }
    painter.setPen(QColor(0x9A, 0xA8, 0xB8));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PhotoFrame::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QWidget::mouseReleaseEvent(event);
}
