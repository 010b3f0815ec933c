#include "common/linkbutton.h"

#include <QPainter>

LinkButton::LinkButton(QWidget *parent, const QString &name, const QString &text)
    : QAbstractButton(parent), m_colour(restColour())
{
    setObjectName(name);
    setText(text);
    setAccessibleName(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSize(14);
    f.setUnderline(true);
    setFont(f);
    connect(this, &QAbstractButton::pressed, this, [this] { setColour(heldColour()); });
    connect(this, &QAbstractButton::released, this, [this] { setColour(restColour()); });
    resize(sizeHint());
}

void LinkButton::setColour(const QColor &colour)
{
    if (m_colour == colour)
        return;
    m_colour = colour;
    update();
}

void LinkButton::tie(QAbstractButton *picture)
{
    connect(picture, &QAbstractButton::pressed, this, [this] { setColour(heldColour()); });
    connect(picture, &QAbstractButton::released, this, [this] { setColour(restColour()); });
    connect(picture, &QAbstractButton::clicked, this, [this] { Q_EMIT clicked(); });
}

QSize LinkButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(text()) + 4, metrics.height() + 4);
}

void LinkButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(m_colour);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (hasFocus()) {
        QPen dotted(m_colour, 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
