#include "common/centring.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

QRect area(const QWidget *window, Centring::On on)
{
    if (on == Centring::On::Opener) {
        if (const QWidget *parent = window->parentWidget())
            return parent->window()->frameGeometry();
    }
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// The top-left corner that puts a box of `size` in the middle of `target`.
QPoint middle(const QRect &target, QSize size)
{
    return target.topLeft() +
           QPoint((target.width() - size.width()) / 2, (target.height() - size.height()) / 2);
}

class Keeper final : public QObject
{
public:
    Keeper(QWidget *window, Centring::On on) : QObject(window), m_on(on) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous())
            Centring::centre(static_cast<QWidget *>(watched), m_on);
        return false;
    }

private:
    Centring::On m_on;
};

} // namespace

namespace Centring {

void keep(QWidget *window, On on) { window->installEventFilter(new Keeper(window, on)); }

void centre(QWidget *window, On on)
{
    const QRect target = area(window, on);
    if (target.isEmpty())
        return;
    window->move(middle(target, window->size()));
    // Once framed, move() places the frame's corner, so the frame's size decides.
    const QPointer<QWidget> shown = window;
    for (const int delay : {0, 150}) {
        QTimer::singleShot(delay, window, [shown, on] {
            if (!shown || !shown->isVisible())
                return;
            const QRect frame = shown->frameGeometry();
            const QPoint wanted = middle(area(shown, on), frame.size());
            if (frame.topLeft() != wanted)
                shown->move(wanted);
        });
    }
}

} // namespace Centring
