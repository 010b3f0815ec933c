#include "common/leavewatch.h"

#include <QFocusEvent>
#include <QWidget>

void LeaveWatch::install(QWidget *field, std::function<void()> action)
{
    field->installEventFilter(new LeaveWatch(field, std::move(action)));
}

bool LeaveWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_action();
    }
    return QObject::eventFilter(watched, event);
}
