#include "app/minimising.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace {

// The windows the user sees and can minimise: the screen in use and the dialogs over it,
// not menus, tooltips or hidden screens.
bool isShownWindow(const QWidget *widget)
{
    if (!widget->isWindow() || !widget->isVisible())
        return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

// How many windows a window stands on: a dialog opened by a dialog lies above the one that
// opened it.
int windowDepth(const QWidget *window)
{
    int depth = 0;
    for (const QWidget *p = window->parentWidget(); p; p = p->parentWidget()) {
        if (p->isWindow())
            ++depth;
    }
    return depth;
}

// The shown windows from the bottom of the stack up.
QList<QWidget *> shownWindows()
{
    QList<QWidget *> windows;
    const QWidgetList all = QApplication::topLevelWidgets();
    for (QWidget *widget : all) {
        if (isShownWindow(widget))
            windows.append(widget);
    }
    std::stable_sort(windows.begin(), windows.end(), [](const QWidget *a, const QWidget *b) {
        return windowDepth(a) < windowDepth(b);
    });
    return windows;
}

class Watcher final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::WindowStateChange || m_applying || !watched->isWidgetType())
            return false;
        auto *window = static_cast<QWidget *>(watched);
        if (!isShownWindow(window) || !QApplication::activeModalWidget())
            return false;
        // The window's state as it now is decides, whatever it was before: the window
        // manager may report one change in several steps.
        const bool minimised = window->windowState() & Qt::WindowMinimized;
        m_applying = true;
        if (minimised)
            minimiseAll();
        else
            restoreAll();
        m_applying = false;
        return false;
    }

private:
    static void minimiseAll()
    {
        const QList<QWidget *> windows = shownWindows();
        for (QWidget *window : windows) {
            if (!(window->windowState() & Qt::WindowMinimized))
                window->setWindowState(window->windowState() | Qt::WindowMinimized);
        }
    }

    // Each window gets back the state it had before (a maximised screen stays maximised),
    // from the bottom up, so the dialogs come back over the screen they belong to.
    static void restoreAll()
    {
        const QList<QWidget *> windows = shownWindows();
        bool restored = false;
        for (QWidget *window : windows) {
            if (window->windowState() & Qt::WindowMinimized) {
                window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
                restored = true;
            }
        }
        if (!restored)
            return;
        if (QWidget *top = QApplication::activeModalWidget()) {
            top->raise();
            top->activateWindow();
        }
    }

    bool m_applying = false;
};

} // namespace

namespace Minimising {

void install(QObject *application) { application->installEventFilter(new Watcher(application)); }

} // namespace Minimising
