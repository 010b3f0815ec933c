#include "app/titlebar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

// _MOTIF_WM_HINTS as window managers read it: which fields are set, the functions the
// window allows, the decorations it wants.
struct MotifHints {
    quint32 flags;
    quint32 functions;
    quint32 decorations;
    qint32 inputMode;
    quint32 status;
};
constexpr quint32 kHintsFunctions = 1;
constexpr quint32 kHintsDecorations = 2;
constexpr quint32 kFunctionMove = 4;
constexpr quint32 kDecorationBorder = 2;
constexpr quint32 kDecorationTitle = 8;

bool wantsBareTitleBar(const QWidget *window)
{
    const Qt::WindowFlags flags = window->windowFlags();
    return (flags & Qt::CustomizeWindowHint) && (flags & Qt::WindowTitleHint) &&
           !(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                      Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint));
}

void allowOnlyMoving(QWidget *window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !window->windowHandle())
        return;
    xcb_connection_t *connection = x11->connection();
    static const char name[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name),
                              nullptr);
    if (!atom)
        return;
    const MotifHints hints{kHintsFunctions | kHintsDecorations, kFunctionMove,
                           kDecorationBorder | kDecorationTitle, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window->winId()), atom->atom, atom->atom, 32,
                        sizeof(hints) / 4, &hints);
    std::free(atom);
    xcb_flush(connection);
}

class Watcher final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Show reaches a window after its native window exists and before it is mapped,
        // so the window manager reads the hints when it frames the window.
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            if (widget->isWindow() && wantsBareTitleBar(widget))
                allowOnlyMoving(widget);
        }
        return false;
    }
};

} // namespace

namespace TitleBar {

void install(QObject *application)
{
    if (QGuiApplication::platformName() != u"xcb")
        return;
    application->installEventFilter(new Watcher(application));
}

} // namespace TitleBar
