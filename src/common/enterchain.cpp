#include "common/enterchain.h"

#include <QKeyEvent>

void EnterChain::link(QWidget *from, QWidget *to)
{
    from->setProperty("enterNext", QVariant::fromValue(static_cast<QObject *>(to)));
    from->installEventFilter(this);
}

bool EnterChain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            auto *next = qobject_cast<QWidget *>(watched->property("enterNext").value<QObject *>());
            // As with Tab, the field reached holds its text selected, so what the user types
            // replaces it: a cost showing "0,00" takes a typed 4,20 as 4,20.
            if (next)
                next->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
