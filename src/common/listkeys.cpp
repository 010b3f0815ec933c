#include "common/listkeys.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace {

// A line that has the focus but is not selected is drawn as any other line, so a line never
// looks chosen without being so.
class SelectedFocusDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!(option->state & QStyle::State_Selected))
            option->state &= ~QStyle::State_HasFocus;
    }
};

class EnterOpens final : public QObject
{
public:
    EnterOpens(QAbstractItemView *view, std::function<void()> open)
        : QObject(view), m_view(view), m_open(std::move(open))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            chooseCurrent();
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const QModelIndex current = m_view->currentIndex();
            const bool chosen = current.isValid() && m_view->selectionModel()->isSelected(current);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                // Taken here, so that the dialog's default button does not act as well.
                if (chosen && m_open)
                    m_open();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

    // A list that receives the focus selects its current line (the first one when none is
    // current yet), so the line under the focus mark is the chosen one and Enter acts at
    // once.
    void chooseCurrent()
    {
        QItemSelectionModel *selection = m_view->selectionModel();
        if (!selection || !m_view->model() || m_view->model()->rowCount() == 0)
            return;
        QModelIndex current = m_view->currentIndex();
        if (!current.isValid())
            current = m_view->model()->index(0, 0);
        if (!selection->isSelected(current))
            selection->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
    }

private:
    QAbstractItemView *m_view;
    std::function<void()> m_open;
};

} // namespace

void ListKeys::install(QAbstractItemView *view, std::function<void()> open)
{
    view->setItemDelegate(new SelectedFocusDelegate(view));
    view->installEventFilter(new EnterOpens(view, std::move(open)));
}
