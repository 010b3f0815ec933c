#include "common/statusline.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

StatusLine::StatusLine(QWidget *parent, const QString &text) : QLabel(text, parent)
{
    setObjectName(QStringLiteral("panInfo"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x1F, 0x4E, 0x8C));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setContentsMargins(8, 0, 8, 0);
    setFixedHeight(24);
    // The line's text is its accessible name, so a screen reader hears every hint and
    // notice it shows; what the line is goes into the description.
    setAccessibleDescription(QStringLiteral("Barra di stato"));
}

HoverHints::HoverHints(QLabel *statusLine) : QObject(statusLine), m_line(statusLine) {}

void HoverHints::add(QWidget *control, const QString &hint)
{
    control->setProperty("hoverHint", hint);
    control->setToolTip(hint);
    control->setAccessibleDescription(hint);
    control->setProperty("hoverWatched", true);
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

bool HoverHints::keepsHintUnder(QPoint global) const
{
    for (const QWidget *w = QApplication::widgetAt(global); w; w = w->parentWidget()) {
        if (w->property("hoverWatched").toBool() || qobject_cast<const QLineEdit *>(w))
            return true;
        if (w->isWindow())
            break;
    }
    return false;
}

void HoverHints::blank(QWidget *area)
{
    area->setProperty("hoverWatched", true);
    area->setMouseTracking(true);
    area->installEventFilter(this);
}

bool HoverHints::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    const QVariant hint = watched->property("hoverHint");
    // A control shows its hint as soon as the pointer enters it; a blank area empties the
    // line only when the pointer really moves over it, not when a window appears under it.
    const bool hinted = hint.isValid() && (type == QEvent::Enter || type == QEvent::MouseMove);
    bool blank = !hint.isValid() && type == QEvent::MouseMove;
    if (blank) {
        // A move that a child did not take reaches its parent too: only the widget really
        // under the pointer counts.
        const auto *area = static_cast<QWidget *>(watched);
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        // The bare background of a scrolling panel counts as the window's own.
        const QWidget *under = area->childAt(at);
        blank = under == nullptr || under->property("hoverBlank").toBool();
    }
    // Leaving a command for what no hint rule covers (the screen's margin around a centred
    // panel, another window, the desktop) empties the line; an edit field keeps it as it
    // is, and a watched control or area decides for itself when the pointer moves there.
    const bool left = hint.isValid() && type == QEvent::Leave &&
                      m_line->text() == hint.toString() && !keepsHintUnder(QCursor::pos());
    if (hinted || blank || left) {
        const QString text = hinted ? hint.toString() : QString();
        if (m_line->text() != text)
            m_line->setText(text);
    }
    return QObject::eventFilter(watched, event);
}
