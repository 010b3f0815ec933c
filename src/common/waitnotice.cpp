#include "common/waitnotice.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPointer>

namespace {

// Hides the notice before the button sees the release, so a release inside the button
// hides it too, just before the click shows it again.
class ReleaseWatch final : public QObject
{
public:
    ReleaseWatch(QAbstractButton *button, QWidget *notice) : QObject(button), m_notice(notice) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease && m_notice)
            m_notice->hide();
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> m_notice;
};

} // namespace

namespace WaitNotice {

void hideOnRelease(QAbstractButton *button, QWidget *notice)
{
    button->installEventFilter(new ReleaseWatch(button, notice));
    // Dragged off the button, or a key let go: the button says it is released.
    QObject::connect(button, &QAbstractButton::released, notice, &QWidget::hide);
}

} // namespace WaitNotice
