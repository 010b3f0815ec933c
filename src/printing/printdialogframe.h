#pragma once

#include <QColor>
#include <QDialog>

// The frame of the small printing screens: a fixed-size dialog without system buttons,
// centred on the screen that opened it, with a background shading from a colour at the
// top to white at the foot.
class PrintDialogFrame : public QDialog
{
    Q_OBJECT
public:
    PrintDialogFrame(QWidget *opener, const QString &name, const QString &caption, QSize size,
                     const QColor &top);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QColor m_top;
};
