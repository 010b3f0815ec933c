#include "printing/reportwindow.h"

#include "common/dialogs.h"
#include "printing/report.h"
#include "printing/reportpreview.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>

namespace {

QString &pdfForTests()
{
    static QString path;
    return path;
}

// Paints the pages the printer asks for: every page, or the range chosen in the print
// dialog. Copies are the print system's business. The printer works on the full page,
// so the design's own margins are the only ones.
bool paintOn(const TReport &report, QPrinter &printer)
{
    printer.setFullPage(true);
    int first = 0;
    int last = -1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        last = printer.toPage() - 1;
    }
    return report.paintTo(printer, first, last) && printer.printerState() != QPrinter::Error;
}

} // namespace

namespace ReportWindow {

void setUp(QPrinter &printer, const TReport &report)
{
    printer.setDocName(report.DocumentName);
    printer.setCopyCount(1);
    printer.setPrintRange(QPrinter::AllPages);
    const TReportPage &page = *report.Pages(1);
    printer.setPageSize(QPageSize(page.PaperUprightMm, QPageSize::Millimeter));
    printer.setPageOrientation(page.Orientation == poPortrait ? QPageLayout::Portrait
                                                              : QPageLayout::Landscape);
    const int pages = static_cast<int>(report.preparedPages().size());
    printer.setFromTo(1, std::max(1, pages));
}

void ShowReport(TReport &report, QWidget *parent)
{
    if (!pdfForTests().isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        setUp(printer, report);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfForTests());
        paintOn(report, printer);
        return;
    }
    ReportPreview preview(report, parent);
    // Maximised; the whole work area as well, for desktops that ignore the state.
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        preview.setGeometry(screen->availableGeometry());
    preview.setWindowState(Qt::WindowMaximized);
    preview.exec();
}

bool Print(TReport &report, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, report);
    if (!Dialogs::seam().print(parent, printer))
        return false;
    if (!pdfForTests().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfForTests());
    }
    // A printer that cannot be reached, or a chosen output file that cannot be written,
    // fails the print: the user is told rather than left waiting for a sheet.
    if (!paintOn(report, printer)) {
        Dialogs::error(parent, printFailedMessage());
        return false;
    }
    return true;
}

QString printFailedMessage()
{
    return QStringLiteral("Attenzione: la stampa non è riuscita.\n\r\n\rControllare la stampante "
                          "scelta e riprovare.");
}

void setPdfForTests(const QString &path) { pdfForTests() = path; }

} // namespace ReportWindow
