#pragma once

#include <QLabel>

// The status line at the foot of a work screen: one line of white text on a blue bar,
// used for hover hints.
class StatusLine final : public QLabel
{
    Q_OBJECT
public:
    StatusLine(QWidget *parent, const QString &text);
};

// Writes a control's hint into a status line while the pointer moves over it, and
// empties the line when the pointer leaves it or moves over a blank part of the screen.
class HoverHints final : public QObject
{
    Q_OBJECT
public:
    explicit HoverHints(QLabel *statusLine);

    // The control's hint; it also becomes its tooltip and accessible description.
    void add(QWidget *control, const QString &hint);
    // A background, panel, label or picture: moving over it empties the status line.
    void blank(QWidget *area);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Whether what lies under the pointer keeps the line or rules on it itself.
    bool keepsHintUnder(QPoint global) const;

    QLabel *m_line;
};
