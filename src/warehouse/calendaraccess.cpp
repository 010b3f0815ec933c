#include "warehouse/calendaraccess.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCalendarWidget>
#include <QDate>
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLocale>
#include <QPointer>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

const QLatin1StringView kDaysName("qt_calendar_calendarview");

QTableView *daysOf(const QCalendarWidget *calendar)
{
    return calendar ? calendar->findChild<QTableView *>(kDaysName) : nullptr;
}

// The model's first row and column of days: a row of day names and a column of week
// numbers come before them when the calendar shows them.
int firstDayRow(const QCalendarWidget *calendar)
{
    return calendar->horizontalHeaderFormat() == QCalendarWidget::NoHorizontalHeader ? 0 : 1;
}

int firstDayColumn(const QCalendarWidget *calendar)
{
    return calendar->verticalHeaderFormat() == QCalendarWidget::ISOWeekNumbers ? 1 : 0;
}

// The date of a day cell. The grid shows the days of the month on show, led by the last
// days of the month before and followed by the first of the month after; each day 1 met
// in reading order starts the next month.
QDate cellDate(const QCalendarWidget *calendar, const QTableView *days, int row, int column)
{
    const QAbstractItemModel *model = days->model();
    const int top = firstDayRow(calendar);
    const int left = firstDayColumn(calendar);
    if (row < top || column < left || row >= model->rowCount() || column >= model->columnCount())
        return {};
    const QDate shown(calendar->yearShown(), calendar->monthShown(), 1);
    int monthOffset = 0;
    bool first = true;
    for (int r = top; r < model->rowCount(); ++r) {
        for (int c = left; c < model->columnCount(); ++c) {
            const int day = model->index(r, c).data(Qt::DisplayRole).toInt();
            if (first)
                monthOffset = day == 1 ? 0 : -1;
            else if (day == 1)
                ++monthOffset;
            first = false;
            if (r == row && c == column) {
                // A day outside the calendar's range shows no number.
                if (day <= 0)
                    return {};
                const QDate month = shown.addMonths(monthOffset);
                return QDate(month.year(), month.month(), day);
            }
        }
    }
    return {};
}

QCalendarWidget *calendarOf(const QTableView *days)
{
    return days ? qobject_cast<QCalendarWidget *>(days->parentWidget()) : nullptr;
}

class CalendarDays;

// One cell of the grid: a day, a day name of the header row or a week number; or one of
// the hidden header slots the view counts in the numbering of its cells.
class DayCell final : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    DayCell(QTableView *days, int row, int column) : m_days(days), m_row(row), m_column(column) {}

    bool isValid() const override { return m_days && m_days->model(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_days ? m_days->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_days.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!inModel())
            return {};
        if (t == QAccessible::Name) {
            const QString date = CalendarAccess::cellName(calendarOf(m_days), m_row, m_column);
            return date.isEmpty() ? index().data(Qt::DisplayRole).toString() : date;
        }
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!inModel())
            return {};
        const QRect local = m_days->visualRect(index());
        return QRect(m_days->viewport()->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::Role role() const override
    {
        // The view's own header row and column, hidden, come before the model's.
        if (m_row < 0)
            return QAccessible::ColumnHeader;
        if (m_column < 0)
            return QAccessible::RowHeader;
        const QCalendarWidget *calendar = calendarOf(m_days);
        if (calendar && m_row < firstDayRow(calendar))
            return QAccessible::ColumnHeader;
        if (calendar && m_column < firstDayColumn(calendar))
            return QAccessible::RowHeader;
        return QAccessible::Cell;
    }

    QAccessible::State state() const override
    {
        QAccessible::State st;
        if (!isValid()) {
            st.invalid = true;
            return st;
        }
        if (!inModel() || !m_days->isVisible())
            st.invisible = true;
        if (role() != QAccessible::Cell)
            return st;
        st.selectable = true;
        st.focusable = true;
        st.selected = isSelected();
        st.focused = m_days->hasFocus() && m_days->currentIndex() == index();
        return st;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface *>(this);
        return nullptr;
    }

    bool isSelected() const override
    {
        return inModel() && m_days->selectionModel() &&
               m_days->selectionModel()->isSelected(index());
    }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    bool inModel() const
    {
        return isValid() && m_row >= 0 && m_column >= 0 && m_row < m_days->model()->rowCount() &&
               m_column < m_days->model()->columnCount();
    }
    QModelIndex index() const { return m_days->model()->index(m_row, m_column); }

    QPointer<QTableView> m_days;
    int m_row;
    int m_column;
};

// The grid as a table of its model's cells. Its children are numbered as the view numbers
// them in its focus events: row by row, its hidden header row and column counted, so the
// cell a focus event names is the one that took the focus.
class CalendarDays final : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit CalendarDays(QTableView *days) : QAccessibleWidget(days, QAccessible::Table) {}

    ~CalendarDays() override
    {
        for (const QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
    }

    QTableView *days() const { return static_cast<QTableView *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return slotRows() * slotColumns(); }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        const int row = index / slotColumns() - headerRows();
        const int column = index % slotColumns() - headerColumns();
        // A slot of the hidden header row or column: a cell outside the model, invisible.
        return cell(row, column, index);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        // The cell interface is asked for through a non-const call; it changes nothing.
        QAccessibleTableCellInterface *c =
            child ? const_cast<QAccessibleInterface *>(child)->tableCellInterface() : nullptr;
        if (!c || c->table() != this)
            return -1;
        return slotIndex(c->rowIndex(), c->columnIndex());
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint local = days()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex at = days()->indexAt(local);
        return at.isValid() ? cellAt(at.row(), at.column()) : nullptr;
    }

    QAccessibleInterface *focusChild() const override
    {
        const QModelIndex current = days()->currentIndex();
        if (!days()->hasFocus() || !current.isValid())
            return nullptr;
        return cellAt(current.row(), current.column());
    }

    // The table.
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
            return nullptr;
        return cell(row, column, slotIndex(row, column));
    }
    int columnCount() const override { return model() ? model()->columnCount() : 0; }
    int rowCount() const override { return model() ? model()->rowCount() : 0; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedCellCount() const override { return int(selectedIndexes().size()); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> cells;
        for (const QModelIndex &index : selectedIndexes())
            cells.append(cellAt(index.row(), index.column()));
        return cells;
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // The cells read the model when asked, so a new month needs nothing here.
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

private:
    const QAbstractItemModel *model() const { return days()->model(); }
    QModelIndexList selectedIndexes() const
    {
        return days()->selectionModel() ? days()->selectionModel()->selectedIndexes()
                                        : QModelIndexList();
    }
    int headerRows() const { return days()->horizontalHeader() ? 1 : 0; }
    int headerColumns() const { return days()->verticalHeader() ? 1 : 0; }
    int slotColumns() const { return columnCount() + headerColumns(); }
    int slotRows() const { return rowCount() + headerRows(); }
    int slotIndex(int row, int column) const
    {
        return (row + headerRows()) * slotColumns() + column + headerColumns();
    }

    QAccessibleInterface *cell(int row, int column, int index) const
    {
        if (const auto found = m_cells.constFind(index); found != m_cells.cend())
            return QAccessible::accessibleInterface(*found);
        auto *made = new DayCell(days(), row, column);
        m_cells.insert(index, QAccessible::registerAccessibleInterface(made));
        return made;
    }

    mutable QHash<int, QAccessible::Id> m_cells;
};

QAccessibleInterface *calendarDaysFactory(const QString &className, QObject *object)
{
    // The calendar's own grid class; it is named only once the calendar is built, and an
    // interface may be asked for before.
    if (className != QLatin1StringView("QCalendarView"))
        return nullptr;
    auto *days = qobject_cast<QTableView *>(object);
    return calendarOf(days) ? new CalendarDays(days) : nullptr;
}

} // namespace

namespace CalendarAccess {

void prepare()
{
    static const bool installed = [] {
        QAccessible::installFactory(calendarDaysFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString cellName(const QCalendarWidget *calendar, int row, int column)
{
    const QTableView *days = daysOf(calendar);
    if (!days || !days->model())
        return {};
    const QDate date = cellDate(calendar, days, row, column);
    if (!date.isValid())
        return {};
    // The program's texts are Italian whatever the system's language.
    return QLocale(QLocale::Italian, QLocale::Italy).toString(date, u"d MMMM yyyy"_s);
}

} // namespace CalendarAccess
