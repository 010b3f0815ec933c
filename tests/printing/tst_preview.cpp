#include "printing/cardsheet.h"
#include "printing/designs.h"
#include "printing/listreport.h"
#include "printing/report.h"
#include "printing/reportpreview.h"
#include "printing/reportwindow.h"
#include "sheets.h"
#include "support/recorder.h"
#include "support/testmain.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<TReport> cardSheet()
{
    CardSheetData card;
    card.codice = u"A1"_s;
    card.costo = u"2,00"_s;
    card.giacenza = u"3"_s;
    card.nome = u"Vite M4"_s;
    std::unique_ptr<TReport> sheet = CardSheet::build(card, false, QDateTime::currentDateTime());
    sheet->PrepareReport(true);
    return sheet;
}

// A list report long enough for two sheets.
std::unique_ptr<TReport> twoPageList()
{
    std::unique_ptr<TReport> report = ReportDesigns::repRiepilogo();
    QStringList lines;
    for (int i = 0; i < 60; ++i)
        lines.append(u"Riga %1"_s.arg(i));
    ListReport::fill(*report, u"Riepilogo"_s, lines);
    report->PrepareReport(true);
    return report;
}

QStringList texts(const QList<QAction *> &actions)
{
    QStringList out;
    for (QAction *action : actions)
        out.append(action->text().remove(u'&'));
    return out;
}

// The names a screen reader gives the buttons the user can see.
QStringList visibleButtons(QWidget *window)
{
    QStringList out;
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->isVisible())
            out.append(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name));
    }
    return out;
}

void click(QAction *action)
{
    for (QObject *shown : action->associatedObjects()) {
        if (auto *button = qobject_cast<QToolButton *>(shown))
            return QTest::mouseClick(button, Qt::LeftButton);
    }
    QFAIL("no button for the command");
}

// Shown and active, so that its keys reach it.
bool showActive(ReportPreview &preview)
{
    preview.resize(1000, 800);
    preview.show();
    preview.activateWindow();
    return QTest::qWaitForWindowActive(&preview);
}

// Where the first page lies inside the view of the pages.
QRect firstPage(ReportPreview &preview)
{
    QWidget *pages = preview.panPagine->widget();
    const QImage shot = pages->grab().toImage();
    QRect found;
    for (int y = 0; y < shot.height() && found.isNull(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixelColor(x, y) == Qt::white) {
                int right = x;
                while (right + 1 < shot.width() &&
                       shot.pixelColor(right + 1, y) != QColor(0x80, 0x80, 0x80))
                    ++right;
                found = QRect(QPoint(x, y), QPoint(right, y));
                break;
            }
        }
    }
    return found;
}

} // namespace

// The print preview: its commands, zoom, full screen, the page arrows, printing from it,
// and the window the printing screens show.
class Preview final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void exactlyTheCommands_data();
    void exactlyTheCommands();
    void zoomChoices();
    void fullScreenAndBack();
    void pageArrows();
    void printFromThePreview();
    void showReportIsModalMaximised_data();
    void showReportIsModalMaximised();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

void Preview::init() { m_folder = std::make_unique<TempProgramFolder>(); }

void Preview::cleanup()
{
    ReportWindow::setPdfForTests({});
    m_folder.reset();
}

void Preview::exactlyTheCommands_data()
{
    QTest::addColumn<bool>("twoPages");
    QTest::addColumn<QStringList>("commands");
    const QStringList common = {u"Stampa"_s, u"Zoom"_s, u"Schermo intero"_s};
    QTest::newRow("card sheet, one page") << false << common + QStringList{u"Chiudi"_s};
    QTest::newRow("list report, two pages")
        << true
        << common + QStringList{u"Pagina precedente"_s, u"Pagina successiva"_s, u"Chiudi"_s};
}

// Exactly the promised commands, each a named button: no page set-up, no orientation.
void Preview::exactlyTheCommands()
{
    QFETCH(bool, twoPages);
    QFETCH(QStringList, commands);
    const std::unique_ptr<TReport> report = twoPages ? twoPageList() : cardSheet();
    ReportPreview preview(*report, nullptr);
    preview.resize(1000, 800);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));

    QCOMPARE(texts(preview.commands()), commands);
    QCOMPARE(visibleButtons(&preview), commands);
    for (QToolButton *button : preview.findChildren<QToolButton *>()) {
        if (button->isVisible())
            QCOMPARE(button->focusPolicy(), Qt::StrongFocus);
    }
    QCOMPARE(preview.lblPagina->isVisible(), twoPages);
    QCOMPARE(preview.pageCount(), twoPages ? 2 : 1);
}

void Preview::zoomChoices()
{
    const std::unique_ptr<TReport> report = cardSheet();
    ReportPreview preview(*report, nullptr);
    QVERIFY(showActive(preview));

    QCOMPARE(texts(preview.actZoom->menu()->actions()).filter(QRegularExpression(u"."_s)),
             (QStringList{u"Larghezza pagina"_s, u"Pagina intera"_s, u"25 %"_s, u"50 %"_s,
                          u"75 %"_s, u"100 %"_s, u"125 %"_s, u"150 %"_s, u"200 %"_s, u"300 %"_s,
                          u"400 %"_s}));

    // At 100 % the sheet has its real size on the screen, painted by the report engine:
    // the orange title bar 33 mm from the paper's left edge, 13 mm from its top.
    const double pxPerMm = preview.logicalDpiX() / 25.4;
    QCOMPARE(preview.zoom(), 1.0);
    QCOMPARE(preview.lblZoom->text(), u"100 %"_s);
    QRect page = firstPage(preview);
    QVERIFY(qAbs(page.width() - 210 * pxPerMm) <= 2);
    const QImage shot = preview.panPagine->widget()->grab().toImage();
    QCOMPARE(shot.pixelColor(page.left() + qRound(60 * pxPerMm), page.top() + qRound(17 * pxPerMm)),
             QColor(0xFF, 0x8C, 0x00));

    preview.zoomPercentages.at(5)->trigger();
    QCOMPARE(preview.zoom(), 1.5);
    QCOMPARE(preview.lblZoom->text(), u"150 %"_s);
    page = firstPage(preview);
    QVERIFY(qAbs(page.width() - 1.5 * 210 * pxPerMm) <= 2);

    preview.actLarghezzaPagina->trigger();
    const int viewWidth = preview.panPagine->viewport()->width();
    QVERIFY(qAbs(firstPage(preview).width() - (viewWidth - 32)) <= 2);
    QVERIFY(preview.actLarghezzaPagina->isChecked());
    preview.actPaginaIntera->trigger();
    QVERIFY(preview.panPagine->viewport()->size().height() >=
            qRound(297 * pxPerMm * preview.zoom()));
    QCOMPARE(preview.lblZoom->text(), ReportPreview::percentText(preview.zoom()));

    // Ctrl and + steps up from any zoom to the next percentage.
    preview.zoomPercentages.at(3)->trigger();
    QTest::keyClick(&preview, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(preview.lblZoom->text(), u"125 %"_s);
    QTest::keyClick(&preview, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(preview.lblZoom->text(), u"100 %"_s);
}

void Preview::fullScreenAndBack()
{
    const std::unique_ptr<TReport> report = cardSheet();
    ReportPreview preview(*report, nullptr);
    QVERIFY(showActive(preview));
    preview.showMaximized();
    click(preview.actSchermoIntero);
    QTRY_VERIFY(preview.isFullScreen());
    QVERIFY(preview.actSchermoIntero->isChecked());
    click(preview.actSchermoIntero);
    QTRY_VERIFY(!preview.isFullScreen());
    QVERIFY(preview.isMaximized());
    QVERIFY(!preview.actSchermoIntero->isChecked());
    // The same from the keyboard.
    QTest::keyClick(&preview, Qt::Key_F11);
    QTRY_VERIFY(preview.isFullScreen());
    QTest::keyClick(&preview, Qt::Key_F11);
    QTRY_VERIFY(!preview.isFullScreen());
}

void Preview::pageArrows()
{
    const std::unique_ptr<TReport> report = twoPageList();
    ReportPreview preview(*report, nullptr);
    QVERIFY(showActive(preview));
    QCOMPARE(preview.currentPage(), 0);
    QCOMPARE(preview.lblPagina->text(), u"Pagina 1 di 2"_s);
    QVERIFY(!preview.actPaginaPrecedente->isEnabled());
    click(preview.actPaginaSuccessiva);
    QCOMPARE(preview.currentPage(), 1);
    QCOMPARE(preview.lblPagina->text(), u"Pagina 2 di 2"_s);
    QVERIFY(!preview.actPaginaSuccessiva->isEnabled());
    QVERIFY(preview.panPagine->verticalScrollBar()->value() > 0);
    QTest::keyClick(&preview, Qt::Key_PageUp);
    QCOMPARE(preview.currentPage(), 0);
    QCOMPARE(preview.panPagine->verticalScrollBar()->value(), 0);

    // Whole pages both fit: the arrows still go from one to the other.
    preview.zoomPercentages.at(0)->trigger();
    click(preview.actPaginaSuccessiva);
    QCOMPARE(preview.lblPagina->text(), u"Pagina 2 di 2"_s);
    click(preview.actPaginaPrecedente);
    QCOMPARE(preview.lblPagina->text(), u"Pagina 1 di 2"_s);
}

// Stampa goes through the print dialog; cancelled, nothing prints and the preview stays;
// confirmed, every page prints and the preview closes; failed, the user is told.
void Preview::printFromThePreview()
{
    const QString pdf = m_folder->file(u"printed.pdf"_s);
    ReportWindow::setPdfForTests(pdf);
    const std::unique_ptr<TReport> report = twoPageList();
    ReportPreview preview(*report, nullptr);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));

    Recorder rec;
    rec.printAnswers = {false};
    click(preview.actStampa);
    QVERIFY(preview.isVisible());
    QVERIFY(!QFile::exists(pdf));

    // A print that cannot be written is reported as an error, and the preview stays.
    ReportWindow::setPdfForTests(m_folder->file(u"missing/printed.pdf"_s));
    rec.printAnswers = {true};
    click(preview.actStampa);
    QVERIFY(preview.isVisible());
    QVERIFY(rec.showedOnly(Recorder::Kind::Error, ReportWindow::printFailedMessage()));

    ReportWindow::setPdfForTests(pdf);
    rec.printAnswers = {true};
    click(preview.actStampa);
    QVERIFY(!preview.isVisible());
    QCOMPARE(preview.result(), int(QDialog::Accepted));
    QCOMPARE(Sheets::pdfPages(pdf), 2);
    QVERIFY(rec.unexpected.isEmpty());
}

void Preview::showReportIsModalMaximised_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("closed with Chiudi") << false;
    QTest::newRow("closed with Esc") << true;
}

void Preview::showReportIsModalMaximised()
{
    QFETCH(bool, escape);
    const std::unique_ptr<TReport> report = cardSheet();
    bool seen = false;
    onNextModal([&](QWidget *modal) {
        auto *preview = qobject_cast<ReportPreview *>(modal);
        QVERIFY(preview);
        seen = true;
        QVERIFY(preview->isModal());
        QVERIFY(preview->isMaximized());
        QCOMPARE(preview->lblZoom->text(), u"100 %"_s);
        QCOMPARE(preview->windowTitle(), u" Anteprima di stampa - Scheda informativa"_s);
        if (escape)
            QTest::keyClick(preview, Qt::Key_Escape);
        else
            click(preview->actChiudi);
        if (preview->isVisible())
            preview->reject(); // a failed close must not keep the test waiting
    });
    ReportWindow::ShowReport(*report, nullptr);
    QVERIFY(seen);
}

SCAFFARIA_TEST(Preview)
#include "tst_preview.moc"
