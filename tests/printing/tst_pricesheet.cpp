#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/picturefile.h"
#include "common/screens.h"
#include "pricelist/listinoprezzi.h"
#include "pricelist/slotlistino.h"
#include "printing/anteprimaprodotto.h"
#include "printing/designs.h"
#include "printing/pricesheet.h"
#include "printing/report.h"
#include "printing/reportwindow.h"
#include "printing/stampaprodotto.h"
#include "sheets.h"
#include "support/recorder.h"
#include "support/testmain.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

QImage solid(QSize size, const QColor &color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

std::array<QImage, 8> slotPictures()
{
    std::array<QImage, 8> pictures;
    for (int slot = 0; slot < 8; ++slot)
        pictures[static_cast<std::size_t>(slot)] = solid(QSize(100 + 50 * slot, 300 - 20 * slot),
                                                         QColor::fromHsv(slot * 40, 200, 200));
    return pictures;
}

PriceSheetData dolciPage()
{
    PriceSheetData page;
    page.listName = u" Dolci "_s;
    page.pageNumber = u"3"_s;
    for (int slot = 0; slot < 8; ++slot) {
        PriceSlotData &s = page.products[static_cast<std::size_t>(slot)];
        const QString letter = ReportDesigns::slotLetter(slot);
        s.picture = solid(PriceThumbnails::kSize, Qt::darkGreen);
        s.nome = u" Torta "_s + letter;
        s.um = u"Vassoio "_s + letter;
        s.caratteristiche = u"Al cioccolato "_s + letter;
        s.codice = u"DOL-"_s + letter;
        s.prezzo = u"1%1,50"_s.arg(slot);
    }
    page.products[5] = PriceSlotData(); // an empty slot F
    return page;
}

} // namespace

class PriceSheetTest final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void thumbnailsOfAList();
    void thumbnailStepStopsAtFirstFailure();
    void sheetFromThePage();
    void previewAndPrint_data();
    void previewAndPrint();
    void fromThePageScreen();
    void thumbnailsThatCannotBeWritten_data();
    void thumbnailsThatCannotBeWritten();
    void plantedLinkAtThumbnailLeftUntouched();

private:
    // Shows the page screen on a new page of the list Dolci in the test's folder.
    void showDolci(TfrmListinoPrezzi &screen) const
    {
        screen.lblFile->setText(m_folder->file(u"Dolci.lis"_s));
        screen.lblNome->setText(u"Dolci"_s);
        screen.show();
    }

    TempProgramFolder *m_folder = nullptr;
    QString m_pdf;
};

void PriceSheetTest::init()
{
    m_folder = new TempProgramFolder;
    m_pdf = m_folder->file(u"listino.pdf"_s);
    ReportWindow::setPdfForTests(m_pdf);
}

void PriceSheetTest::cleanup()
{
    ReportWindow::setPdfForTests(QString());
    delete m_folder;
}

void PriceSheetTest::thumbnailsOfAList()
{
    QCOMPARE(PriceThumbnails::write(u" Dolci "_s, slotPictures()), 8);
    const QStringList files = QDir(m_folder->file(u"Foto_Listino"_s)).entryList(QDir::Files);
    QCOMPARE(files, QStringList({u"Dolci_Anteprima_A.jpg"_s, u"Dolci_Anteprima_B.jpg"_s,
                                 u"Dolci_Anteprima_C.jpg"_s, u"Dolci_Anteprima_D.jpg"_s,
                                 u"Dolci_Anteprima_E.jpg"_s, u"Dolci_Anteprima_F.jpg"_s,
                                 u"Dolci_Anteprima_G.jpg"_s, u"Dolci_Anteprima_H.jpg"_s}));
    QList<QImage> back = PriceThumbnails::read(u"Dolci"_s);
    QCOMPARE(back.size(), 8);
    for (const QImage &thumbnail : back)
        QCOMPARE(thumbnail.size(), QSize(366, 274)); // stretched whatever the proportions

    // Another page of the same list overwrites them.
    std::array<QImage, 8> white;
    white.fill(solid(QSize(10, 10), Qt::white));
    QCOMPARE(PriceThumbnails::write(u"Dolci"_s, white), 8);
    back = PriceThumbnails::read(u"Dolci"_s);
    QVERIFY(qGray(back.at(3).pixel(180, 130)) > 240);
}

void PriceSheetTest::thumbnailStepStopsAtFirstFailure()
{
    std::array<QImage, 8> pictures = slotPictures();
    pictures[2] = QImage(); // slot C holds no picture
    QCOMPARE(PriceThumbnails::write(u"Dolci"_s, pictures), 2);
    QVERIFY(QFile::exists(PriceThumbnails::filePath(u"Dolci"_s, 1)));
    QVERIFY(!QFile::exists(PriceThumbnails::filePath(u"Dolci"_s, 3)));
    QCOMPARE(PriceThumbnails::read(u"Dolci"_s).size(), 2);

    // A file where the folder should be: nothing is written, nothing is read.
    QDir(m_folder->file(u"Foto_Listino"_s)).removeRecursively();
    QFile blocker(m_folder->file(u"Foto_Listino"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QCOMPARE(PriceThumbnails::write(u"Dolci"_s, slotPictures()), 0);
    QCOMPARE(PriceThumbnails::read(u"Dolci"_s).size(), 0);
}

void PriceSheetTest::sheetFromThePage()
{
    PriceSheetData page = dolciPage();
    page.products[0].nome = QString(200, u'M');
    auto sheet = PriceSheet::build(page);
    page.products[1].picture.fill(Qt::red); // later changes do not reach the sheet
    sheet->PrepareReport(true);
    QCOMPARE(sheet->preparedPages().size(), 1);
    const PreparedPage &prepared = sheet->preparedPages().first();
    const auto text = [&](const QString &name) { return prepared.find(name)->lines; };
    QCOMPARE(text(u"txtNome"_s), QStringList{u"Dolci"_s});
    QCOMPARE(text(u"txtPagina"_s), QStringList{u"3"_s});
    QCOMPARE(text(u"txtNome_A"_s), QStringList{QString(200, u'M')}); // one line, cut at the box
    QCOMPARE(text(u"txtNome_B"_s), QStringList{u"Torta B"_s});
    QCOMPARE(text(u"txtUM_H"_s), QStringList{u"Vassoio H"_s});
    QCOMPARE(text(u"txtCaratteristiche_C"_s), QStringList{u"Al cioccolato C"_s});
    QCOMPARE(text(u"txtCodice_G"_s), QStringList{u"DOL-G"_s});
    QCOMPARE(text(u"txtPrezzo_D"_s), QStringList{u"€  13,50"_s});
    QCOMPARE(text(u"txtPrezzo_F"_s), QStringList{u"€  "_s});
    QCOMPARE(text(u"txtNome_F"_s), QStringList{QString()});
    QCOMPARE(prepared.find(u"imgFoto_B"_s)->picture.pixelColor(5, 5), QColor(Qt::darkGreen));
    QVERIFY(prepared.find(u"imgFoto_F"_s)->picture.isNull());
    // Every frame prints, empty products included; the thumbnail nearly fills its box.
    for (const QString &frame : {u"Shape19"_s, u"Shape1"_s, u"Shape4"_s, u"Shape7"_s})
        QVERIFY(prepared.find(frame));
    const PreparedItem *photo = prepared.find(u"imgFoto_A"_s);
    QVERIFY(qAbs(photo->pictureRect.height() - photo->box.height()) < 0.01);
    QVERIFY(photo->pictureRect.width() > photo->box.width() - 3);
    QVERIFY(qAbs(photo->pictureRect.center().x() - photo->box.center().x()) < 0.01);
}

void PriceSheetTest::previewAndPrint_data()
{
    QTest::addColumn<bool>("print");
    QTest::addColumn<bool>("confirm");
    QTest::newRow("preview") << false << true;
    QTest::newRow("print") << true << true;
    QTest::newRow("print cancelled") << true << false;
}

void PriceSheetTest::previewAndPrint()
{
    QFETCH(bool, print);
    QFETCH(bool, confirm);
    Recorder rec;
    if (print)
        rec.printAnswers = {confirm};
    QWidget pageScreen;
    pageScreen.show();
    int reads = 0;
    const auto source = [&] {
        ++reads;
        return dolciPage();
    };
    std::unique_ptr<PricePrintDialog> dialog;
    if (print)
        dialog = std::make_unique<TfrmStampaProdotto>(&pageScreen, source);
    else
        dialog = std::make_unique<TfrmAnteprimaProdotto>(&pageScreen, source);
    QCOMPARE(dialog->windowTitle(), print ? u" Stampa scheda"_s : u" Anteprima di stampa"_s);
    QCOMPARE(dialog->size(), QSize(364, 287));
    QCOMPARE(dialog->btnStampa->text(), print ? u"Stampa"_s : u"Mostra anteprima"_s);
    QCOMPARE(dialog->btnAnnulla->text(), u"Annulla"_s);

    QTimer::singleShot(0, [&] {
        QCOMPARE(QApplication::activeModalWidget(), dialog.get());
        QCOMPARE(reads, 0); // the page is read when the user confirms
        QTest::mouseClick(dialog->btnStampa, Qt::LeftButton);
    });
    dialog->exec();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(reads, 1);
    QVERIFY(rec.unexpected.isEmpty());
    QVERIFY(rec.printAnswers.isEmpty());
    QCOMPARE(QFile::exists(m_pdf), confirm);
    if (!confirm)
        return;
    const QString text = Sheets::pdfText(m_pdf);
    for (const QString &piece : {u"Dolci"_s, u"Torta A"_s, u"Vassoio C"_s, u"Al cioccolato H"_s,
                                 u"DOL-E"_s, u"17,50"_s, u"€"_s})
        QVERIFY2(text.contains(piece), qPrintable(piece + u"\n"_s + text));
    QVERIFY(text.trimmed().endsWith(u"3"_s)); // the page number alone at the foot
    QVERIFY(!text.contains(u"Pagina"_s));
    QCOMPARE(Sheets::pdfPictures(m_pdf), 7); // slot F has no picture
}

void PriceSheetTest::fromThePageScreen()
{
    Recorder rec;
    QWidget hub;
    screens().hub = &hub;
    TfrmListinoPrezzi screen;
    showDolci(screen);
    screen.lblPosizione->setText(u"2"_s);
    screen.voce(0)->setPicture(solid(QSize(40, 80), Qt::red));
    screen.voce(0)->txtNome->setText(u"Cannolo"_s);
    screen.voce(7)->txtPrezzo->setText(u"3,20"_s);

    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<TfrmAnteprimaProdotto *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        opened = true;
        // The slots already show the thumbnails when the screen opens.
        QCOMPARE(screen.voce(0)->picture().size(), PriceThumbnails::kSize);
        screen.voce(0)->txtNome->setText(u"Cannolo siciliano"_s); // read at confirmation
        QTest::mouseClick(dialog->btnStampa, Qt::LeftButton);
    });
    QTest::mouseClick(screen.cmdAnteprima, Qt::LeftButton);
    QVERIFY(opened);
    QVERIFY(!QApplication::activeModalWidget());
    for (int slot = 0; slot < 8; ++slot)
        QVERIFY(QFile::exists(m_folder->file(
            u"Foto_Listino/Dolci_Anteprima_%1.jpg"_s.arg(ReportDesigns::slotLetter(slot)))));
    const QString text = Sheets::pdfText(m_pdf);
    for (const QString &piece : {u"Dolci"_s, u"Cannolo siciliano"_s, u"3,20"_s})
        QVERIFY2(text.contains(piece), qPrintable(piece + u"\n"_s + text));
    QVERIFY(text.trimmed().endsWith(u"2"_s));
    QVERIFY(rec.messages.isEmpty());
    screens().hub = nullptr;
}

// A link planted at a thumbnail's name points at a file elsewhere: the thumbnail step
// writes nothing through it and reads nothing back through it.
void PriceSheetTest::plantedLinkAtThumbnailLeftUntouched()
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(u"altrui.jpg"_s);
    QVERIFY(solid(QSize(20, 20), Qt::green).save(target, "jpg"));
    QFile before(target);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray theirs = before.readAll();
    before.close();
    QVERIFY(QDir().mkpath(m_folder->file(u"Foto_Listino"_s)));
    const QString planted = PriceThumbnails::filePath(u"Dolci"_s, 0);
    QVERIFY(QFile::link(target, planted));

    std::array<QImage, 8> pictures;
    pictures.fill(solid(QSize(60, 50), Qt::blue));
    QCOMPARE(PriceThumbnails::write(u"Dolci"_s, pictures), 0);
    QVERIFY(PriceThumbnails::read(u"Dolci"_s, 1).isEmpty());
    QVERIFY(before.open(QIODevice::ReadOnly));
    QCOMPARE(before.readAll(), theirs);
    QVERIFY(QFileInfo(planted).isSymLink());
}

SCAFFARIA_TEST(PriceSheetTest)
#include "tst_pricesheet.moc"

void PriceSheetTest::thumbnailsThatCannotBeWritten_data()
{
    QTest::addColumn<int>("firstRefused"); // slot whose thumbnail write fails, and all after it
    QTest::newRow("full disk from the start") << 0;
    QTest::newRow("full disk from slot D") << 3;
}

// A preview whose thumbnails cannot all be written shows the slots' own pictures, never the
// files an earlier preview left, and a later save stores each slot's own picture.
void PriceSheetTest::thumbnailsThatCannotBeWritten()
{
    QFETCH(int, firstRefused);
    Recorder rec;
    QWidget hub;
    screens().hub = &hub;
    TfrmListinoPrezzi screen;
    showDolci(screen);
    const auto preview = [&](const std::function<void()> &check) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            opened = true;
            check();
            dialog->reject();
        });
        QTest::mouseClick(screen.cmdAnteprima, Qt::LeftButton);
        QVERIFY(opened);
    };

    // An earlier preview leaves red thumbnails in the folder.
    for (int slot = 0; slot < 8; ++slot)
        screen.voce(slot)->setPicture(solid(QSize(40, 80), Qt::red));
    preview([] {});
    QVERIFY(QFile::exists(PriceThumbnails::filePath(u"Dolci"_s, 7)));

    const QImage blue = solid(QSize(60, 50), Qt::blue);
    for (int slot = 0; slot < 8; ++slot)
        screen.voce(slot)->setPicture(blue);
    PictureFile::setWriteCheckForTests([firstRefused](const QString &path) {
        for (int slot = firstRefused; slot < 8; ++slot)
            if (path == PriceThumbnails::filePath(u"Dolci"_s, slot))
                return false;
        return true;
    });
    preview([&] {
        for (int slot = 0; slot < 8; ++slot) {
            const QImage shown = screen.voce(slot)->picture();
            if (slot < firstRefused) {
                QCOMPARE(shown.size(), PriceThumbnails::kSize);
                QVERIFY(qBlue(shown.pixel(180, 130)) > 200 && qRed(shown.pixel(180, 130)) < 60);
            } else {
                QCOMPARE(shown, blue);
            }
        }
    });
    PictureFile::setWriteCheckForTests({});

    screen.voce(0)->txtNome->setText(u"Torta"_s);
    screen.voce(0)->txtUM->setText(u"Vassoio"_s);
    screen.voce(0)->txtCaratteristiche->setText(u"Cioccolato"_s);
    screen.voce(0)->txtCodice->setText(u"T01"_s);
    screen.voce(0)->txtPrezzo->setText(u"12,50"_s);
    QTest::mouseClick(screen.cmdSalva, Qt::LeftButton);
    QVERIFY(rec.showedOnly(Recorder::Kind::Information,
                           u"La scheda corrente è stata inserita in archivio."_s));
    for (int slot = 0; slot < 8; ++slot) {
        const QImage stored(m_folder->file(
            u"Foto_Listino/Dolci_Foto_%1_1.jpg"_s.arg(ReportDesigns::slotLetter(slot))));
        QCOMPARE(stored.size(), PriceThumbnails::kSize);
        QVERIFY2(qBlue(stored.pixel(180, 130)) > 200 && qRed(stored.pixel(180, 130)) < 60,
                 qPrintable(ReportDesigns::slotLetter(slot)));
    }
    QVERIFY(rec.unexpected.isEmpty());
    screens().hub = nullptr;
}
