#include "printing/reportwindow.h"

#include "common/dialogs.h"
#include "common/durablefile.h"
#include "printing/report.h"
#include "printing/reportpreview.h"

#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryDir>

#include <utility>

namespace {

QString &pdfForTests()
{
    static QString path;
    return path;
}

// The pages the print dialog chose, from 0: every page, or the range typed there.
std::pair<int, int> chosenPages(const QPrinter &printer)
{
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
        return {printer.fromPage() - 1, printer.toPage() - 1};
    return {0, -1};
}

// Prints to a PDF file. Qt's own file output does not notice a failed write: on a full
// disk it leaves a cut-off document that looks done, in place of any earlier file of that
// name. So the printer writes a draft in the temporary folder; a draft that does not end
// as every whole document ends is a failed print, and a whole one is written to the chosen
// name in one piece, which a failure leaves as it was.
bool printToFile(const TReport &report, QPrinter &printer)
{
    const QString target = printer.outputFileName();
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        return false;
    const QString draft = scratch.filePath(QStringLiteral("stampa.pdf"));
    printer.setOutputFileName(draft);
    const auto [first, last] = chosenPages(printer);
    const bool painted = report.paintTo(printer, first, last);
    printer.setOutputFileName(target);
    if (!painted)
        return false;
    QFile file(draft);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray document = file.readAll();
    if (!document.endsWith("%%EOF\n"))
        return false;
    return DurableFile::writeWhole(target, document);
}

// Paints the chosen pages on the printer. Copies are the print system's business. The
// printer works on the full page, so the design's own margins are the only ones.
bool paintOn(const TReport &report, QPrinter &printer)
{
    printer.setFullPage(true);
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return printToFile(report, printer);
    const auto [first, last] = chosenPages(printer);
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
