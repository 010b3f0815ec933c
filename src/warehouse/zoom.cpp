#include "warehouse/zoom.h"

#include "common/photoframe.h"

#include <QMouseEvent>
#include <QScreen>

using namespace Qt::StringLiterals;

TfrmZoom::TfrmZoom(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"TfrmZoom"_s);
    setWindowTitle(u" Fai clic sulla foto per chiudere questa finestra"_s);
    // Maximised; the geometry covers the screen also where no window manager maximises.
    setGeometry((parent ? parent->screen() : screen())->availableGeometry());
    setWindowState(Qt::WindowMaximized);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x1F, 0x4E, 0x8C));
    setPalette(pal);

    panel = new QWidget(this);
    panel->setObjectName(u"panel"_s);
    panel->setCursor(Qt::PointingHandCursor);
    panel->installEventFilter(this);
    imgFoto = new PhotoFrame(panel, u"imgFoto"_s, u"Foto del prodotto"_s);
    imgFoto->setCursor(Qt::PointingHandCursor);
    imgFoto->setToolTip(u"Fai clic sulla foto per chiudere questa finestra."_s);
    imgFoto->setAccessibleDescription(imgFoto->toolTip());
    connect(imgFoto, &PhotoFrame::clicked, this, &TfrmZoom::imgFotoClick);
}

void TfrmZoom::showEvent(QShowEvent *event)
{
    // The panel and the picture take the screen less a margin, whatever the window's size.
    const QSize screenSize = screen()->size();
    panel->resize(screenSize.width() - 60, screenSize.height() - 90);
    imgFoto->setGeometry(panel->rect());
    place();
    QDialog::showEvent(event);
}

void TfrmZoom::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    place();
}

void TfrmZoom::place()
{
    panel->move((width() - panel->width()) / 2, (height() - panel->height()) / 2);
}

bool TfrmZoom::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panel && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        imgFotoClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmZoom::imgFotoClick() { accept(); }
