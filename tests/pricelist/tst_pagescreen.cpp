#include "common/durablefile.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "pricelist/archiviolistino.h"
#include "pricelist/fotolistino.h"
#include "pricelist/listinoprezzi.h"
#include "pricelist/slotlistino.h"
#include "support/recorder.h"
#include "support/testmain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

TPaginaListino page(int n)
{
    TPaginaListino p;
    for (TVoceListino &v : p.Voci)
        v = TVoceListino::empty();
    p.Voci[0].Nome = u"Pagina %1"_s.arg(n);
    p.Voci[7].Prezzo = u"%1,00"_s.arg(n);
    return p;
}

void writeList(const QString &path, int pages)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (int n = 1; n <= pages; ++n)
        f.write(page(n).encode());
}

QString picture(const QString &path, QSize size, Qt::GlobalColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path, "jpg");
    return path;
}

// The memory the process holds now, in MiB.
qint64 residentMiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() / 1024;
    return -1;
}

const QString kInserted = u"La scheda corrente è stata inserita in archivio."_s;
const QString kUpdated =
    u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s;

} // namespace

class PageScreen final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensOnAnEmptyPage();
    void saveAppendsThenOverwrites();
    void slotAWarnings_data();
    void slotAWarnings();
    void navigation_data();
    void navigation();
    void enterTabAndPriceRule();
    void photoDialog();
    void eightHugePicturesStaySmall();
    void hostilePagePhotosStayBounded_data();
    void hostilePagePhotosStayBounded();
    void failedSyncLeavesListAndRetryStoresOnce();
    void photoThatCannotBeWrittenIsReported();
    void accessFailureKeepsThePage();
    void controlsAndHints();

private:
    SlotListino *slot(int k) const { return m_page->voce(k); }
    void fillSlotA();
    QString listFile() const { return m_folder->file(u"Dolci.lis"_s); }

    TempProgramFolder *m_folder = nullptr;
    QWidget *m_hub = nullptr;
    TfrmListinoPrezzi *m_page = nullptr;
};

void PageScreen::init()
{
    m_folder = new TempProgramFolder;
    m_hub = new QWidget;
    screens().hub = m_hub;
    writeList(listFile(), 0);
    m_page = new TfrmListinoPrezzi;
    m_page->lblFile->setText(listFile());
    m_page->lblNome->setText(u"Dolci"_s);
    m_page->show();
    QApplication::setActiveWindow(m_page);
    QVERIFY(QTest::qWaitForWindowActive(m_page));
}

void PageScreen::cleanup()
{
    delete m_page;
    delete m_hub;
    screens().hub = nullptr;
    delete m_folder;
}

void PageScreen::fillSlotA()
{
    slot(0)->txtNome->setText(u"Torta"_s);
    slot(0)->txtUM->setText(u"Vassoio"_s);
    slot(0)->txtCaratteristiche->setText(u"Cioccolato"_s);
    slot(0)->txtCodice->setText(u"T01"_s);
    slot(0)->txtPrezzo->setText(u"12,50"_s);
}

void PageScreen::opensOnAnEmptyPage()
{
    writeList(listFile(), 2);
    Recorder rec;
    click(m_page->cmdUltimo);
    QCOMPARE(m_page->lblPosizione->text(), u"2"_s);

    for (bool viaShow : {false, true}) {
        slot(3)->setPicture(QImage(10, 10, QImage::Format_RGB32));
        if (viaShow) {
            m_page->hide();
            m_page->show();
        } else {
            click(m_page->cmdNuovo);
        }
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(slot(k)->voce(), TVoceListino::empty());
            QCOMPARE(slot(k)->picture(), m_page->placeholder());
        }
        QCOMPARE(m_page->lblPosizione->text(), QString());
        QCOMPARE(m_page->focusWidget(), slot(0)->txtNome);
    }
    QCOMPARE(m_page->placeholder().size(), QSize(136, 104));
    QCOMPARE(QFileInfo(listFile()).size(), 2 * 3696);
    QVERIFY(rec.take().isEmpty());
}

void PageScreen::saveAppendsThenOverwrites()
{
    Recorder rec;
    fillSlotA();
    rec.fileAnswers = {picture(m_folder->file(u"grande.jpg"_s), {1600, 1200}, Qt::red)};
    QTest::mouseClick(slot(0)->imgFoto, Qt::LeftButton);
    QCOMPARE(slot(0)->picture().size(), QSize(366, 274)); // the size it is stored at

    // Slot B's price is still being typed: the amount rule has not run, 12,5 is stored.
    slot(1)->txtPrezzo->setFocus();
    slot(1)->txtPrezzo->selectAll();
    QTest::keyClicks(slot(1)->txtPrezzo, u"12,5"_s);
    click(m_page->cmdSalva);
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, kInserted));
    QCOMPARE(m_page->lblPosizione->text(), u"1"_s);
    QCOMPARE(QFileInfo(listFile()).size(), 3696);
    QCOMPARE(m_page->focusWidget(), slot(1)->txtPrezzo);

    // Eight page photos of position 1, placeholders included, all 366 x 274.
    for (int k = 0; k < 8; ++k) {
        const QString name = u"Dolci_Foto_%1_1.jpg"_s.arg(TPaginaListino::letter(k));
        const QString path = QDir(m_folder->file(u"Foto_Listino"_s)).filePath(name);
        QVERIFY2(QFile::exists(path), qPrintable(name));
        QCOMPARE(QImageReader(path).size(), QSize(366, 274));
    }
    // The slot keeps the picture as chosen, at its stored size, until the page is shown again.
    QCOMPARE(slot(0)->picture().size(), QSize(366, 274));
    QVERIFY(qRed(slot(0)->picture().pixel(183, 137)) > 200);

    slot(0)->txtNome->setText(u"Torta alta"_s);
    click(m_page->cmdSalva);
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, kUpdated));
    QCOMPARE(m_page->lblPosizione->text(), u"1"_s);
    QCOMPARE(QFileInfo(listFile()).size(), 3696);

    // A second page, then back to the first: texts as stored, the photo from its file.
    click(m_page->cmdNuovo);
    fillSlotA();
    click(m_page->cmdSalva);
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, kInserted));
    QCOMPARE(m_page->lblPosizione->text(), u"2"_s);
    QVERIFY(QFile::exists(FotoListino::pagePhotoPath(u"Dolci"_s, 7, 2)));

    click(m_page->cmdPrimo);
    QCOMPARE(m_page->lblPosizione->text(), u"1"_s);
    QCOMPARE(slot(0)->txtNome->text(), u"Torta alta"_s);
    QCOMPARE(slot(1)->txtPrezzo->text(), u"12,5"_s);
    QCOMPARE(slot(2)->txtPrezzo->text(), u"0,00"_s);
    QCOMPARE(slot(0)->picture().size(), QSize(366, 274));
    const QRgb centre = slot(0)->picture().pixel(183, 137);
    QVERIFY(qRed(centre) > 240 && qGreen(centre) < 16);
    QVERIFY(rec.unexpected.isEmpty());
}

void PageScreen::slotAWarnings_data()
{
    QTest::addColumn<int>("filled"); // how many of name, appearance, features, code, price
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("what");

    QTest::newRow("name") << 0 << u"txtNome_A"_s << u"il nome del primo prodotto."_s;
    QTest::newRow("appearance, code empty too")
        << 1 << u"txtUM_A"_s << u"l'aspetto esteriore del primo prodotto."_s;
    QTest::newRow("features") << 2 << u"txtCaratteristiche_A"_s
                              << u"le caratteristiche del primo prodotto."_s;
    QTest::newRow("code") << 3 << u"txtCodice_A"_s << u"il codice articolo del primo prodotto."_s;
    QTest::newRow("price emptied")
        << 4 << u"txtPrezzo_A"_s << u"il prezzo di vendita del primo prodotto."_s;
}

void PageScreen::slotAWarnings()
{
    QFETCH(int, filled);
    QFETCH(QString, field);
    QFETCH(QString, what);

    fillSlotA();
    const QList<QLineEdit *> order = slot(0)->fieldsInOrder();
    for (int i = filled; i < order.size(); ++i)
        order[i]->setText(u"  "_s);
    // The price is emptied while it still has the focus.
    if (filled == 4)
        order[4]->setFocus();
    Recorder rec;
    click(m_page->cmdSalva);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning,
                           u"Attenzione: per salvare la scheda è necessario indicare "_s + what));
    QCOMPARE(m_page->focusWidget()->objectName(), field);
    QCOMPARE(QFileInfo(listFile()).size(), 0);
    QCOMPARE(m_page->lblPosizione->text(), QString());
    QVERIFY(!QFileInfo::exists(m_folder->file(u"Foto_Listino"_s)));
}

void PageScreen::navigation_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("empty");

    for (const char *b : {"cmdPrimo", "cmdUltimo", "cmdAvanti", "cmdIndietro"})
        QTest::addRow("empty list, %s", b)
            << 0 << QString() << QString::fromLatin1(b) << QString() << true;
    QTest::newRow("one, next from new") << 1 << QString() << u"cmdAvanti"_s << u"1"_s << false;
    QTest::newRow("one, previous on it") << 1 << u"1"_s << u"cmdIndietro"_s << u"1"_s << false;
    QTest::newRow("one, next on it") << 1 << u"1"_s << u"cmdAvanti"_s << u"1"_s << false;
    QTest::newRow("five, next from new") << 5 << QString() << u"cmdAvanti"_s << u"1"_s << false;
    QTest::newRow("five, previous from new")
        << 5 << QString() << u"cmdIndietro"_s << u"1"_s << false;
    QTest::newRow("five, last from new") << 5 << QString() << u"cmdUltimo"_s << u"5"_s << false;
    QTest::newRow("five, first") << 5 << u"4"_s << u"cmdPrimo"_s << u"1"_s << false;
    QTest::newRow("five, next") << 5 << u"3"_s << u"cmdAvanti"_s << u"4"_s << false;
    QTest::newRow("five, previous") << 5 << u"3"_s << u"cmdIndietro"_s << u"2"_s << false;
    QTest::newRow("five, next at end") << 5 << u"5"_s << u"cmdAvanti"_s << u"5"_s << false;
}

void PageScreen::navigation()
{
    QFETCH(int, pages);
    QFETCH(QString, from);
    QFETCH(QString, button);
    QFETCH(QString, shown);
    QFETCH(bool, empty);

    writeList(listFile(), pages);
    if (!from.isEmpty())
        m_page->MostraPagina(page(from.toInt()), from.toInt());
    // Unsaved typing is dropped without a question when a page is shown.
    slot(0)->txtNome->setText(u"typed"_s);

    Recorder rec;
    click(m_page->findChild<PictureButton *>(button));
    if (empty)
        QVERIFY(rec.showedOnly(Recorder::Kind::Information,
                               u"L'archivio non contiene nessuna scheda."_s));
    else
        QVERIFY(rec.take().isEmpty());
    QCOMPARE(m_page->lblPosizione->text(), shown);
    const bool moved = !shown.isEmpty() && shown != from;
    QCOMPARE(slot(0)->txtNome->text(), moved ? u"Pagina "_s + shown : u"typed"_s);
    if (moved)
        QCOMPARE(slot(7)->txtPrezzo->text(), shown + u",00"_s);
    QCOMPARE(QFileInfo(listFile()).size(), pages * 3696);
}

void PageScreen::enterTabAndPriceRule()
{
    // Enter five times from slot A's name lands on slot B's name; Tab follows the same road.
    slot(0)->txtNome->setFocus();
    const QList<QLineEdit *> a = slot(0)->fieldsInOrder();
    for (int i = 1; i <= 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), i < 5 ? a[i] : slot(1)->txtNome);
    }
    slot(3)->txtPrezzo->setFocus();
    QTest::keyClick(slot(3)->txtPrezzo, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), slot(4)->txtNome);
    slot(7)->txtPrezzo->setFocus();
    QTest::keyClick(slot(7)->txtPrezzo, Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), slot(0)->txtNome);

    // Only amount keys reach a price; the rule runs when the field is left.
    QLineEdit *price = slot(2)->txtPrezzo;
    price->setFocus();
    price->selectAll();
    QTest::keyClicks(price, u"7a.-,5 "_s);
    QCOMPARE(price->text(), u"7,5"_s);
    QTest::keyClick(price, Qt::Key_Return);
    QCOMPARE(price->text(), u"7,50"_s);
    price->setFocus();
    price->clear();
    slot(2)->txtNome->setFocus();
    QCOMPARE(price->text(), u"0,00"_s);

    // Pasted numbers: one too large for the field's 12 characters is refused, not cut to
    // its first digits; a tiny one is no cent.
    Recorder rec;
    price->setFocus();
    price->clear();
    price->insert(u"1e20"_s);
    slot(2)->txtNome->setFocus();
    QCOMPARE(price->text(), u"1e20"_s);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning,
                           u"Attenzione: l'importo indicato è troppo grande."_s));
    price->setFocus();
    price->clear();
    price->insert(u"1e-5"_s);
    slot(2)->txtNome->setFocus();
    QCOMPARE(price->text(), u"0,00"_s);
    QVERIFY(rec.take().isEmpty());

    // A name of 50 characters fits; the 51st is refused.
    slot(0)->txtNome->setFocus();
    slot(0)->txtNome->clear();
    QTest::keyClicks(slot(0)->txtNome, QString(51, u'n'));
    QCOMPARE(slot(0)->txtNome->text(), QString(50, u'n'));
}

void PageScreen::photoDialog()
{
    Recorder rec;
    const QString red = picture(m_folder->file(u"rossa.jpg"_s), {400, 300}, Qt::red);
    rec.fileAnswers = {red, QString(), m_folder->file(u"nessuna.jpg"_s)};
    QTest::mouseClick(slot(5)->imgFoto, Qt::LeftButton);
    QCOMPARE(rec.fileDialogs.size(), 1);
    QCOMPARE(rec.fileDialogs[0].title,
             u"Selezionare un file di immagine in formato Jpeg o Bitmap."_s);
    QVERIFY(rec.fileDialogs[0].filter.startsWith(u"Immagine JPEG (*.jpg *.jpeg);;"_s));
    QVERIFY(rec.fileDialogs[0].filter.endsWith(u"Immagine Bitmap (*.bmp)"_s));
    // Stretched at once to the 366 x 274 it is stored and printed at.
    const QImage chosen = slot(5)->picture();
    QCOMPARE(chosen.size(), QSize(366, 274));
    QVERIFY(qRed(chosen.pixel(183, 137)) > 200);
    QVERIFY(rec.take().isEmpty());

    // Cancelling keeps the picture; so does a file that is not a picture, after a warning,
    // so that the next save cannot put the placeholder over the photo.
    QTest::mouseClick(slot(5)->imgFoto, Qt::LeftButton);
    QCOMPARE(slot(5)->picture(), chosen);
    QVERIFY(rec.take().isEmpty());
    QTest::mouseClick(slot(5)->imgFoto, Qt::LeftButton);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning,
                           u"Attenzione: il file scelto non contiene un'immagine leggibile."_s));
    QCOMPARE(slot(5)->picture(), chosen);
    QVERIFY(rec.unexpected.isEmpty());
}

// Held at their own size, eight pictures of 16384 x 16384 would take 8 GiB; each slot keeps
// only the 366 x 274 it is stored and printed at.
void PageScreen::eightHugePicturesStaySmall()
{
    const QString huge = m_folder->file(u"enorme.jpg"_s);
    {
        QImage source(16384, 16384, QImage::Format_Grayscale8);
        source.fill(200);
        QVERIFY(source.save(huge, "jpg", 50));
    }
    const qint64 before = residentMiB();
    Recorder rec;
    for (int k = 0; k < 8; ++k) {
        rec.fileAnswers = {huge};
        QTest::mouseClick(slot(k)->imgFoto, Qt::LeftButton);
        QCOMPARE(slot(k)->picture().size(), QSize(366, 274));
    }
    m_page->repaint();
    const qint64 grown = residentMiB() - before;
    qInfo("memory grown by %lld MiB for eight pictures", grown);
    QVERIFY2(grown < 256, qPrintable(QString::number(grown)));
    QVERIFY(rec.take().isEmpty());
}

void PageScreen::hostilePagePhotosStayBounded_data()
{
    QTest::addColumn<QString>("file");
    const QDir kept(QStringLiteral(SCAFFARIA_TEST_DATA "/fuzz/picture"));
    for (const QString &name : kept.entryList(QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(name)) << kept.filePath(name);
}

// The eight page photos of page 1 are one of the files that lie about their size: the page
// shows within 256 MiB and a second, each slot with its placeholder.
void PageScreen::hostilePagePhotosStayBounded()
{
    QFETCH(QString, file);
    writeList(listFile(), 1);
    for (int k = 0; k < 8; ++k)
        QVERIFY(QFile::copy(file, FotoListino::pagePhotoPath(u"Dolci"_s, k, 1)));
    Recorder rec;
    const PeakMemory memory;
    QElapsedTimer clock;
    clock.start();
    click(m_page->cmdPrimo);
    m_page->repaint();
    const qint64 elapsed = clock.elapsed();
    const qint64 grown = memory.grownMiB();
    qInfo("%lld ms, %lld MiB", elapsed, grown);
    QCOMPARE(m_page->lblPosizione->text(), u"1"_s);
    for (int k = 0; k < 8; ++k)
        QCOMPARE(slot(k)->picture(), m_page->placeholder());
    QVERIFY2(grown < 256, qPrintable(QString::number(grown)));
    QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
    QVERIFY(rec.take().isEmpty());
}

// The disk refuses the sync of the list file: the error shows, the list is as it was, and
// the save once the disk works appends the page once.
void PageScreen::failedSyncLeavesListAndRetryStoresOnce()
{
    writeList(listFile(), 2);
    QFile list(listFile());
    QVERIFY(list.open(QIODevice::ReadOnly));
    const QByteArray before = list.readAll();
    list.close();
    Recorder rec;
    fillSlotA();
    const QString path = listFile();
    DurableFile::setSyncCheckForTests([path](const QString &synced) { return synced != path; });
    click(m_page->cmdSalva);
    DurableFile::setSyncCheckForTests({});
    QVERIFY(rec.showedOnly(Recorder::Kind::Error,
                           u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                           u"Accertarsi di possedere i privilegi di scrittura nella cartella di "
                           u"installazione del programma."_s));
    QVERIFY(list.open(QIODevice::ReadOnly));
    QCOMPARE(list.readAll(), before);
    list.close();
    QCOMPARE(m_page->lblPosizione->text(), QString());
    QVERIFY(!QFile::exists(FotoListino::pagePhotoPath(u"Dolci"_s, 0, 3)));

    click(m_page->cmdSalva);
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, kInserted));
    QCOMPARE(m_page->lblPosizione->text(), u"3"_s);
    QVERIFY(list.open(QIODevice::ReadOnly));
    const QByteArray after = list.readAll();
    QCOMPARE(after.size(), 3 * TPaginaListino::Size);
    QCOMPARE(after.left(before.size()), before);
}

void PageScreen::photoThatCannotBeWrittenIsReported()
{
    // A plain file where the photo folder should be: no photo can be written.
    QFile blocker(m_folder->file(u"Foto_Listino"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    Recorder rec;
    fillSlotA();
    const QImage chosen(500, 200, QImage::Format_RGB32);
    slot(0)->setPicture(chosen);
    click(m_page->cmdSalva);
    const QList<Recorder::Message> shown = rec.take();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].kind, Recorder::Kind::Information);
    QCOMPARE(shown[0].text, kInserted);
    QCOMPARE(shown[1].kind, Recorder::Kind::Warning);
    QCOMPARE(shown[1].text, u"Attenzione: la scheda è stata salvata, ma non è stato possibile "
                            u"salvare alcune foto."_s);
    QCOMPARE(QFileInfo(listFile()).size(), 3696);
    QCOMPARE(m_page->lblPosizione->text(), u"1"_s);
    QCOMPARE(slot(0)->picture(), chosen);
}

void PageScreen::accessFailureKeepsThePage()
{
    writeList(listFile(), 2);
    Recorder rec;
    click(m_page->cmdPrimo);
    fillSlotA();
    m_page->lblFile->setText(m_folder->file(u"manca/Dolci.lis"_s));
    const QString error = TfrmListinoPrezzi::accessError();
    QVERIFY(error.contains(u"archivio.\n\r\n\rAccertarsi"_s));
    for (PictureButton *b : {m_page->cmdSalva, m_page->cmdAvanti, m_page->cmdUltimo}) {
        click(b);
        QVERIFY(rec.showedOnly(Recorder::Kind::Error, error));
        QCOMPARE(m_page->lblPosizione->text(), u"1"_s);
        QCOMPARE(slot(0)->txtNome->text(), u"Torta"_s);
    }
    QCOMPARE(QFileInfo(listFile()).size(), 2 * 3696);
}

void PageScreen::controlsAndHints()
{
    const std::pair<const char *, int> fields[] = {{"txtNome", 50},
                                                   {"txtUM", 120},
                                                   {"txtCaratteristiche", 250},
                                                   {"txtCodice", 25},
                                                   {"txtPrezzo", 12}};
    const char *spoken[] = {"Nome prodotto", "Aspetto esteriore", "Caratteristiche",
                            "Codice articolo", "Prezzo di vendita"};
    for (int k = 0; k < 8; ++k) {
        const QString letter = TPaginaListino::letter(k);
        const QPoint corner(k < 4 ? 24 : 502, 120 + 128 * (k % 4));
        QCOMPARE(slot(k)->geometry(), QRect(corner, QSize(468, 120)));
        for (int i = 0; i < 5; ++i) {
            const QString name = QString::fromLatin1(fields[i].first) + u'_' + letter;
            auto *edit = m_page->findChild<QLineEdit *>(name);
            QVERIFY2(edit, qPrintable(name));
            QCOMPARE(edit->maxLength(), fields[i].second);
            QCOMPARE(edit->accessibleName(), QString::fromLatin1(spoken[i]) + u' ' + letter);
            QCOMPARE(edit->font().family(), u"Verdana"_s);
            QVERIFY(edit->font().bold());
        }
    }
    for (PictureButton *b : m_page->findChildren<PictureButton *>()) {
        QCOMPARE(b->focusPolicy(), Qt::NoFocus);
        QVERIFY2(!b->accessibleName().isEmpty(), qPrintable(b->objectName()));
        QVERIFY2(!b->accessibleDescription().isEmpty(), qPrintable(b->objectName()));
    }
    QCOMPARE(m_page->findChildren<PictureButton *>().size(), 10 + 8);

    QLabel *status = m_page->panInfo;
    QCOMPARE(status->text(), u"Pronto per archiviare una nuova scheda..."_s);
    QTest::mouseMove(m_page->cmdSalva);
    QTRY_COMPARE(status->text(), u"Salva la scheda corrente."_s);
    QTest::mouseMove(slot(6)->impProdotto);
    QTRY_COMPARE(status->text(), u"Importa l'articolo dal magazzino."_s);
    QTest::mouseMove(slot(6), QPoint(150, 116));
    QTRY_COMPARE(status->text(), QString());
    QTest::mouseMove(slot(6)->imgFoto);
    QTRY_COMPARE(status->text(), u"Carica una foto esistente."_s);
}

SCAFFARIA_TEST(PageScreen)
#include "tst_pagescreen.moc"
