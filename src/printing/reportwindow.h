#pragma once

class QPrinter;
class QString;
class QWidget;
class TReport;

// Shows and prints prepared reports: the thin screens over the report engine.
namespace ReportWindow {

// Shows the prepared pages in the print preview, modal and maximised at 100 %; the user
// can zoom, switch to full screen and back, print from it and close it.
void ShowReport(TReport &report, QWidget *parent);

// Prints the prepared pages after the print dialog (default printer, one copy, every
// page); false when the user cancelled it, and then nothing is printed. A print that
// fails shows printFailedMessage() as an error and is false too.
bool Print(TReport &report, QWidget *parent);
QString printFailedMessage();

// Sets up a printer for a report: its document name, paper and orientation, one copy.
void setUp(QPrinter &printer, const TReport &report);

// For tests: previews and prints go into this PDF file instead of the preview window and
// the chosen printer (the print dialog is still asked before a print). An empty path
// restores them.
void setPdfForTests(const QString &path);

} // namespace ReportWindow
