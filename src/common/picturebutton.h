#pragma once

#include <QAbstractButton>
#include <QPixmap>

class QKeySequence;

// A clickable picture: it paints its own artwork, shows the hand cursor and never takes
// the keyboard focus, so clicking it leaves the focused field where it is. A command with
// no key of its own, on a screen without edit fields, may instead be reached with Tab
// (setFocusable): it then shows a focus mark and Space or Enter presses it.
class PictureButton final : public QAbstractButton
{
    Q_OBJECT
public:
    // name: object name; art: artwork name; caption: what a screen reader calls it.
    PictureButton(QWidget *parent, const QString &name, const QString &art, QSize size,
                  const QString &caption);
    PictureButton(QWidget *parent, const QString &name, const QPixmap &picture,
                  const QString &caption);

    // The key that gives the command from anywhere in the window, whatever field has the
    // focus; assistive technology reads it as the button's keyboard shortcut.
    void setKey(const QKeySequence &key);
    // Tab and Shift+Tab reach the picture; a click still never takes the focus.
    void setFocusable(bool focusable);

    void setPicture(const QPixmap &picture);
    QPixmap picture() const { return m_picture; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPixmap m_picture;
    bool m_hovered = false;
};

// Lets the window's command keys through to their shortcuts before the focused field, or
// its key filter, sees them: a field that takes Ctrl+End or Page Down for itself, or a
// number field that discards every key it cannot type, would otherwise swallow them.
namespace CommandKeys {
// Installed once for the application; every window's buttons and QShortcuts count.
void guard();
// Gives a button of any kind its command key, with the guard in place.
void assign(QAbstractButton *button, const QKeySequence &key);
} // namespace CommandKeys
