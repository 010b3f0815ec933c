#include "cards.h"
#include "common/screens.h"
#include "lists/dasaldare.h"
#include "lists/listarighe.h"
#include "lists/riepilogo.h"
#include "lists/sottoscorta.h"
#include "lists/stampaelenco.h"
#include "lists/trovamagazzino.h"
#include "printing/designs.h"
#include "printing/report.h"
#include "printing/reportwindow.h"
#include "support/pdf.h"
#include "support/recorder.h"
#include "support/testmain.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString pdfText(const QString &path)
{
    QProcess tool;
    tool.start(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
    tool.waitForFinished();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

} // namespace

// The list screens print their lines as they stand, with their title and, on the
// inventory, the hyphen line and the total; the heights follow the number of lines.
class ListPrinting final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_folder = new TempProgramFolder; }
    void cleanup()
    {
        ReportWindow::setPdfForTests({});
        delete m_folder;
    }
    void heights_data();
    void heights();
    void printButton();
    void longestFiguresPrintWhole_data();
    void longestFiguresPrintWhole();

private:
    TempProgramFolder *m_folder = nullptr;
};

void ListPrinting::heights_data()
{
    QTest::addColumn<bool>("inventory");
    QTest::addColumn<int>("memoLines");
    QTest::addColumn<double>("memo");
    QTest::addColumn<double>("band");

    QTest::newRow("low-stock list of 40") << false << 40 << 512.88 << 522.88;
    QTest::newRow("inventory of 40") << true << 42 << 538.524 << 548.524;
}

void ListPrinting::heights()
{
    QFETCH(bool, inventory);
    QFETCH(int, memoLines);
    QFETCH(double, memo);
    QFETCH(double, band);

    QList<TSchedaProdotto> cards;
    for (int i = 0; i < 40; ++i)
        cards.append(Cards::make(u"C%1"_s.arg(i, 2, 10, QChar(u'0')), u"Articolo"_s, u"0"_s));
    Cards::write(cards);

    QString title;
    QStringList lines;
    if (inventory) {
        TfrmRiepilogo screen(nullptr, {});
        screen.show();
        title = screen.titoloStampa();
        lines = screen.righeStampa();
        QCOMPARE(title, u"Inventario merce - Categoria: Tutti gli articoli in magazzino."_s);
        QCOMPARE(lines.at(40), u"--------------------------"_s);
        QCOMPARE(lines.at(41), u"VALORE TOTALE: € 0,00"_s);
    } else {
        TfrmSottoscorta screen(nullptr);
        screen.show();
        lines = screen.lstRecords->righe().toList();
    }
    const std::unique_ptr<TReport> report = StampaElenco::prepara(title, lines);
    TMemoView *text = report->findMemo(u"txtRiepilogo"_s);
    QCOMPARE(text->Lines.size(), memoLines);
    QCOMPARE(text->Lines, lines); // unchanged, blanks kept
    QVERIFY(qAbs(text->Height - memo) < 1e-9);
    QVERIFY(qAbs(report->findBand(u"MasterData"_s)->Height - band) < 1e-9);
}

void ListPrinting::printButton()
{
    TSchedaProdotto unpaid = Cards::make(u"FAT-77"_s, u"Vernice"_s);
    unpaid.Pagato = TSchedaProdotto::paidNo();
    Cards::write({unpaid});
    const QString pdf = m_folder->file(u"stampa.pdf"_s);
    ReportWindow::setPdfForTests(pdf);

    TfrmDaSaldare list(nullptr);
    list.show();
    Recorder rec;
    // Cancelling the print dialog prints nothing.
    rec.printAnswers = {false, true};
    QTest::mouseClick(list.btnStampa, Qt::LeftButton);
    QVERIFY(!QFile::exists(pdf));
    QTest::mouseClick(list.btnStampa, Qt::LeftButton);
    QVERIFY(rec.unexpected.isEmpty());
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(u"Riepilogo pagamenti non saldati"_s), qPrintable(text));
    QVERIFY2(text.contains(u"Cod. FAT-77"_s), qPrintable(text));
    QVERIFY(text.contains(u"Stampa eseguita in data"_s));
    // The screen stays open with its list.
    QVERIFY(list.isVisible());
    QCOMPARE(list.lstRecords->conta(), 1);
}

void ListPrinting::longestFiguresPrintWhole_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("figure");
    // The longest cost a card holds ends the lines of the search, low-stock and unpaid
    // lists; times the largest stock it gives a value of 15 significant digits, which ends
    // the inventory line at its 160th character.
    QTest::newRow("search") << u"search"_s << u"999999999,99"_s;
    QTest::newRow("low stock") << u"low stock"_s << u"999999999,99"_s;
    QTest::newRow("unpaid") << u"unpaid"_s << u"999999999,99"_s;
    QTest::newRow("inventory") << u"inventory"_s << u"9998999999900,01"_s;
}

// The lines print at the list's true 8 pt, so a line that fits the memo prints whole: its
// last figure ends inside the memo's right edge instead of being cut off there.
void ListPrinting::longestFiguresPrintWhole()
{
    QFETCH(QString, screen);
    QFETCH(QString, figure);
    TSchedaProdotto most = Cards::make(u"MAX"_s, u"Il più caro"_s, u"9999"_s, u"999999999,99"_s);
    most.Pagato = TSchedaProdotto::paidNo();
    TSchedaProdotto outOfStock = Cards::make(u"ZERO"_s, u"Esaurito"_s, u"0"_s, u"999999999,99"_s);
    Cards::write({most, outOfStock});
    const QString pdf = m_folder->file(u"stampa.pdf"_s);
    ReportWindow::setPdfForTests(pdf);

    Recorder rec;
    rec.printAnswers = {true};
    if (screen == u"search") {
        TfrmTrovaMagazzino list(nullptr);
        list.show();
        list.txtCodice->setText(u"MAX"_s);
        QTest::mouseClick(list.btnCerca, Qt::LeftButton);
        QTest::mouseClick(list.btnStampa, Qt::LeftButton);
    } else if (screen == u"low stock") {
        TfrmSottoscorta list(nullptr);
        list.show();
        QTest::mouseClick(list.btnStampa, Qt::LeftButton);
    } else if (screen == u"unpaid") {
        TfrmDaSaldare list(nullptr);
        list.show();
        QTest::mouseClick(list.btnStampa, Qt::LeftButton);
    } else {
        TfrmRiepilogo list(nullptr, {});
        list.show();
        QTest::mouseClick(list.btnStampa, Qt::LeftButton);
    }
    QVERIFY(rec.unexpected.isEmpty());

    const auto design = ReportDesigns::repRiepilogo();
    const TMemoView *memo = design->findMemo(u"txtRiepilogo"_s);
    const double edge = (ReportUnits::mm(design->Pages(1)->MarginMm) + memo->Left + memo->Width) *
                        0.75;
    int printed = 0;
    for (const Pdf::Word &word : Pdf::words(pdf)) {
        if (word.text != figure)
            continue;
        ++printed;
        QVERIFY2(word.box.right() <= edge,
                 qPrintable(u"%1 ends at %2 pt, the memo at %3 pt"_s.arg(figure)
                                .arg(word.box.right())
                                .arg(edge)));
    }
    // The inventory's total line repeats the value.
    QCOMPARE(printed, screen == u"inventory" ? 2 : 1);

    // The lines at 8 pt, the title at 9 pt and the footer at 8 pt, exactly.
    QCOMPARE(Pdf::fontSizes(pdf), (QList<double>{8, 9}));
}

SCAFFARIA_TEST(ListPrinting)
#include "tst_print.moc"
