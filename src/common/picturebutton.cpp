#include "common/picturebutton.h"

#include "common/artwork.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>
#include <QPointer>
#include <QShortcut>

PictureButton::PictureButton(QWidget *parent, const QString &name, const QPixmap &picture,
                             const QString &caption)
    : QAbstractButton(parent)
{
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setText(caption);
    setAccessibleName(caption);
    setPicture(picture);
}

PictureButton::PictureButton(QWidget *parent, const QString &name, const QString &art, QSize size,
                             const QString &caption)
    : PictureButton(parent, name, Artwork::pixmap(art, size), caption)
{
}

void PictureButton::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    resize(m_picture.size());
    update();
}

QSize PictureButton::sizeHint() const { return m_picture.size(); }

void PictureButton::setFocusable(bool focusable)
{
    setFocusPolicy(focusable ? Qt::TabFocus : Qt::NoFocus);
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    painter.drawPixmap(QRect(rect().topLeft() + shift, size()), m_picture);
    if (!isEnabled()) {
        painter.fillRect(rect(), QColor(255, 255, 255, 140));
    } else if (isDown()) {
        painter.fillRect(rect(), QColor(0, 0, 0, 40));
    } else if (m_hovered) {
        painter.fillRect(rect(), QColor(255, 255, 255, 35));
    }
    if (hasFocus()) {
        // A two-tone frame, dark outside and yellow inside, shows on light and dark
        // artwork alike.
        painter.setPen(QPen(QColor(0x10, 0x2A, 0x5C), 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
        painter.setPen(QPen(QColor(0xFF, 0xD7, 0x00), 2));
        painter.drawRect(QRectF(rect()).adjusted(3, 3, -3, -3));
    }
}

void PictureButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void PictureButton::setKey(const QKeySequence &key) { CommandKeys::assign(this, key); }

namespace {

class CommandKeyGuard final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
            return QObject::eventFilter(watched, event);
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(
            QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        auto *focus = static_cast<QWidget *>(watched);
        if (!isCommandKey(focus, pressed))
            return QObject::eventFilter(watched, event);
        // Left unaccepted, the key goes to the window's shortcut; returning true keeps it
        // from the field and from every filter installed on it.
        event->ignore();
        return true;
    }

private:
    static bool isCommandKey(QWidget *focus, const QKeySequence &pressed)
    {
        QWidget *window = focus->window();
        const auto buttons = window->findChildren<QAbstractButton *>();
        for (const QAbstractButton *button : buttons) {
            if (button->shortcut() == pressed && button->isEnabled())
                return true;
        }
        const auto shortcuts = window->findChildren<QShortcut *>();
        for (const QShortcut *shortcut : shortcuts) {
            if (!shortcut->isEnabled() || !shortcut->keys().contains(pressed))
                continue;
            auto *owner = qobject_cast<QWidget *>(shortcut->parent());
            if (shortcut->context() != Qt::WidgetWithChildrenShortcut ||
                (owner && owner->isAncestorOf(focus)))
                return true;
        }
        return false;
    }
};

} // namespace

void CommandKeys::guard()
{
    static QPointer<CommandKeyGuard> installed;
    if (installed || !qApp)
        return;
    installed = new CommandKeyGuard(qApp);
    qApp->installEventFilter(installed);
}

void CommandKeys::assign(QAbstractButton *button, const QKeySequence &key)
{
    button->setShortcut(key);
    guard();
}
