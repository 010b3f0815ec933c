#include "app/buttonkeys.h"

#include "common/picturebutton.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace {

bool isEnter(const QKeyEvent *key)
{
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Push buttons, and pictures that take the focus; check boxes and radio buttons keep Enter
// for their screen.
QAbstractButton *focusedButton(QObject *watched)
{
    QAbstractButton *button = qobject_cast<QPushButton *>(watched);
    if (!button)
        button = qobject_cast<PictureButton *>(watched);
    if (!button || !button->hasFocus() || !button->isEnabled() || !button->isVisible())
        return nullptr;
    return button;
}

class Watcher final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
            return false;
        if (!isEnter(static_cast<QKeyEvent *>(event)))
            return false;
        QAbstractButton *button = focusedButton(watched);
        if (!button)
            return false;
        // Accepting the override keeps Enter from the window's shortcuts; the key press
        // then comes here and presses the button.
        event->accept();
        if (type == QEvent::KeyPress && !static_cast<QKeyEvent *>(event)->isAutoRepeat())
            button->click();
        return true;
    }
};

} // namespace

namespace ButtonKeys {

void install(QObject *application) { application->installEventFilter(new Watcher(application)); }

} // namespace ButtonKeys
