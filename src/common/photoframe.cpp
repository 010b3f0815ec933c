#include "common/photoframe.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace {

// A photo frame as assistive technology sees it: a picture named as the frame, with a
// press action that does what a click does.
class AccessiblePhotoFrame final : public QAccessibleWidget
{
public:
    explicit AccessiblePhotoFrame(QWidget *frame) : QAccessibleWidget(frame, QAccessible::Graphic)
    {
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction() && widget()->isEnabled())
            static_cast<PhotoFrame *>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *photoFrameFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("PhotoFrame") && object && object->isWidgetType())
        return new AccessiblePhotoFrame(static_cast<QWidget *>(object));
    return nullptr;
}

// The factory must be in place before the first frame exists: while a screen reader
// listens, the frame's creation and naming already ask for its interface, and the one made
// then (a plain widget without the factory) is kept for the frame's whole life.
QWidget *withFactoryInstalled(QWidget *parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(photoFrameFactory);
        return true;
    }();
    Q_UNUSED(installed);
    return parent;
}

} // namespace

PhotoFrame::PhotoFrame(QWidget *parent, const QString &name, const QString &accessibleName)
    : QWidget(withFactoryInstalled(parent))
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
