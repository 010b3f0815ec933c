#include "printing/designs.h"
#include "printing/listreport.h"
#include "printing/report.h"
#include "sheets.h"
#include "support/pdf.h"
#include "support/testmain.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

using Maker = std::function<std::unique_ptr<TReport>()>;

Maker maker(const QString &design)
{
    if (design == u"repScheda")
        return ReportDesigns::repScheda;
    if (design == u"repFoto")
        return ReportDesigns::repFoto;
    if (design == u"repDocumento")
        return ReportDesigns::repDocumento;
    return ReportDesigns::repRiepilogo;
}

} // namespace

Q_DECLARE_METATYPE(ObjectKind)

class ReportDesignsTest final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void paperAndNames_data();
    void paperAndNames();
    void boxes_data();
    void boxes();
    void looks_data();
    void looks();
    void slotsRepeatDownThePage();
    void pdfHoldsTheTextsAtTheirSizes_data();
    void pdfHoldsTheTextsAtTheirSizes();
};

void ReportDesignsTest::paperAndNames_data()
{
    QTest::addColumn<QString>("design");
    QTest::addColumn<QString>("document");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSizeF>("printable");
    const QSizeF upright(718.11, 1046.93);
    QTest::newRow("card") << u"repScheda"_s << u"Scheda informativa"_s << int(poPortrait)
                          << upright;
    QTest::newRow("card with photo")
        << u"repFoto"_s << u"Scheda informativa"_s << int(poPortrait) << upright;
    QTest::newRow("price list") << u"repDocumento"_s << u"Listino Prezzi"_s << int(poPortrait)
                                << upright;
    QTest::newRow("list") << u"repRiepilogo"_s << u"Riepilogo dati"_s << int(poLandscape)
                          << upright.transposed();
}

void ReportDesignsTest::paperAndNames()
{
    QFETCH(QString, design);
    QFETCH(QString, document);
    QFETCH(int, orientation);
    QFETCH(QSizeF, printable);
    auto report = maker(design)();
    QCOMPARE(report->Name, design);
    QCOMPARE(report->DocumentName, document);
    QCOMPARE(report->PageCount(), 2);
    const TReportPage &page = *report->Pages(1);
    QCOMPARE(int(page.Orientation), orientation);
    QCOMPARE(page.MarginMm, 10.0);
    QVERIFY(qAbs(page.printableSize().width() - printable.width()) < 0.01);
    QVERIFY(qAbs(page.printableSize().height() - printable.height()) < 0.01);
}

void ReportDesignsTest::boxes_data()
{
    QTest::addColumn<QString>("design");
    QTest::addColumn<QString>("object");
    QTest::addColumn<ObjectKind>("kind");
    QTest::addColumn<QRectF>("box");
    const auto M = ObjectKind::Memo;
    const auto P = ObjectKind::Picture;
    const auto L = ObjectKind::Line;
    const auto S = ObjectKind::Shape;
    const auto B = ObjectKind::Band;
    for (const QString &design : {u"repScheda"_s, u"repFoto"_s}) {
        const QByteArray d = design.toLatin1();
        QTest::newRow(d + " folder")
            << design << u"PictureView1"_s << P << QRectF(11.34, 11.34, 64.25, 49.13);
        QTest::newRow(d + " title")
            << design << u"txtTitolo"_s << M << QRectF(86.93, 11.34, 623.62, 34.02);
        QTest::newRow(d + " line 1")
            << design << u"linSepara01"_s << L << QRectF(86.93, 60.47, 623.62, 0);
        QTest::newRow(d + " line 2")
            << design << u"linSepara02"_s << L << QRectF(11.34, 1001.58, 699.21, 0);
        QTest::newRow(d + " footer")
            << design << u"txtCalce"_s << M << QRectF(11.34, 1016.69, 699.21, 22.68);
    }
    QTest::newRow("card row 01") << u"repScheda"_s << u"titCampo01"_s << M
                                 << QRectF(11.34, 90.709, 196.54, 22.68);
    QTest::newRow("card row 18 value") << u"repScheda"_s << u"txtCampo18"_s << M
                                       << QRectF(226.77, 90.709 + 37.795 * 17, 483.78, 22.68);
    QTest::newRow("card notes box")
        << u"repScheda"_s << u"Shape1"_s << S << QRectF(11.34, 771.02, 699.21, 215.43);
    QTest::newRow("card notes caption")
        << u"repScheda"_s << u"Memo1"_s << M << QRectF(15.12, 774.80, 128.50, 15.12);
    QTest::newRow("photo card row 01")
        << u"repFoto"_s << u"txtCampo01"_s << M << QRectF(226.77, 393.071, 483.78, 22.68);
    QTest::newRow("photo card row 18") << u"repFoto"_s << u"titCampo18"_s << M
                                       << QRectF(11.34, 393.071 + 34.016 * 17, 196.54, 22.68);
    QTest::newRow("photo") << u"repFoto"_s << u"imgFoto"_s << P
                           << QRectF(15.12, 79.37, 691.65, 298.58);
    QTest::newRow("list name") << u"repDocumento"_s << u"txtNome"_s << M
                               << QRectF(3.78, 2.27, 710.55, 15.12);
    QTest::newRow("slot A frame") << u"repDocumento"_s << u"Shape19"_s << S
                                  << QRectF(3.78, 22.68, 710.55, 113.39);
    QTest::newRow("slot A photo") << u"repDocumento"_s << u"imgFoto_A"_s << P
                                  << QRectF(7.56, 26.46, 143.62, 105.83);
    QTest::newRow("slot A name") << u"repDocumento"_s << u"txtNome_A"_s << M
                                 << QRectF(160.25, 26.46, 548.03, 26.46);
    QTest::newRow("slot A look") << u"repDocumento"_s << u"txtUM_A"_s << M
                                 << QRectF(160.25, 60.47, 548.03, 15.12);
    QTest::newRow("slot A features") << u"repDocumento"_s << u"txtCaratteristiche_A"_s << M
                                     << QRectF(160.25, 83.15, 548.03, 15.12);
    QTest::newRow("slot A code") << u"repDocumento"_s << u"txtCodice_A"_s << M
                                 << QRectF(160.25, 105.83, 353.76, 26.46);
    QTest::newRow("slot A price") << u"repDocumento"_s << u"txtPrezzo_A"_s << M
                                  << QRectF(551.81, 105.07, 152.69, 26.46);
    QTest::newRow("slot H frame") << u"repDocumento"_s << u"Shape7"_s << S
                                  << QRectF(3.78, 22.68 + 124.724 * 7, 710.55, 113.39);
    QTest::newRow("page number") << u"repDocumento"_s << u"txtPagina"_s << M
                                 << QRectF(0, 1031.81, 718.11, 15.12);
    QTest::newRow("title band") << u"repRiepilogo"_s << u"ReportTitle"_s << B
                                << QRectF(0, 0, 1046.93, 30.24);
    QTest::newRow("data band") << u"repRiepilogo"_s << u"MasterData"_s << B
                               << QRectF(0, 0, 1046.93, 105.83);
    QTest::newRow("footer band") << u"repRiepilogo"_s << u"Footer"_s << B
                                 << QRectF(0, 0, 1046.93, 30.24);
    QTest::newRow("list title") << u"repRiepilogo"_s << u"txtTitolo"_s << M
                                << QRectF(7.56, 3.78, 1031.81, 18.90);
    QTest::newRow("list lines") << u"repRiepilogo"_s << u"txtRiepilogo"_s << M
                                << QRectF(11.34, 0, 1031.81, 102.05);
    QTest::newRow("list footer") << u"repRiepilogo"_s << u"txtPagina"_s << M
                                 << QRectF(11.34, 7.56, 1028.03, 18.90);
}

void ReportDesignsTest::boxes()
{
    QFETCH(QString, design);
    QFETCH(QString, object);
    QFETCH(ObjectKind, kind);
    QFETCH(QRectF, box);
    auto report = maker(design)();
    const TReportObject *found = report->FindObject(object);
    QVERIFY(found);
    QCOMPARE(found->kind(), kind);
    const QRectF actual = found->box();
    const auto near = [](double a, double b) { return qAbs(a - b) < 0.015; };
    QVERIFY2(near(actual.left(), box.left()) && near(actual.top(), box.top()) &&
                 near(actual.width(), box.width()) && near(actual.height(), box.height()),
             qPrintable(u"%1 %2 %3 %4"_s.arg(actual.left())
                            .arg(actual.top())
                            .arg(actual.width())
                            .arg(actual.height())));
}

void ReportDesignsTest::looks_data()
{
    QTest::addColumn<QString>("design");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<QString>("text");
    const QColor none;
    const QColor white(Qt::white), black(Qt::black);
    const int left = Qt::AlignLeft | Qt::AlignTop;
    const int vcentre = Qt::AlignLeft | Qt::AlignVCenter;
    const int centre = Qt::AlignHCenter | Qt::AlignVCenter;
    QTest::newRow("card title") << u"repScheda"_s << u"txtTitolo"_s << u"Arial"_s << 21.333 << false
                                << white << QColor(0xFF8C00) << centre << false
                                << u"Titolo Scheda"_s;
    QTest::newRow("card caption") << u"repFoto"_s << u"titCampo07"_s << u"Arial"_s << 12.0 << false
                                  << white << QColor(0x008080) << vcentre << false << u"Campo 7"_s;
    QTest::newRow("card value") << u"repScheda"_s << u"txtCampo18"_s << u"Arial"_s << 13.333
                                << false << black << none << vcentre << false << u"Campo 18"_s;
    QTest::newRow("card footer") << u"repFoto"_s << u"txtCalce"_s << u"Arial"_s << 13.333 << false
                                 << white << QColor(0xFF8C00) << centre << false
                                 << u"Termine scheda"_s;
    QTest::newRow("notes caption") << u"repScheda"_s << u"Memo1"_s << u"Arial"_s << 8.0 << false
                                   << black << none << vcentre << false << u"SPAZIO PER APPUNTI:"_s;
    QTest::newRow("list name") << u"repDocumento"_s << u"txtNome"_s << u"Arial"_s << 10.667 << false
                               << black << none << left << false << u"NOME LISTINO PREZZI"_s;
    QTest::newRow("product name") << u"repDocumento"_s << u"txtNome_C"_s << u"Arial"_s << 21.333
                                  << true << QColor(0xA52A2A) << none << vcentre << false
                                  << u"NOME PRODOTTO"_s;
    QTest::newRow("features") << u"repDocumento"_s << u"txtCaratteristiche_H"_s << u"Arial"_s
                              << 13.333 << false << black << none << vcentre << false
                              << u"CARATTERISTICHE DEL PRODOTTO"_s;
    QTest::newRow("code") << u"repDocumento"_s << u"txtCodice_B"_s << u"Arial"_s << 21.333 << true
                          << QColor(0x000080) << none << vcentre << false << u"CODICE XYZ"_s;
    QTest::newRow("price") << u"repDocumento"_s << u"txtPrezzo_G"_s << u"Arial"_s << 21.333 << true
                           << black << none << int(Qt::AlignRight | Qt::AlignVCenter) << false
                           << u"0,00"_s;
    QTest::newRow("page number") << u"repDocumento"_s << u"txtPagina"_s << u"Arial"_s << 10.667
                                 << false << black << none << centre << false << u"Pagina"_s;
    QTest::newRow("list title") << u"repRiepilogo"_s << u"txtTitolo"_s << u"Verdana"_s << 12.0
                                << true << white << QColor(0x708090)
                                << int(Qt::AlignHCenter | Qt::AlignTop) << true << u"Riepilogo"_s;
    QTest::newRow("list lines") << u"repRiepilogo"_s << u"txtRiepilogo"_s << u"Courier New"_s
                                << 10.667 << false << black << none << left << false << QString();
    QTest::newRow("list footer") << u"repRiepilogo"_s << u"txtPagina"_s << u"Verdana"_s << 10.667
                                 << true << white << QColor(0x708090)
                                 << int(Qt::AlignHCenter | Qt::AlignTop) << true
                                 << u"Stampa eseguita in data [DATE]"_s;
}

void ReportDesignsTest::looks()
{
    QFETCH(QString, design);
    QFETCH(QString, object);
    QFETCH(QString, family);
    QFETCH(double, height);
    QFETCH(bool, bold);
    QFETCH(QColor, color);
    QFETCH(QColor, fill);
    QFETCH(int, alignment);
    QFETCH(bool, wrap);
    QFETCH(QString, text);
    auto report = maker(design)();
    const TMemoView *memo = report->findMemo(object);
    QVERIFY(memo);
    QCOMPARE(memo->Font.family(), family);
    QVERIFY(qAbs(memo->FontHeight - height) < 0.001);
    QCOMPARE(memo->Font.bold(), bold);
    QCOMPARE(memo->FontColor, color);
    QCOMPARE(memo->Fill, fill);
    QCOMPARE(int(memo->HAlign | memo->VAlign), alignment);
    QCOMPARE(memo->WordWrap, wrap);
    QCOMPARE(memo->text(), text);
    // Card and price-list texts print literally; only the list footer has an expression.
    QCOMPARE(memo->Expressions, design == u"repRiepilogo" && object != u"txtRiepilogo");
}

void ReportDesignsTest::slotsRepeatDownThePage()
{
    auto report = ReportDesigns::repDocumento();
    const QStringList names = {u"imgFoto_"_s,   u"txtNome_"_s,
                               u"txtUM_"_s,     u"txtCaratteristiche_"_s,
                               u"txtCodice_"_s, u"txtPrezzo_"_s};
    for (int slot = 0; slot < 8; ++slot) {
        const double dy = ReportUnits::mm(33) * slot;
        const QString frame = slot == 0 ? u"Shape19"_s : u"Shape%1"_s.arg(slot);
        QVERIFY(qAbs(report->FindObject(frame)->Top - (ReportUnits::mm(6) + dy)) < 1e-9);
        for (const QString &name : names) {
            const TReportObject *a = report->FindObject(name + u'A');
            const TReportObject *k = report->FindObject(name + ReportDesigns::slotLetter(slot));
            QVERIFY2(k, qPrintable(name + ReportDesigns::slotLetter(slot)));
            QCOMPARE(k->kind(), a->kind());
            QVERIFY(qAbs(k->Top - (a->Top + dy)) < 1e-9);
            QCOMPARE(k->Left, a->Left);
        }
    }
    QVERIFY(!report->FindObject(u"Shape8"_s));
    QVERIFY(qAbs(report->FindObject(u"Shape7"_s)->box().bottom() - ReportUnits::mm(267)) < 1e-9);
}

void ReportDesignsTest::pdfHoldsTheTextsAtTheirSizes_data()
{
    QTest::addColumn<QString>("design");
    QTest::addColumn<QStringList>("expected");
    // Every size the design's texts have, in points, ascending.
    QTest::addColumn<QList<double>>("points");
    QTest::newRow("card") << u"repScheda"_s
                          << QStringList{u"Titolo Scheda"_s, u"Campo 1"_s, u"Campo 18"_s,
                                         u"SPAZIO PER APPUNTI:"_s, u"Termine scheda"_s}
                          << QList<double>{6, 9, 10, 16};
    QTest::newRow("card with photo")
        << u"repFoto"_s << QStringList{u"Titolo Scheda"_s, u"Campo 17"_s, u"Termine scheda"_s}
        << QList<double>{9, 10, 16};
    QTest::newRow("price list") << u"repDocumento"_s
                                << QStringList{u"NOME LISTINO PREZZI"_s,
                                               u"NOME PRODOTTO"_s,
                                               u"ASPETTO ESTERIORE DEL BENE"_s,
                                               u"CARATTERISTICHE DEL PRODOTTO"_s,
                                               u"CODICE XYZ"_s,
                                               u"0,00"_s,
                                               u"Pagina"_s}
                                << QList<double>{8, 10, 16};
    QTest::newRow("list") << u"repRiepilogo"_s
                          << QStringList{u"Riepilogo"_s, u"[riga] con parentesi"_s,
                                         u"Stampa eseguita in data "_s +
                                             QDate::currentDate().toString(u"dd/MM/yyyy"_s)}
                          << QList<double>{8, 9};
}

// The texts reach the file literally, each at exactly the size of its design: a size
// rounded to whole pixels (8 pt as 8.25 pt) fails.
void ReportDesignsTest::pdfHoldsTheTextsAtTheirSizes()
{
    QFETCH(QString, design);
    QFETCH(QStringList, expected);
    QFETCH(QList<double>, points);
    auto report = maker(design)();
    if (design == u"repRiepilogo")
        ListReport::fill(*report, u"Riepilogo"_s, {u"[riga] con parentesi"_s});
    report->PrepareReport(true);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(design + u".pdf"_s);
    QVERIFY(Sheets::toPdf(*report, pdf));
    QCOMPARE(Sheets::pdfPages(pdf), 1);
    const QString text = Sheets::pdfText(pdf);
    for (const QString &piece : expected)
        QVERIFY2(text.contains(piece), qPrintable(piece + u" not in:\n"_s + text));

    QCOMPARE(Pdf::fontSizes(pdf), points);
}

SCAFFARIA_TEST(ReportDesignsTest)
#include "tst_designs.moc"
