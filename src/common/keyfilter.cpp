#include "common/keyfilter.h"

#include <QKeyEvent>
#include <QLineEdit>

void KeyFilter::install(QLineEdit *field, Keys keys)
{
    field->installEventFilter(new KeyFilter(field, keys));
}

bool KeyFilter::isEditingKey(int key)
{
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

bool KeyFilter::accepts(Keys keys, int key, const QString &text)
{
    if (isEditingKey(key))
        return true;
    if (text.size() != 1)
        return false;
    const QChar c = text.front();
    return (c >= u'0' && c <= u'9') || (keys == Keys::Amount && c == u',');
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // A shortcut such as Ctrl+V would bring in text that was never typed.
        const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        if (shortcut || !accepts(m_keys, key->key(), key->text()))
            return true;
    } else if (event->type() == QEvent::ShortcutOverride) {
        // Keep the window's shortcuts from acting on keys the field discards.
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
