#pragma once

#include <QObject>
#include <QWidget>

// Moves the keyboard focus to the next field of a fixed chain when Enter is pressed.
// Enter never submits anything and never reaches the field.
class EnterChain final : public QObject
{
    Q_OBJECT
public:
    explicit EnterChain(QObject *parent) : QObject(parent) {}
    // Enter in `from` moves the focus to `to`.
    void link(QWidget *from, QWidget *to);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
