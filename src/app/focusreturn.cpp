#include "app/focusreturn.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

bool isShownTopLevel(const QWidget *widget)
{
    if (!widget->isWindow() || !widget->isVisible() || widget->isMinimized())
        return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

// The window the user works in once a dialog is gone: the innermost modal window still
// shown, otherwise the shown screen (only one long-lived screen is visible at a time).
QWidget *windowOnTop()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    const QWidgetList all = QApplication::topLevelWidgets();
    for (QWidget *widget : all) {
        if (isShownTopLevel(widget))
            return widget;
    }
    return nullptr;
}

class Watcher final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Hide || !watched->isWidgetType())
            return false;
        auto *window = static_cast<QWidget *>(watched);
        if (!window->isWindow() || event->spontaneous())
            return false;
        const Qt::WindowType type = window->windowType();
        if (type != Qt::Window && type != Qt::Dialog)
            return false;
        // Only a window that held the keyboard hands it on; a screen hidden by its own
        // command while another window takes over is left to that window.
        if (QApplication::activeWindow() != window && !window->isModal())
            return false;
        // The window manager gets a moment to activate the next window itself; then the
        // check runs once more for managers that answer slowly.
        for (const int delay : {60, 400})
            QTimer::singleShot(delay, this, &Watcher::restore);
        return false;
    }

private:
    static void restore()
    {
        QWidget *active = QApplication::activeWindow();
        QWidget *top = windowOnTop();
        if (!top || (active && active->isVisible()))
            return;
        top->raise();
        top->activateWindow();
        QApplication::setActiveWindow(top);
        if (QWidget *focus = top->focusWidget())
            focus->setFocus(Qt::ActiveWindowFocusReason);
    }
};

} // namespace

namespace FocusReturn {

void install(QObject *application) { application->installEventFilter(new Watcher(application)); }

} // namespace FocusReturn
