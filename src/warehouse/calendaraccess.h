#pragma once

#include <QString>

class QCalendarWidget;

// The day grid of a calendar as a screen reader meets it: each day cell is named by its
// full date ("19 dicembre 2026"), not by the bare day number the grid shows, so a day of
// the month before or after is told from one of the month shown.
namespace CalendarAccess {

// Makes the day grid of every calendar created from now on read this way. Call it before
// the calendar exists: an interface asked for while it is being built is kept.
void prepare();

// The full date of the grid's cell at that row and column of its model, empty for the
// header row and the week numbers.
QString cellName(const QCalendarWidget *calendar, int row, int column);

} // namespace CalendarAccess
