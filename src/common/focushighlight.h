#pragma once

#include <QWidget>

// The yellow rectangle behind an edit field, 4 pixels larger on every side, shown only
// while the field has the keyboard focus.
class FocusHighlight final : public QWidget
{
    Q_OBJECT
public:
    // Creates the highlight as a sibling of the field, stacked under it.
    static FocusHighlight *attach(QWidget *field, const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FocusHighlight(QWidget *field, const QString &name);
    void follow();

    QWidget *m_field;
};
