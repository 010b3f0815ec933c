#pragma once

#include <QStringList>

class TReport;

// Fills the list report for printing: the title, the list lines unchanged and in order,
// and the heights of the data box and of its band from the number of lines.
namespace ListReport {

void fill(TReport &report, const QString &title, const QStringList &lines);

} // namespace ListReport
