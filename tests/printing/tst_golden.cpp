// The four page designs, filled with fixed data and painted at 96 dpi, compared pixel by
// pixel with the reference pictures in tests/data/golden.
//
// To accept a deliberate change of a design, regenerate the references and look at them:
//     SCAFFARIA_UPDATE_GOLDEN=1 build/tests/tst_printing_model GoldenSheets
// writes every reference PNG anew into tests/data/golden (and passes).
// When a sheet no longer matches, the test writes the sheet as painted and a difference
// picture into a temporary folder and names it in the failure message.
#include "printing/cardsheet.h"
#include "printing/designs.h"
#include "printing/listreport.h"
#include "printing/pricesheet.h"
#include "printing/report.h"
#include "support/testmain.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Anti-aliasing differences (another rasteriser build, another blending path) change the
// coverage of edge pixels by a few levels; what a design says (a box, a fill, a line, a
// glyph) shows as pixels that change by far more. A pixel counts as different when one of
// its channels moves by more than a quarter of the scale, and a sheet matches while at most
// 0.002 % of its pixels differ (17 of a sheet's 891 000). Measured on these sheets: one
// missing 8 pt digit changes 22 pixels past the threshold (the page number) to 26 (a list
// line), one missing 10 pt digit 33, a sheet moved down by one pixel 15 000 to 41 000, so
// each fails. The engine draws glyph outlines unhinted, so fontconfig's hinting settings
// change nothing (hintnone and hintfull both match); text drawn without anti-aliasing at
// all differs in 9 400 to 11 700 pixels: regenerate the references for such a system.
constexpr int kChannelTolerance = 64;
constexpr double kDifferingShare = 0.00002;

QImage photo(QSize size)
{
    // Plain rectangles only, so the picture itself has no anti-aliased edges.
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0x2e, 0x6d, 0xb4));
    QPainter painter(&image);
    painter.fillRect(QRect(0, size.height() * 2 / 3, size.width(), size.height() / 3),
                     QColor(0x6b, 0x8e, 0x23));
    painter.fillRect(QRect(size.width() / 4, size.height() / 4, size.width() / 2,
                           size.height() / 2),
                     QColor(0xf0, 0xc0, 0x30));
    painter.fillRect(QRect(size.width() / 4 + 10, size.height() / 4 + 10, 20, 20), Qt::white);
    return image;
}

std::unique_ptr<TReport> cardSheet(bool withPhoto)
{
    CardSheetData card;
    card.codice = u"VT-0420"_s;
    card.costo = u"12,50"_s;
    card.nome = u"Vite autofilettante testa svasata 4 x 20"_s;
    card.giacenza = u"36"_s;
    card.um = u"Scatola da 100 pezzi"_s;
    card.tipologia = u"Ferramenta"_s;
    card.caratteristiche = u"Acciaio zincato, impronta a croce"_s;
    card.collocazione = u"Scaffale B, ripiano 3"_s;
    card.ditta = u"Bulloneria Padana S.r.l."_s;
    card.agente = u"Rossi Mario"_s;
    card.recapito = u"0521 123456"_s;
    card.documento = u"Fattura n. 118 del 02/12/2024"_s;
    card.pagamento = u"Bonifico a 30 giorni"_s;
    card.dataSca = u"31/12/2027"_s;
    // Longer than its box: it prints on one line, cut at the box's right edge.
    card.note = u"Riordinare prima dell'inventario di fine anno, chiedere lo sconto quantità "
                u"al fornitore e verificare la consegna"_s;
    card.prezzo = u"19,90"_s;
    card.pagato = true;
    card.photo = photo(QSize(400, 300));
    auto sheet = CardSheet::build(card, withPhoto, QDateTime(QDate(2025, 1, 9), QTime(14, 5, 9)));
    sheet->PrepareReport(true);
    return sheet;
}

std::unique_ptr<TReport> priceSheet()
{
    PriceSheetData page;
    page.listName = u"Dolci di Natale"_s;
    page.pageNumber = u"3"_s;
    const QString names[] = {u"Panettone classico"_s, u"Pandoro"_s,
                             u"Torrone morbido"_s,    u"Cantucci alle mandorle"_s,
                             u"Panforte"_s,           u"Ricciarelli"_s,
                             u"Struffoli"_s};
    for (int slot = 0; slot < 7; ++slot) {
        PriceSlotData &product = page.products[static_cast<std::size_t>(slot)];
        const QString letter = ReportDesigns::slotLetter(slot);
        product.picture = photo(PriceThumbnails::kSize);
        product.nome = names[slot];
        product.um = u"Confezione da %1 g"_s.arg(250 * (slot + 1));
        product.caratteristiche = u"Produzione artigianale, lotto "_s + letter;
        product.codice = u"DOL-00"_s + letter;
        product.prezzo = u"%1,90"_s.arg(8 + 3 * slot);
    }
    page.products[4].prezzo.clear(); // the euro sign alone
    // Too long for its box: it starts at the box's left edge, euro sign first, and the box
    // cuts its end.
    page.products[6].prezzo = u"123456789,00"_s;
    // Slot H stays empty: its frame and its white picture box still print.
    auto sheet = PriceSheet::build(page);
    sheet->PrepareReport(true);
    return sheet;
}

std::unique_ptr<TReport> listReport()
{
    auto report = ReportDesigns::repRiepilogo();
    const QStringList lines = {
        u"VT-0420     Vite autofilettante testa svasata 4 x 20  Scatola da 100 pezzi    36"_s,
        u"VT-0425     Vite autofilettante testa svasata 4 x 25  Scatola da 100 pezzi    12"_s,
        u"BL-M8       Bullone M8 x 40 zincato                   Confezione da 50         4"_s,
        u"DD-6        Dado esagonale M6                         Sacchetto da 200       150"_s,
        u"RN-10       Rondella piana 10 mm                      Sacchetto da 200        80"_s,
        u"TS-8        Tassello in nylon 8 mm                    Scatola da 50            0"_s,
        // 160 characters, the most the box holds: the value prints whole.
        u"%1  %2  Scad. %3  Costo: € 999999999,99  Giacenza: %4  Valore: € 9998999999900,01"_s
            .arg(u"MAX"_s, -25)
            .arg(u"Il più caro"_s, -42)
            .arg(QString(), 10)
            .arg(u"9999"_s, -10),
        // Longer than the box: cut at its right edge, not wrapped.
        u"Riga troppo lunga "_s + QString(160, u'9'),
    };
    ListReport::fill(*report, u"Riepilogo prodotti in magazzino"_s, lines);
    report->setPreparationDate(QDate(2025, 1, 9));
    report->PrepareReport(true);
    return report;
}

std::unique_ptr<TReport> design(const QString &name)
{
    if (name == u"card with photo")
        return cardSheet(true);
    if (name == u"card without photo")
        return cardSheet(false);
    if (name == u"price list")
        return priceSheet();
    return listReport();
}

// The first prepared page on white paper, 96 pixels to the inch.
QImage render(const TReport &report)
{
    const PreparedPage &page = report.preparedPages().first();
    const QSize size(qRound(ReportUnits::mm(page.paperMm.width())),
                     qRound(ReportUnits::mm(page.paperMm.height())));
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    report.paintPage(painter, 0);
    return image;
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// The expected sheet faded, with the pixels past the tolerance in red and the smaller
// differences in orange.
QImage differenceMap(const QImage &actual, const QImage &expected, qint64 *differing)
{
    QImage map(expected.size(), QImage::Format_RGB32);
    *differing = 0;
    for (int y = 0; y < expected.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(actual.constScanLine(y));
        const auto *e = reinterpret_cast<const QRgb *>(expected.constScanLine(y));
        auto *m = reinterpret_cast<QRgb *>(map.scanLine(y));
        for (int x = 0; x < expected.width(); ++x) {
            const int distance = channelDistance(a[x], e[x]);
            if (distance > kChannelTolerance) {
                ++*differing;
                m[x] = qRgb(255, 0, 0);
            } else if (distance > 0) {
                m[x] = qRgb(255, 170, 0);
            } else {
                const int grey = 192 + qGray(e[x]) / 4;
                m[x] = qRgb(grey, grey, grey);
            }
        }
    }
    return map;
}

} // namespace

class GoldenSheets final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sheetMatchesReference_data();
    void sheetMatchesReference();
};

void GoldenSheets::sheetMatchesReference_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("card with photo") << u"card-photo.png"_s;
    QTest::newRow("card without photo") << u"card.png"_s;
    QTest::newRow("price list") << u"price-list.png"_s;
    QTest::newRow("list report") << u"list-report.png"_s;
}

void GoldenSheets::sheetMatchesReference()
{
    QFETCH(QString, file);
    const QString reference =
        QDir(QStringLiteral(SCAFFARIA_TEST_DATA)).filePath(u"golden/"_s + file);
    const auto report = design(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(report->preparedPages().size(), 1);
    const QImage actual = render(*report);

    if (qEnvironmentVariableIsSet("SCAFFARIA_UPDATE_GOLDEN")) {
        QVERIFY(QDir().mkpath(QFileInfo(reference).path()));
        QVERIFY2(actual.save(reference, "PNG"), qPrintable(reference));
        qInfo("Wrote %s", qPrintable(reference));
        return;
    }

    const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!expected.isNull(), qPrintable(u"No reference picture "_s + reference +
                                            u"; SCAFFARIA_UPDATE_GOLDEN=1 makes it"_s));
    qint64 differing = 0;
    QImage map;
    if (expected.size() == actual.size())
        map = differenceMap(actual, expected, &differing);
    const qint64 allowed = qint64(kDifferingShare * double(expected.width()) * expected.height());
    if (expected.size() == actual.size() && differing <= allowed)
        return;

    QTemporaryDir out(QDir::temp().filePath(u"scaffaria-golden-XXXXXX"_s));
    out.setAutoRemove(false);
    const QString base = QFileInfo(file).completeBaseName();
    actual.save(out.filePath(base + u"-actual.png"_s), "PNG");
    if (!map.isNull())
        map.save(out.filePath(base + u"-difference.png"_s), "PNG");
    const QString why = expected.size() != actual.size()
                            ? u"painted %1 x %2 px, reference %3 x %4 px"_s.arg(actual.width())
                                  .arg(actual.height())
                                  .arg(expected.width())
                                  .arg(expected.height())
                            : u"%1 pixels differ, at most %2 may"_s.arg(differing).arg(allowed);
    QFAIL(qPrintable(why + u"; the sheet and its differences are in "_s + out.path()));
}

SCAFFARIA_TEST(GoldenSheets)
#include "tst_golden.moc"
