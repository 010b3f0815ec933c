#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Runs an action when a field loses the keyboard focus to another control of its window.
// Losing it because the window itself lost activation (a message box, another program)
// is not leaving the field.
class LeaveWatch final : public QObject
{
    Q_OBJECT
public:
    static void install(QWidget *field, std::function<void()> action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LeaveWatch(QObject *parent, std::function<void()> action)
        : QObject(parent), m_action(std::move(action))
    {
    }
    std::function<void()> m_action;
};
