#include "common/statusline.h"

#include <QEvent>

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
    setAccessibleName(QStringLiteral("Barra di stato"));
}

HoverHints::HoverHints(QLabel *statusLine) : QObject(statusLine), m_line(statusLine) {}

void HoverHints::add(QWidget *control, const QString &hint)
{
    control->setProperty("hoverHint", hint);
    control->setToolTip(hint);
    control->setAccessibleDescription(hint);
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

void HoverHints::blank(QWidget *area)
{
    area->setMouseTracking(true);
    area->installEventFilter(this);
}

bool HoverHints::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove || type == QEvent::HoverMove) {
        const QVariant hint = watched->property("hoverHint");
        const QString text = hint.isValid() ? hint.toString() : QString();
        if (m_line->text() != text)
            m_line->setText(text);
    }
    return QObject::eventFilter(watched, event);
}
