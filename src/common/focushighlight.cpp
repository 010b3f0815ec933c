#include "common/focushighlight.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>

FocusHighlight *FocusHighlight::attach(QWidget *field, const QString &name)
{
    return new FocusHighlight(field, name);
}

FocusHighlight::FocusHighlight(QWidget *field, const QString &name)
    : QWidget(field->parentWidget()), m_field(field)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    follow();
    stackUnder(field);
    setVisible(field->hasFocus());
    field->installEventFilter(this);
}

void FocusHighlight::follow() { setGeometry(m_field->geometry().adjusted(-4, -4, 4, 4)); }

bool FocusHighlight::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field) {
        switch (event->type()) {
        case QEvent::FocusIn:
            follow();
            show();
            break;
        case QEvent::FocusOut:
            hide();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            follow();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusHighlight::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF r = QRectF(rect());
    // Border shading from yellow at the outside to white towards the field.
    QLinearGradient border(r.topLeft(), r.bottomRight());
    border.setColorAt(0.0, QColor(255, 255, 0));
    border.setColorAt(1.0, QColor(255, 255, 255));
    painter.fillRect(r, border);
    painter.fillRect(r.adjusted(2, 2, -2, -2), QColor(255, 255, 0));
}
