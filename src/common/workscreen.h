#pragma once

#include <QList>
#include <QWidget>

#include <utility>

class QLabel;
class QScrollArea;

// Puts a fixed-size panel into a scroll area over the window: on a display smaller than the
// panel the panel scrolls, so that every field and command can still be reached (Tab
// scrolls to the focused one); where it fits, it stays centred and no scroll bar shows.
// The caller gives the area its geometry.
QScrollArea *scrollingPanel(QWidget *window, QWidget *panel);

// A long-lived work screen: a maximised window with a centred panel that holds its
// controls. Closing it, by its exit control or the window's close box, returns to the hub.
class WorkScreen : public QWidget
{
    Q_OBJECT
public:
    WorkScreen(const QString &name, const QString &caption, QSize panelSize);
    ~WorkScreen() override;

    QWidget *panel() const { return m_panel; }
    // Adds the status line across the foot of the window.
    QLabel *addStatusLine(const QString &text);
    // Keeps controls at the panel's right edge (a command column, the navigation arrows)
    // in sight on a screen narrower than the panel: they move left with the visible part
    // of the panel over the fields, which scroll under them; a field that takes the focus
    // behind them is scrolled out from under them.
    void pinToRight(const QList<QWidget *> &controls);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Paints the window behind the panel in a blue-to-white gradient, top to bottom.
    void useGradientBackground();
    // Runs before the screen returns to the hub; the screen is still visible.
    virtual void leaving() {}

private:
    void place();
    void followScroll();
    void uncoverFocus(QWidget *focus);

    QWidget *m_panel;
    QScrollArea *m_scroll;
    QLabel *m_status = nullptr;
    QList<std::pair<QWidget *, QPoint>> m_pinned; // control, its place in the design
    int m_pinnedLeft = 0;                         // the design's left edge of the pinned group
    QMetaObject::Connection m_focusWatch;
};
