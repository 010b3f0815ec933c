#include "common/workscreen.h"

#include "common/artwork.h"
#include "common/screens.h"
#include "common/statusline.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QLinearGradient>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

WorkScreen::WorkScreen(const QString &name, const QString &caption, QSize panelSize)
    : QWidget(nullptr), m_panel(new QWidget(this))
{
    setObjectName(name);
    setWindowTitle(caption);
    setWindowIcon(Artwork::programIcon());
    setAutoFillBackground(true);
    m_panel->setObjectName(QStringLiteral("panel"));
    m_panel->setFixedSize(panelSize);
    // Every work screen's panel stands out in the same light blue-grey.
    m_panel->setAutoFillBackground(true);
    QPalette pal = m_panel->palette();
    pal.setColor(QPalette::Window, QColor(0xF4, 0xF7, 0xFB));
    m_panel->setPalette(pal);
    m_scroll = scrollingPanel(this, m_panel);
    resize(panelSize + QSize(40, 60));
}

QScrollArea *scrollingPanel(QWidget *window, QWidget *panel)
{
    auto *scroll = new QScrollArea(window);
    scroll->setObjectName(QStringLiteral("scrPanel"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setWidget(panel);
    // The window's own background shows around the panel.
    scroll->viewport()->setAutoFillBackground(false);
    // Moving over the bare window around the panel empties the status line, as before.
    scroll->viewport()->setMouseTracking(true);
    scroll->viewport()->setProperty("hoverBlank", true);
    return scroll;
}

// The screen's controls are deleted after this, and the focus moves as they go: by then
// the screen is no longer one to act on.
WorkScreen::~WorkScreen() { disconnect(m_focusWatch); }

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
    m_scroll->setGeometry(0, 0, width(), height() - statusHeight);
    if (m_status)
        m_status->setGeometry(0, height() - statusHeight, width(), statusHeight);
    followScroll();
}

void WorkScreen::pinToRight(const QList<QWidget *> &controls)
{
    if (m_pinned.isEmpty()) {
        connect(m_scroll->horizontalScrollBar(), &QScrollBar::valueChanged, this,
                &WorkScreen::followScroll);
        connect(m_scroll->horizontalScrollBar(), &QScrollBar::rangeChanged, this,
                &WorkScreen::followScroll);
        m_focusWatch = connect(qApp, &QApplication::focusChanged, this,
                               [this](QWidget *, QWidget *now) { uncoverFocus(now); });
    }
    m_pinnedLeft = m_panel->width();
    for (QWidget *control : controls) {
        m_pinned.append({control, control->pos()});
        m_pinnedLeft = std::min(m_pinnedLeft, control->x());
        control->raise();
    }
    followScroll();
}

// How far the panel's right edge lies beyond the visible part of the window.
static int hiddenOnTheRight(const QScrollArea *scroll, const QWidget *panel)
{
    const int seen = scroll->horizontalScrollBar()->value() + scroll->viewport()->width();
    return std::max(0, panel->width() - seen);
}

void WorkScreen::followScroll()
{
    const int shift = hiddenOnTheRight(m_scroll, m_panel);
    for (const auto &[control, at] : std::as_const(m_pinned))
        control->move(at.x() - shift, at.y());
}

void WorkScreen::uncoverFocus(QWidget *focus)
{
    if (m_pinned.isEmpty() || !focus || !m_panel->isAncestorOf(focus))
        return;
    for (const auto &pinned : std::as_const(m_pinned)) {
        if (pinned.first == focus || pinned.first->isAncestorOf(focus))
            return;
    }
    const QRect box(focus->mapTo(m_panel, QPoint(0, 0)), focus->size());
    const int pinnedLeft = m_pinnedLeft - hiddenOnTheRight(m_scroll, m_panel);
    const int gap = 6;
    if (box.right() + gap <= pinnedLeft)
        return;
    // Scrolling right by d moves the pinned group right by d as well (it lags the panel's
    // hidden part), so the field comes out once the hidden part shrinks enough.
    QScrollBar *bar = m_scroll->horizontalScrollBar();
    bar->setValue(bar->value() + box.right() + gap - pinnedLeft);
}
