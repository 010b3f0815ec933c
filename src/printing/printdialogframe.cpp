#include "printing/printdialogframe.h"

#include <QLinearGradient>
#include <QPainter>

PrintDialogFrame::PrintDialogFrame(QWidget *opener, const QString &name, const QString &caption,
                                   QSize size, const QColor &top)
    : QDialog(opener, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_top(top)
{
    setObjectName(name);
    setWindowTitle(caption);
    setFixedSize(size);
    setModal(true);
}

void PrintDialogFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient shade(0, 0, 0, height());
    shade.setColorAt(0, m_top);
    shade.setColorAt(1, Qt::white);
    painter.fillRect(rect(), shade);
}

void PrintDialogFrame::showEvent(QShowEvent *event)
{
    if (QWidget *opener = parentWidget()) {
        const QPoint centre = opener->mapToGlobal(opener->rect().center());
        move(centre - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}
