#pragma once

#include <QWidget>

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

    QWidget *panel() const { return m_panel; }
    // Adds the status line across the foot of the window.
    QLabel *addStatusLine(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Paints the window behind the panel in a blue-to-white gradient, top to bottom.
    void useGradientBackground();
    // Runs before the screen returns to the hub; the screen is still visible.
    virtual void leaving() {}

private:
    void place();

    QWidget *m_panel;
    QScrollArea *m_scroll;
    QLabel *m_status = nullptr;
};
