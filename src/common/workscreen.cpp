#include "common/workscreen.h"

#include "common/screens.h"
#include "common/statusline.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLinearGradient>

#include "common/artwork.h"

WorkScreen::WorkScreen(const QString &name, const QString &caption, QSize panelSize)
    : QWidget(nullptr), m_panel(new QWidget(this))
{
    setObjectName(name);
    setWindowTitle(caption);
    setWindowIcon(QIcon(Artwork::pixmap(QStringLiteral("programma"), QSize(64, 64))));
    setAutoFillBackground(true);
    m_panel->setObjectName(QStringLiteral("panel"));
    m_panel->setFixedSize(panelSize);
    // Every work screen's panel stands out in the same light blue-grey.
    m_panel->setAutoFillBackground(true);
    QPalette pal = m_panel->palette();
    pal.setColor(QPalette::Window, QColor(0xF4, 0xF7, 0xFB));
    m_panel->setPalette(pal);
    resize(panelSize + QSize(40, 60));
}

QLabel *WorkScreen::addStatusLine(const QString &text)
{
    m_status = new StatusLine(this, text);
    place();
    return m_status;
}

void WorkScreen::closeEvent(QCloseEvent *event)
{
    leaving();
    event->accept();
    returnToHub(this);
}

void WorkScreen::useGradientBackground()
{
    // In object mode the gradient stretches over the whole window whatever its size.
    QLinearGradient shade(0, 0, 0, 1);
    shade.setCoordinateMode(QGradient::ObjectMode);
    shade.setColorAt(0, QColor(0x3C, 0x8D, 0xDE));
    shade.setColorAt(1, Qt::white);
    QPalette pal = palette();
    pal.setBrush(QPalette::Window, shade);
    setPalette(pal);
}

void WorkScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

void WorkScreen::place()
{
    const int statusHeight = m_status ? m_status->height() : 0;
    const int x = std::max(0, (width() - m_panel->width()) / 2);
    const int y = std::max(0, (height() - statusHeight - m_panel->height()) / 2);
    m_panel->move(x, y);
    if (m_status)
        m_status->setGeometry(0, height() - statusHeight, width(), statusHeight);
}
