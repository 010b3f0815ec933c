#include "printing/designs.h"
#include "printing/listreport.h"
#include "printing/report.h"
#include "sheets.h"
#include "support/pdf.h"
#include "support/testmain.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The page painted at 96 dots to the inch, on white paper.
QImage paint(const TReport &report, int page)
{
    QImage image(794, 1123, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    report.paintPage(painter, page);
    return image;
}

// True when some pixel of the area (image pixels) is clearly darker than white.
bool inked(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 160)
                return true;
        }
    }
    return false;
}

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(u"riga %1  "_s.arg(i, 3, 10, QChar(u'0')));
    return lines;
}

} // namespace

class ReportEngine final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findObjectByExactName();
    void pictureIsACopy();
    void longTextIsCutNotWrapped();
    void tooLongTextKeepsItsStart_data();
    void tooLongTextKeepsItsStart();
    void wrappingMemoBreaksAtWords();
    void pictureFitsCentred_data();
    void pictureFitsCentred();
    void listSplitsAcrossPages();
    void listHeightsFromLineCount_data();
    void listHeightsFromLineCount();
    void preparingAgainStartsOver();
};

void ReportEngine::findObjectByExactName()
{
    auto report = ReportDesigns::repRiepilogo();
    QCOMPARE(report->PageCount(), 2);
    QVERIFY(report->Pages(0)->Objects.empty());
    QVERIFY(report->findMemo(u"txtRiepilogo"_s)); // inside a band
    QVERIFY(report->findBand(u"MasterData"_s));
    QVERIFY(!report->FindObject(u"txtriepilogo"_s));
    QVERIFY(!report->FindObject(u"txtRiepilogo "_s));
    QVERIFY(!report->findPicture(u"txtTitolo"_s)); // a memo is not a picture
    QCOMPARE(report->FindObject(u"Footer"_s)->kind(), ObjectKind::Band);
}

void ReportEngine::pictureIsACopy()
{
    auto report = ReportDesigns::repFoto();
    QImage source(40, 30, QImage::Format_RGB32);
    source.fill(Qt::red);
    report->findPicture(u"imgFoto"_s)->setPicture(source);
    source.fill(Qt::green);
    QCOMPARE(report->findPicture(u"imgFoto"_s)->Picture.pixel(5, 5), QColor(Qt::red).rgb());
}

void ReportEngine::longTextIsCutNotWrapped()
{
    auto report = ReportDesigns::repScheda();
    const QString longText = QString(200, u'W');
    report->findMemo(u"txtCampo01"_s)->setText(longText);
    report->findMemo(u"txtCampo02"_s)->setText(QString());
    report->findMemo(u"titCampo02"_s)->setText(QString());
    report->PrepareReport(true);
    QCOMPARE(report->preparedPages().size(), 1);
    const PreparedPage &page = report->preparedPages().first();
    const PreparedItem *value = page.find(u"txtCampo01"_s);
    QCOMPARE(value->lines, QStringList{longText});
    // The next row stays where the design has it.
    QCOMPARE(page.find(u"txtCampo02"_s)->box.top(), ReportUnits::mm(34));

    const QImage image = paint(*report, 0);
    const double margin = ReportUnits::mm(10);
    const QRectF box = value->box.translated(margin, margin);
    const int midY = qRound(box.center().y());
    // Ink reaches the right edge of the box and stops there.
    QVERIFY(inked(image, QRect(qRound(box.right()) - 12, midY - 3, 10, 6)));
    QVERIFY(
        !inked(image, QRect(qRound(box.right()) + 2, qRound(box.top()), 30, qRound(box.height()))));
    // The row below holds no text, only its empty teal caption box.
    const QRectF below = page.find(u"txtCampo02"_s)->box.translated(margin, margin);
    QVERIFY(!inked(image, below.toRect().adjusted(1, 1, -1, -1)));
    const QRectF caption = page.find(u"titCampo02"_s)->box.translated(margin, margin);
    QCOMPARE(image.pixelColor(caption.center().toPoint()), QColor(0x00, 0x80, 0x80));
}

void ReportEngine::tooLongTextKeepsItsStart_data()
{
    QTest::addColumn<QString>("design");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    const QString repDocumento = u"repDocumento"_s;
    QTest::newRow("price that fits, right-aligned")
        << repDocumento << u"txtPrezzo_A"_s << u"€  12,50"_s << true;
    QTest::newRow("price too long keeps its euro sign")
        << repDocumento << u"txtPrezzo_D"_s << u"€  123456789,00"_s << false;
    QTest::newRow("centred title too long keeps its start")
        << u"repScheda"_s << u"txtTitolo"_s
        << u"Vite autofilettante testa svasata a croce in acciaio inox per legno duro"_s << false;
}

// Right-aligned and centred texts that fit stand where their alignment puts them; one too
// long for its box starts at the box's left edge, so the box cuts its end like any other
// text's and its first characters (a price's euro sign) print.
void ReportEngine::tooLongTextKeepsItsStart()
{
    QFETCH(QString, design);
    QFETCH(QString, object);
    QFETCH(QString, text);
    QFETCH(bool, fits);
    auto report = design == u"repScheda" ? ReportDesigns::repScheda()
                                         : ReportDesigns::repDocumento();
    report->findMemo(object)->setText(text);
    report->PrepareReport(true);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"sheet.pdf"_s);
    QVERIFY(Sheets::toPdf(*report, pdf));

    // The box and its text area in points on the paper.
    const PreparedPage &page = report->preparedPages().first();
    const double pt = 0.75;
    const QRectF box = page.find(object)->box.translated(ReportUnits::mm(page.marginMm),
                                                         ReportUnits::mm(page.marginMm));
    const QRectF area(box.left() * pt, box.top() * pt, box.width() * pt, box.height() * pt);
    const double inset = TMemoView::kInsetX * pt;
    QList<Pdf::Word> inBox;
    for (const Pdf::Word &word : Pdf::words(pdf)) {
        const bool across = word.box.right() > area.left() && word.box.left() < area.right();
        if (across && word.box.center().y() > area.top() && word.box.center().y() < area.bottom())
            inBox.append(word);
    }
    QVERIFY(!inBox.isEmpty());
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    QCOMPARE(inBox.first().text, words.first());
    QCOMPARE(inBox.last().text, words.last());
    if (fits) {
        const double right = area.right() - inset;
        QVERIFY2(qAbs(inBox.last().box.right() - right) < 0.05,
                 qPrintable(u"ends at %1 pt, not %2"_s.arg(inBox.last().box.right()).arg(right)));
    } else {
        QVERIFY2(qAbs(inBox.first().box.left() - (area.left() + inset)) < 0.05,
                 qPrintable(u"starts at %1 pt, the box at %2"_s.arg(inBox.first().box.left())
                                .arg(area.left())));
        QVERIFY(inBox.last().box.right() > area.right()); // cut by the box, not wrapped
    }
}

void ReportEngine::wrappingMemoBreaksAtWords()
{
    auto report = ReportDesigns::repRiepilogo();
    QStringList words;
    for (int i = 0; i < 60; ++i)
        words.append(u"parola%1"_s.arg(i));
    report->findMemo(u"txtTitolo"_s)->setText(words.join(u' '));
    report->PrepareReport(true);
    const PreparedItem *title = report->preparedPages().first().find(u"txtTitolo"_s);
    QVERIFY(title->lines.size() > 1);
    QCOMPARE(title->lines.join(QString()).remove(u' '), words.join(QString()));
}

void ReportEngine::pictureFitsCentred_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("centred");
    QTest::newRow("wide photo") << u"imgFoto"_s << QSize(1000, 100) << true;
    QTest::newRow("tall photo") << u"imgFoto"_s << QSize(90, 600) << true;
    QTest::newRow("small photo grows") << u"imgFoto"_s << QSize(12, 9) << true;
    QTest::newRow("folder icon at its corner") << u"PictureView1"_s << QSize(100, 20) << false;
}

void ReportEngine::pictureFitsCentred()
{
    QFETCH(QString, object);
    QFETCH(QSize, size);
    QFETCH(bool, centred);
    auto report = ReportDesigns::repFoto();
    QImage photo(size, QImage::Format_RGB32);
    photo.fill(Qt::blue);
    report->findPicture(object)->setPicture(photo);
    report->PrepareReport(true);
    const PreparedItem *item = report->preparedPages().first().find(object);
    const QRectF box = item->box;
    const QRectF drawn = item->pictureRect;
    QVERIFY(box.adjusted(-0.01, -0.01, 0.01, 0.01).contains(drawn));
    // One side fills the box, and the proportions are kept.
    QVERIFY(qAbs(drawn.width() - box.width()) < 0.01 || qAbs(drawn.height() - box.height()) < 0.01);
    QCOMPARE(qRound(drawn.width() / drawn.height() * 1000),
             qRound(double(size.width()) / size.height() * 1000));
    const QPointF expected = centred ? box.center()
                                     : box.topLeft() + (drawn.center() - drawn.topLeft());
    QVERIFY(qAbs(drawn.center().x() - expected.x()) < 0.01);
    QVERIFY(qAbs(drawn.center().y() - expected.y()) < 0.01);

    // Painted: the photo's colour at the middle, white paper beside it.
    const QImage image = paint(*report, 0);
    const QPointF margin(ReportUnits::mm(10), ReportUnits::mm(10));
    QCOMPARE(image.pixelColor((drawn.center() + margin).toPoint()), QColor(Qt::blue));
}

void ReportEngine::listSplitsAcrossPages()
{
    auto report = ReportDesigns::repRiepilogo();
    const QStringList lines = numberedLines(200);
    ListReport::fill(*report, u"Riepilogo prodotti in magazzino"_s, lines);
    report->setPreparationDate(QDate(2024, 3, 7));
    report->PrepareReport(true);
    const QList<PreparedPage> &pages = report->preparedPages();
    QVERIFY2(pages.size() >= 4, qPrintable(QString::number(pages.size())));

    const double pageHeight = report->Pages(1)->printableSize().height();
    QStringList printed;
    for (int p = 0; p < pages.size(); ++p) {
        const PreparedPage &page = pages.at(p);
        QCOMPARE(page.orientation, poLandscape);
        QCOMPARE(page.findAll(u"txtTitolo"_s).size(), p == 0 ? 1 : 0);
        QCOMPARE(page.findAll(u"txtPagina"_s).size(), p == pages.size() - 1 ? 1 : 0);
        for (const PreparedItem *part : page.findAll(u"txtRiepilogo"_s)) {
            printed += part->lines;
            // Every line lies whole inside its box and on the sheet.
            const double lastBottom = part->firstLineTop + part->lines.size() * part->pitch;
            QVERIFY(part->firstLineTop >= part->box.top() - 0.01);
            QVERIFY(lastBottom <= pageHeight + 0.01);
            QVERIFY(lastBottom <= part->box.bottom() + 1.01);
        }
    }
    QCOMPARE(printed, lines);

    const PreparedPage &last = pages.last();
    const PreparedItem *data = last.find(u"txtRiepilogo"_s);
    const PreparedItem *footer = last.find(u"txtPagina"_s);
    QVERIFY(footer->box.top() >= data->firstLineTop + data->lines.size() * data->pitch);
    QCOMPARE(footer->lines, QStringList{u"Stampa eseguita in data 07/03/2024"_s});
    QCOMPARE(pages.first().find(u"txtRiepilogo"_s)->box.top(),
             ReportUnits::mm(8)); // right under the title band
}

void ReportEngine::listHeightsFromLineCount_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("memo");
    QTest::addColumn<double>("band");
    QTest::addColumn<int>("pages");
    QTest::newRow("40 lines") << 40 << 512.88 << 522.88 << 1;
    QTest::newRow("42 lines") << 42 << 538.524 << 548.524 << 1;
    QTest::newRow("empty list") << 0 << 0.0 << 10.0 << 1;
}

void ReportEngine::listHeightsFromLineCount()
{
    QFETCH(int, count);
    QFETCH(double, memo);
    QFETCH(double, band);
    QFETCH(int, pages);
    auto report = ReportDesigns::repRiepilogo();
    ListReport::fill(*report, u"Titolo"_s, numberedLines(count));
    QVERIFY(qAbs(report->findMemo(u"txtRiepilogo"_s)->Height - memo) < 1e-6);
    QVERIFY(qAbs(report->findBand(u"MasterData"_s)->Height - band) < 1e-6);
    report->PrepareReport(true);
    QCOMPARE(report->preparedPages().size(), pages);
    const PreparedPage &page = report->preparedPages().first();
    QVERIFY(qAbs(page.find(u"txtPagina"_s)->box.top() -
                 (ReportUnits::mm(8) + band + ReportUnits::mm(2))) < 1e-6);
}

void ReportEngine::preparingAgainStartsOver()
{
    auto report = ReportDesigns::repRiepilogo();
    ListReport::fill(*report, u"Titolo"_s, numberedLines(120));
    report->PrepareReport(true);
    const qsizetype once = report->preparedPages().size();
    QVERIFY(once > 1);
    report->PrepareReport(true);
    QCOMPARE(report->preparedPages().size(), once);
    report->PrepareReport(false);
    QCOMPARE(report->preparedPages().size(), 2 * once);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"lista.pdf"_s);
    report->PrepareReport(true);
    QVERIFY(Sheets::toPdf(*report, pdf));
    QCOMPARE(Sheets::pdfPages(pdf), int(once));
}

SCAFFARIA_TEST(ReportEngine)
#include "tst_engine.moc"
