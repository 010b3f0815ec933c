#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "printing/anteprimamag.h"
#include "printing/cardsheet.h"
#include "printing/report.h"
#include "printing/reportwindow.h"
#include "printing/stampamag.h"
#include "sheets.h"
#include "support/pdf.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/magazzino.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs `act` on the card sheet screen as soon as the card screen's button has opened it.
void withSheetScreen(QAbstractButton *opener, std::function<void(CardPrintDialog &)> act)
{
    bool reached = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<CardPrintDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        reached = true;
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    QTest::mouseClick(opener, Qt::LeftButton);
    QVERIFY(reached);
    QVERIFY(!QApplication::activeModalWidget());
}

} // namespace

class CardSheetTest final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void costLine_data();
    void costLine();
    void rowsFromTheCard_data();
    void rowsFromTheCard();
    void rowsFromTheCardScreen();
    void previewAndPrint_data();
    void previewAndPrint();
    void notANumberKeepsTheScreen_data();
    void notANumberKeepsTheScreen();
    void cancelWritesNothing();

private:
    TempProgramFolder *m_folder = nullptr;
    QWidget *m_hub = nullptr;
    TfrmMagazzino *m_card = nullptr;
    QString m_pdf;
};

void CardSheetTest::init()
{
    m_folder = new TempProgramFolder;
    m_pdf = m_folder->file(u"sheet.pdf"_s);
    ReportWindow::setPdfForTests(m_pdf);
    m_hub = new QWidget;
    screens().hub = m_hub;
    m_card = new TfrmMagazzino;
    m_card->show();
}

void CardSheetTest::cleanup()
{
    ReportWindow::setPdfForTests(QString());
    delete m_card;
    delete m_hub;
    screens().hub = nullptr;
    delete m_folder;
}

void CardSheetTest::costLine_data()
{
    QTest::addColumn<QString>("cost");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("line");
    const QString bad = u"Attenzione: il valore '%1' non è un numero valido."_s;
    QTest::newRow("whole total") << u"10,00"_s << u"4"_s
                                 << u"Costo unitario (€ 10,00) x giacenza (4 pezzi) = € 40"_s;
    QTest::newRow("decimal total")
        << u"12,50"_s << u"3"_s << u"Costo unitario (€ 12,50) x giacenza (3 pezzi) = € 37,5"_s;
    QTest::newRow("blanks trimmed")
        << u" 2 "_s << u" 3"_s << u"Costo unitario (€ 2) x giacenza (3 pezzi) = € 6"_s;
    QTest::newRow("nothing in stock")
        << u"0,00"_s << u"0"_s << u"Costo unitario (€ 0,00) x giacenza (0 pezzi) = € 0"_s;
    QTest::newRow("point as separator") << u"12.50"_s << u"3"_s << bad.arg(u"12.50"_s);
    QTest::newRow("letters in stock") << u"1,00"_s << u"tre"_s << bad.arg(u"tre"_s);
    QTest::newRow("stock is read first") << u"x"_s << u"y"_s << bad.arg(u"y"_s);
}

void CardSheetTest::costLine()
{
    QFETCH(QString, cost);
    QFETCH(QString, stock);
    QFETCH(QString, line);
    QString got;
    try {
        got = CardSheet::costLine(cost, stock);
    } catch (const NotANumber &failure) {
        got = QString::fromUtf8(failure.what());
    }
    QCOMPARE(got, line);
}

void CardSheetTest::rowsFromTheCard_data()
{
    QTest::addColumn<bool>("withPhoto");
    QTest::newRow("with photo") << true;
    QTest::newRow("without photo") << false;
}

void CardSheetTest::rowsFromTheCard()
{
    QFETCH(bool, withPhoto);
    CardSheetData card;
    card.codice = u"  ABC-1 "_s;
    card.costo = u"12,50"_s;
    card.nome = u"Vaso"_s;
    card.giacenza = u"3"_s;
    card.um = u"Ceramica"_s;
    card.tipologia = u"Casa"_s;
    card.caratteristiche = u"Smaltato"_s;
    card.collocazione = u"Scaffale 4"_s;
    card.ditta = u"Fornace"_s;
    card.agente = u"Rossi"_s;
    card.recapito = u"0123"_s;
    card.documento = u"Fattura 7"_s;
    card.pagamento = u"30 gg"_s;
    card.dataSca = u"01/02/2025"_s;
    card.note = QString(300, u'N');
    card.prezzo = u"20,00"_s;
    card.pagato = true;
    card.photo = QImage(30, 60, QImage::Format_RGB32);
    card.photo.fill(Qt::red);

    auto sheet = CardSheet::build(card, withPhoto, QDateTime(QDate(2025, 1, 9), QTime(14, 5, 9)));
    QCOMPARE(sheet->Name, withPhoto ? u"repFoto"_s : u"repScheda"_s);
    const QStringList captions = {u"Codice articolo:"_s,
                                  u"Costo unitario:"_s,
                                  u"Nome prodotto:"_s,
                                  u"Giacenza attuale:"_s,
                                  u"Aspetto esteriore del bene:"_s,
                                  u"Categoria merceologica:"_s,
                                  u"Caratteristiche:"_s,
                                  u"Collocazione in magazzino:"_s,
                                  u"Ditta fornitrice:"_s,
                                  u"Agente:"_s,
                                  u"Recapito telefonico"_s,
                                  u"Documento di acquisto:"_s,
                                  u"Modalità di pagamento:"_s,
                                  u"Data scadenza:"_s,
                                  u"Note:"_s,
                                  u"Prezzo di vendita:"_s,
                                  u"Valore totale:"_s,
                                  u"Pagato:"_s};
    const QStringList values = {u"ABC-1"_s,
                                u"12,50"_s,
                                u"Vaso"_s,
                                u"3"_s,
                                u"Ceramica"_s,
                                u"Casa"_s,
                                u"Smaltato"_s,
                                u"Scaffale 4"_s,
                                u"Fornace"_s,
                                u"Rossi"_s,
                                u"0123"_s,
                                u"Fattura 7"_s,
                                u"30 gg"_s,
                                u"01/02/2025"_s,
                                QString(300, u'N'),
                                u"20,00"_s,
                                u"Costo unitario (€ 12,50) x giacenza (3 pezzi) = € 37,5"_s,
                                u"Sì"_s};
    sheet->PrepareReport(true);
    const PreparedPage &page = sheet->preparedPages().first();
    QCOMPARE(page.find(u"txtTitolo"_s)->lines, QStringList{u"SCHEDA PRODOTTO"_s});
    for (int n = 1; n <= 18; ++n) {
        const QString number = u"%1"_s.arg(n, 2, 10, QChar(u'0'));
        QCOMPARE(page.find(u"titCampo"_s + number)->lines, QStringList{captions.at(n - 1)});
        QCOMPARE(page.find(u"txtCampo"_s + number)->lines, QStringList{values.at(n - 1)});
    }
    QCOMPARE(page.find(u"txtCalce"_s)->lines,
             QStringList{u"Stampa eseguita in data 09/01/2025 alle ore 14:05:09"_s});
    QCOMPARE(bool(page.find(u"imgFoto"_s)), withPhoto);
    QCOMPARE(bool(page.find(u"Shape1"_s)), !withPhoto);
    if (withPhoto)
        QCOMPARE(page.find(u"imgFoto"_s)->picture.size(), QSize(30, 60));

    card.pagato = false;
    sheet = CardSheet::build(card, withPhoto, QDateTime::currentDateTime());
    QCOMPARE(sheet->findMemo(u"txtCampo18"_s)->text(), u"No"_s);
}

// The card screen hands the sheet each field of the card it shows, in the sheet's rows.
void CardSheetTest::rowsFromTheCardScreen()
{
    using S = TSchedaProdotto;
    TSchedaProdotto card;
    const auto &fields = S::fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        card.*fields[i].member = u"campo %1"_s.arg(i);
    card.Costo = u"2,50"_s;
    card.Giacenza = u"4"_s;
    card.Pagato = S::paidYes();
    m_card->MostraScheda(card, 1);

    auto sheet = CardSheet::build(CardSheet::dataFrom(m_card->sheetCard()), false,
                                  QDateTime::currentDateTime());
    sheet->PrepareReport(true);
    const PreparedPage &page = sheet->preparedPages().first();
    const S::Index rows[] = {S::iCodice,          S::iCosto,        S::iNome,
                             S::iGiacenza,        S::iUM,           S::iTipologia,
                             S::iCaratteristiche, S::iCollocazione, S::iDitta,
                             S::iAgente,          S::iRecapito,     S::iDocumento,
                             S::iPagamento,       S::iDataSca,      S::iNote,
                             S::iPrezzo};
    for (int n = 1; n <= int(std::size(rows)); ++n) {
        const QString expected = card.*fields[static_cast<std::size_t>(rows[n - 1])].member;
        QCOMPARE(page.find(u"txtCampo%1"_s.arg(n, 2, 10, QChar(u'0')))->lines,
                 QStringList{expected});
    }
    QCOMPARE(page.find(u"txtCampo18"_s)->lines, QStringList{u"Sì"_s});
}

void CardSheetTest::previewAndPrint_data()
{
    QTest::addColumn<bool>("print");
    QTest::addColumn<bool>("withPhoto");
    QTest::addColumn<bool>("confirm");  // the print dialog's answer
    QTest::addColumn<bool>("byToggle"); // the choice made by assistive technology's toggle
    QTest::newRow("preview with photo") << false << true << true << false;
    QTest::newRow("preview without photo") << false << false << true << false;
    QTest::newRow("print with photo") << true << true << true << false;
    QTest::newRow("print cancelled") << true << false << false << false;
    QTest::newRow("print without photo, toggled") << true << false << true << true;
}

void CardSheetTest::previewAndPrint()
{
    QFETCH(bool, print);
    QFETCH(bool, withPhoto);
    QFETCH(bool, confirm);
    QFETCH(bool, byToggle);
    Recorder rec;
    if (print)
        rec.printAnswers = {confirm};
    m_card->txtCodice->setText(u"ART-9"_s);
    m_card->txtCosto->setText(u"10,00"_s);
    m_card->txtGiacenza->setText(u"  "_s);
    m_card->txtNome->setText(u"  Lampada da tavolo  "_s);
    m_card->chkPagato->setChecked(true);
    QImage photo(200, 100, QImage::Format_RGB32);
    photo.fill(Qt::red);
    m_card->imgFoto->setPicture(photo);

    withSheetScreen(
        print ? static_cast<QAbstractButton *>(m_card->btnStampa)
              : static_cast<QAbstractButton *>(m_card->btnAnteprima),
        [&](CardPrintDialog &dialog) {
            QCOMPARE(dialog.windowTitle(), print ? u" Stampa scheda"_s : u" Anteprima di stampa"_s);
            QCOMPARE(dialog.size(), QSize(364, 361));
            QCOMPARE(bool(qobject_cast<TfrmStampaMag *>(&dialog)), print);
            QVERIFY(dialog.optUno->isChecked());
            QCOMPARE(dialog.optUno->text(),
                     print ? u"Stampa dati con foto."_s : u"Anteprima dati con foto."_s);
            QCOMPARE(dialog.btnStampa->text(), print ? u"Stampa"_s : u"Mostra anteprima"_s);
            QCOMPARE(dialog.lblMemory->text(), u"con"_s);
            QCOMPARE(dialog.imgLogo->pixmap().size(), QSize(200, 100));
            if (!withPhoto && byToggle) {
                QAccessibleInterface *choice = QAccessible::queryAccessibleInterface(dialog.optDue);
                QVERIFY(choice && choice->actionInterface());
                choice->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
                QVERIFY(dialog.optDue->isChecked());
                QCOMPARE(dialog.lblMemory->text(), u"senza"_s);
            } else if (!withPhoto) {
                QTest::mouseClick(dialog.optDue, Qt::LeftButton);
                QCOMPARE(dialog.lblMemory->text(), u"senza"_s);
            }
            QTest::mouseClick(dialog.btnStampa, Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
        });

    QVERIFY2(rec.unexpected.isEmpty(), qPrintable(rec.unexpected.join(u", ")));
    QVERIFY(rec.printAnswers.isEmpty());
    QVERIFY(rec.messages.isEmpty());
    QCOMPARE(m_card->txtGiacenza->text(), u"0"_s);
    QCOMPARE(QFile::exists(m_pdf), confirm);
    if (!confirm)
        return;
    const QString text = Sheets::pdfText(m_pdf);
    for (const QString &piece :
         {u"SCHEDA PRODOTTO"_s, u"Codice articolo:"_s, u"ART-9"_s, u"Lampada da tavolo"_s,
          u"Giacenza attuale:"_s, u"Costo unitario (€ 10,00) x giacenza (0 pezzi) = € 0"_s,
          u"Pagato:"_s, u"Sì"_s,
          u"Stampa eseguita in data "_s + QDate::currentDate().toString(u"dd/MM/yyyy"_s) +
              u" alle ore "_s})
        QVERIFY2(text.contains(piece), qPrintable(piece));
    QCOMPARE(text.contains(u"SPAZIO PER APPUNTI:"_s), !withPhoto);
    // The folder icon, and the photo on the sheet that has one.
    QCOMPARE(Sheets::pdfPictures(m_pdf), withPhoto ? 2 : 1);
    // Printed at the printer's resolution, every text at the size its design gives.
    const QList<double> sizes = withPhoto ? QList<double>{9, 10, 16} : QList<double>{6, 9, 10, 16};
    QCOMPARE(Pdf::fontSizes(m_pdf), sizes);
}

void CardSheetTest::notANumberKeepsTheScreen_data()
{
    QTest::addColumn<QString>("cost");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("message");
    QTest::newRow("cost with a point")
        << u"12.50"_s << u"2"_s << u"Attenzione: il valore '12.50' non è un numero valido."_s;
    QTest::newRow("stock in letters")
        << u""_s << u"due"_s << u"Attenzione: il valore 'due' non è un numero valido."_s;
}

void CardSheetTest::notANumberKeepsTheScreen()
{
    QFETCH(QString, cost);
    QFETCH(QString, stock);
    QFETCH(QString, message);
    Recorder rec;
    m_card->txtCosto->setText(cost);
    m_card->txtGiacenza->setText(stock);
    withSheetScreen(m_card->btnStampa, [&](CardPrintDialog &dialog) {
        QTest::mouseClick(dialog.btnStampa, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QVERIFY(rec.showedOnly(Recorder::Kind::Plain, message));
        QTest::mouseClick(dialog.btnAnnulla, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    });
    QVERIFY(rec.unexpected.isEmpty()); // no print dialog
    QVERIFY(!QFile::exists(m_pdf));
    // The empty cost was set to zero before the failure and stays so.
    QCOMPARE(m_card->txtCosto->text(), cost.isEmpty() ? u"0,00"_s : cost);
}

void CardSheetTest::cancelWritesNothing()
{
    Recorder rec;
    m_card->txtGiacenza->clear();
    m_card->imgFoto->setPicture(QImage());
    withSheetScreen(m_card->btnAnteprima, [&](CardPrintDialog &dialog) {
        // Without a photo on the card screen the sheet gets the placeholder.
        QCOMPARE(dialog.imgLogo->pixmap().toImage(), dialog.imgBianco->pixmap().toImage());
        QVERIFY(!dialog.imgLogo->pixmap().isNull());
        QTest::mouseClick(dialog.btnAnnulla, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    });
    QVERIFY(rec.messages.isEmpty());
    QVERIFY(!QFile::exists(m_pdf));
    QCOMPARE(m_card->txtGiacenza->text(), QString());
}

SCAFFARIA_TEST(CardSheetTest)
#include "tst_cardsheet.moc"
