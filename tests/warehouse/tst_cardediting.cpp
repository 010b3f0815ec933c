#include "cardfixture.h"
#include "common/durablefile.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/screens.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/archivio.h"
#include "warehouse/calendario.h"
#include "warehouse/giacenza.h"
#include "warehouse/magazzino.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kInserted = u"La scheda corrente è stata inserita in archivio."_s;
const QString kUpdated =
    u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s;

QByteArray archiveBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TSchedaProdotto storedCard(int n)
{
    TSchedaProdotto c;
    c.Codice = u"K%1"_s.arg(n);
    c.Costo = u"3,00"_s;
    c.Nome = u"Articolo %1"_s.arg(n);
    c.Giacenza = u"10"_s;
    c.Avviso = u"2"_s;
    c.UM = u"Scatola"_s;
    c.Tipologia = u"Ferramenta"_s;
    c.Caratteristiche = u"Acciaio"_s;
    c.Prezzo = u"5,00"_s;
    c.Pagato = u"Sì"_s;
    c.File01 = u"manuale.pdf"_s;
    c.Desc01 = u"Manuale"_s;
    return c;
}

} // namespace

class CardEditing final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void saveNewThenAgain_data();
    void saveNewThenAgain();
    void firstMissingFieldWins_data();
    void firstMissingFieldWins();
    void savesTextAsTyped();
    void duplicateLeavesOriginalUntouched();
    void saveFailures();
    void photoWriteFailureKeepsPicture();
    void failedSyncLeavesArchiveAndRetryStoresOnce_data();
    void failedSyncLeavesArchiveAndRetryStoresOnce();
    void plantedLinkAtPhotoLeftUntouched();
    void leaveRules_data();
    void leaveRules();
    void enterAndTabOrder();
    void enterSelectsTheNextField();
    void stockDialog_data();
    void stockDialog();
    void stockDialogCancelAndLongInput();
    void expiryDate();
    void commandKeysFromNumberField();
    void longTextShownFromStart();

private:
    void fillRequired();
    void activate();
    QString archivePath() const { return m_folder->file(u"Magazzino.pro"_s); }

    TfrmMagazzino *m_screen = nullptr;
    QWidget *m_hub = nullptr;
    TempProgramFolder *m_folder = nullptr;
    std::unique_ptr<CardScreenFixture> m_card;
};

void CardEditing::init()
{
    m_card = std::make_unique<CardScreenFixture>();
    m_folder = &m_card->folder;
    m_hub = &m_card->hub;
    m_screen = m_card->screen;
}

void CardEditing::cleanup() { m_card.reset(); }

void CardEditing::activate()
{
    QApplication::setActiveWindow(m_screen);
    QVERIFY(QTest::qWaitForWindowActive(m_screen));
}

void CardEditing::fillRequired()
{
    m_screen->txtCodice->setText(u"A-1"_s);
    m_screen->txtCosto->setText(u"2,50"_s);
    m_screen->txtNome->setText(u"Vite"_s);
    m_screen->txtUM->setText(u"Sacchetto"_s);
    m_screen->txtTipologia->setText(u"Ferramenta"_s);
    m_screen->txtCaratteristiche->setText(u"Zincata"_s);
    m_screen->txtPrezzo->setText(u"4,00"_s);
}

void CardEditing::saveNewThenAgain_data()
{
    QTest::addColumn<int>("existing");
    QTest::newRow("missing archive") << 0;
    QTest::newRow("three cards") << 3;
}

void CardEditing::saveNewThenAgain()
{
    QFETCH(int, existing);
    QByteArray before;
    for (int i = 1; i <= existing; ++i)
        before += storedCard(i).encode();
    if (existing > 0) {
        QFile f(archivePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
    }

    Recorder rec;
    fillRequired();
    m_screen->txtGiacenza->clear();
    m_screen->txtAvviso->setText(u"  "_s);
    QImage photo(640, 480, QImage::Format_RGB32);
    photo.fill(Qt::green);
    m_screen->imgFoto->setPicture(photo);
    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);

    const QString position = QString::number(existing + 1);
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, kInserted));
    QCOMPARE(m_screen->lblPosizione->text(), position);
    QCOMPARE(m_screen->txtGiacenza->text(), u"0"_s);
    QCOMPARE(m_screen->txtAvviso->text(), u"0"_s);
    QByteArray after = archiveBytes(archivePath());
    QCOMPARE(after.size(), (existing + 1) * 2592);
    QCOMPARE(after.left(before.size()), before);
    const TSchedaProdotto saved = TSchedaProdotto::decode(after.constData() + existing * 2592);
    QCOMPARE(saved.Codice, u"A-1"_s);
    QCOMPARE(saved.Giacenza, u"0"_s);
    QCOMPARE(saved.Avviso, u"0"_s);
    QCOMPARE(saved.Pagato, u"No"_s);
    const std::optional<QImage> stored = ArchivioMagazzino::loadPhoto(existing + 1);
    QVERIFY(stored);
    QCOMPARE(stored->size(), QSize(640, 480));

    // A second save rewrites the same card in place.
    m_screen->txtNome->setText(u"Vite lunga"_s);
    m_screen->chkPagato->setChecked(true);
    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, kUpdated));
    QCOMPARE(m_screen->lblPosizione->text(), position);
    after = archiveBytes(archivePath());
    QCOMPARE(after.size(), (existing + 1) * 2592);
    QCOMPARE(after.left(before.size()), before);
    const TSchedaProdotto again = TSchedaProdotto::decode(after.constData() + existing * 2592);
    QCOMPARE(again.Nome, u"Vite lunga"_s);
    QCOMPARE(again.Pagato, u"Sì"_s);
}

void CardEditing::firstMissingFieldWins_data()
{
    QTest::addColumn<QStringList>("emptied");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("warning");
    const QString prefix = u"Attenzione: per salvare la scheda è necessario indicare "_s;
    QTest::newRow("code and name") << QStringList{u"txtNome"_s, u"txtCodice"_s} << u"txtCodice"_s
                                   << prefix + u"il codice articolo."_s;
    QTest::newRow("blank code") << QStringList{u"txtCodice"_s} << u"txtCodice"_s
                                << prefix + u"il codice articolo."_s;
    QTest::newRow("cost") << QStringList{u"txtCosto"_s, u"txtPrezzo"_s} << u"txtCosto"_s
                          << prefix + u"il costo unitario."_s;
    QTest::newRow("name") << QStringList{u"txtNome"_s} << u"txtNome"_s
                          << prefix + u"il nome del prodotto."_s;
    QTest::newRow("appearance") << QStringList{u"txtUM"_s, u"txtCaratteristiche"_s} << u"txtUM"_s
                                << prefix + u"l'aspetto esteriore del bene."_s;
    QTest::newRow("category") << QStringList{u"txtTipologia"_s} << u"txtTipologia"_s
                              << prefix + u"la categoria merceologica."_s;
    QTest::newRow("features") << QStringList{u"txtCaratteristiche"_s} << u"txtCaratteristiche"_s
                              << prefix + u"le caratteristiche del prodotto."_s;
    QTest::newRow("price") << QStringList{u"txtPrezzo"_s} << u"txtPrezzo"_s
                           << prefix + u"il prezzo di vendita."_s;
}

void CardEditing::firstMissingFieldWins()
{
    QFETCH(QStringList, emptied);
    QFETCH(QString, field);
    QFETCH(QString, warning);
    activate();
    Recorder rec;
    fillRequired();
    for (const QString &name : emptied)
        m_screen->findChild<QLineEdit *>(name)->setText(u"   "_s);
    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning, warning));
    QCOMPARE(QApplication::focusWidget(), m_screen->findChild<QLineEdit *>(field));
    QCOMPARE(m_screen->lblPosizione->text(), QString());
    QVERIFY(!QFile::exists(archivePath()));
}

void CardEditing::savesTextAsTyped()
{
    // The save picture takes no focus, so the cost's leave rule has not run.
    activate();
    Recorder rec;
    fillRequired();
    m_screen->txtCosto->setFocus();
    m_screen->txtCosto->selectAll();
    QTest::keyClicks(m_screen->txtCosto, u"12,5"_s);
    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, kInserted));
    QCOMPARE(QApplication::focusWidget(), m_screen->txtCosto);
    QCOMPARE(TSchedaProdotto::decode(archiveBytes(archivePath()).constData()).Costo, u"12,5"_s);
}

void CardEditing::duplicateLeavesOriginalUntouched()
{
    Recorder rec;
    QTest::mouseClick(m_screen->btnDuplica, Qt::LeftButton);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning,
                           u"Attenzione: la duplicazione di una scheda può avvenire soltanto "
                           u"dopo che questa è stata inserita in archivio."_s));

    const QByteArray original = storedCard(1).encode() + storedCard(2).encode();
    {
        QFile f(archivePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(original);
    }
    QImage photo(50, 50, QImage::Format_RGB32);
    photo.fill(Qt::red);
    QVERIFY(ArchivioMagazzino::storePhoto(2, photo));
    const QByteArray photoBytes = archiveBytes(ArchivioMagazzino::photoPath(2));

    QTest::mouseClick(m_screen->cmdUltimo, Qt::LeftButton);
    QCOMPARE(m_screen->lblFile01->text(), u"manuale.pdf"_s);
    QTest::mouseClick(m_screen->btnDuplica, Qt::LeftButton);
    QVERIFY(
        rec.showedOnly(Recorder::Kind::Information,
                       u"E' ora possibile apportare le proprie modifiche alla scheda corrente."
                       u"\n\r\n\rAl termine premere Salva per inserire la scheda in archivio."_s));
    QCOMPARE(m_screen->lblPosizione->text(), QString());
    QCOMPARE(m_screen->lblFile01->text(), QString());
    QCOMPARE(m_screen->lblDesc01->text(), QString());
    QCOMPARE(m_screen->txtNome->text(), u"Articolo 2"_s);
    QVERIFY(m_screen->chkPagato->isChecked());
    QCOMPARE(m_screen->imgFoto->picture(), m_screen->imgBianco->pixmap().toImage());
    QCOMPARE(m_screen->focusWidget(), m_screen->txtCodice);

    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, kInserted));
    QCOMPARE(m_screen->lblPosizione->text(), u"3"_s);
    const QByteArray after = archiveBytes(archivePath());
    QCOMPARE(after.left(original.size()), original);
    TSchedaProdotto expected = storedCard(2);
    expected.File01.clear();
    expected.Desc01.clear();
    QCOMPARE(after.mid(2 * 2592), expected.encode());
    QCOMPARE(archiveBytes(ArchivioMagazzino::photoPath(2)), photoBytes);
}

void CardEditing::saveFailures()
{
    Recorder rec;
    // The archive cannot be created: a new card stays new, the fields keep what was typed.
    QVERIFY(QDir(m_folder->path()).mkdir(u"Magazzino.pro"_s));
    fillRequired();
    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);
    QVERIFY(rec.showedOnly(Recorder::Kind::Error, TfrmMagazzino::accessError()));
    QCOMPARE(m_screen->lblPosizione->text(), QString());
    QCOMPARE(m_screen->txtCodice->text(), u"A-1"_s);
    QVERIFY(!QFile::exists(m_folder->file(u"1.jpg"_s)));

    // The folder went away under an existing card: nothing is written anywhere.
    QVERIFY(QDir(m_folder->path()).rmdir(u"Magazzino.pro"_s));
    {
        QFile f(archivePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(storedCard(1).encode());
    }
    QTest::mouseClick(m_screen->cmdPrimo, Qt::LeftButton);
    ProgramFolder::setForTests(m_folder->file(u"gone"_s));
    m_screen->txtNome->setText(u"Cambiato"_s);
    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);
    QVERIFY(rec.showedOnly(Recorder::Kind::Error, TfrmMagazzino::accessError()));
    QCOMPARE(m_screen->lblPosizione->text(), u"1"_s);
    QCOMPARE(m_screen->txtNome->text(), u"Cambiato"_s);
    QCOMPARE(archiveBytes(archivePath()), storedCard(1).encode());
}

void CardEditing::photoWriteFailureKeepsPicture()
{
    Recorder rec;
    QVERIFY(QDir(m_folder->path()).mkdir(u"1.jpg"_s));
    fillRequired();
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(Qt::cyan);
    m_screen->imgFoto->setPicture(photo);
    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);
    const QList<Recorder::Message> shown = rec.take();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, kInserted);
    QCOMPARE(shown[1].kind, Recorder::Kind::Warning);
    QCOMPARE(shown[1].text, u"Attenzione: la scheda è stata salvata, ma non è stato possibile "
                            u"salvare la foto."_s);
    QCOMPARE(m_screen->lblPosizione->text(), u"1"_s);
    QCOMPARE(archiveBytes(archivePath()).size(), 2592);
    QCOMPARE(m_screen->imgFoto->picture(), photo);
}

void CardEditing::failedSyncLeavesArchiveAndRetryStoresOnce_data()
{
    QTest::addColumn<bool>("rewrite");
    QTest::newRow("new card") << false;
    QTest::newRow("card rewritten") << true;
}

// The disk refuses the sync: the error shows, the archive is as it was (no card appended,
// the card rewritten unchanged) and the save once the disk works stores the card once.
void CardEditing::failedSyncLeavesArchiveAndRetryStoresOnce()
{
    QFETCH(bool, rewrite);
    const QByteArray before = storedCard(1).encode() + storedCard(2).encode() +
                              storedCard(3).encode();
    {
        QFile f(archivePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
    }
    Recorder rec;
    if (rewrite)
        QTest::mouseClick(m_screen->cmdUltimo, Qt::LeftButton);
    fillRequired();
    const QString position = rewrite ? u"3"_s : QString();
    const QString path = archivePath();
    DurableFile::setSyncCheckForTests([path](const QString &synced) { return synced != path; });
    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);
    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);
    DurableFile::setSyncCheckForTests({});
    // Saving again while the disk still fails changes nothing either.
    const QList<Recorder::Message> failed = rec.take();
    QCOMPARE(failed.size(), 2);
    for (const Recorder::Message &m : failed) {
        QCOMPARE(m.kind, Recorder::Kind::Error);
        QCOMPARE(m.text, TfrmMagazzino::accessError());
    }
    QCOMPARE(archiveBytes(path), before);
    QCOMPARE(m_screen->lblPosizione->text(), position);
    QVERIFY(!QFile::exists(m_folder->file(u"4.jpg"_s)));

    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, rewrite ? kUpdated : kInserted));
    const QByteArray after = archiveBytes(path);
    QCOMPARE(after.size(), (rewrite ? 3 : 4) * 2592);
    QCOMPARE(after.left(2 * 2592), before.left(2 * 2592));
    QCOMPARE(TSchedaProdotto::decode(after.constData() + (after.size() - 2592)).Codice, u"A-1"_s);
    QCOMPARE(m_screen->lblPosizione->text(), rewrite ? u"3"_s : u"4"_s);
}

// A link planted at the card's photo file points at a file elsewhere: showing the card
// reads nothing through it and saving the card writes nothing through it.
void CardEditing::plantedLinkAtPhotoLeftUntouched()
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(u"altrui.jpg"_s);
    QImage theirs(32, 24, QImage::Format_RGB32);
    theirs.fill(Qt::red);
    QVERIFY(theirs.save(target, "jpg"));
    const QByteArray theirBytes = archiveBytes(target);
    {
        QFile f(archivePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(storedCard(1).encode());
    }
    QVERIFY(QFile::link(target, m_folder->file(u"1.jpg"_s)));

    Recorder rec;
    QTest::mouseClick(m_screen->cmdPrimo, Qt::LeftButton);
    QCOMPARE(m_screen->imgFoto->picture(), m_screen->imgBianco->pixmap().toImage());
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(Qt::cyan);
    m_screen->imgFoto->setPicture(photo);
    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);
    const QList<Recorder::Message> shown = rec.take();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, kUpdated);
    QCOMPARE(shown[1].text, u"Attenzione: la scheda è stata salvata, ma non è stato possibile "
                            u"salvare la foto."_s);
    QCOMPARE(archiveBytes(target), theirBytes);
    QVERIFY(QFileInfo(m_folder->file(u"1.jpg"_s)).isSymLink());
}

void CardEditing::leaveRules_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("left");
    QTest::addColumn<bool>("tooLarge");
    QTest::addColumn<bool>("pasted"); // put in as the context menu's paste does
    QTest::newRow("cost rounds") << u"txtCosto"_s << u"7,125"_s << u"7,13"_s << false << false;
    QTest::newRow("cost tiny") << u"txtCosto"_s << u"0,004"_s << u"0,00"_s << false << false;
    QTest::newRow("cost keeps its cents")
        << u"txtCosto"_s << u"4,20"_s << u"4,20"_s << false << false;
    QTest::newRow("cost pasted 1e20") << u"txtCosto"_s << u"1e20"_s << u"1e20"_s << true << true;
    QTest::newRow("price pasted 1e-5") << u"txtPrezzo"_s << u"1e-5"_s << u"0,00"_s << false << true;
    QTest::newRow("price leading comma")
        << u"txtPrezzo"_s << u",5"_s << u"0,50"_s << false << false;
    QTest::newRow("price letters dropped")
        << u"txtPrezzo"_s << u"1a2-b"_s << u"12,00"_s << false << false;
    QTest::newRow("price empty") << u"txtPrezzo"_s << QString() << u"0,00"_s << false << false;
    QTest::newRow("stock leading zeros")
        << u"txtGiacenza"_s << u"007"_s << u"7"_s << false << false;
    QTest::newRow("stock comma dropped")
        << u"txtGiacenza"_s << u"1,5"_s << u"15"_s << false << false;
    QTest::newRow("threshold empty") << u"txtAvviso"_s << QString() << u"0"_s << false << false;
    QTest::newRow("amount too large")
        << u"txtCosto"_s << u"123456789012"_s << u"123456789012"_s << true << false;
    QTest::newRow("quantity too large") << u"txtGiacenza"_s << u"1e9"_s << u"1e9"_s << true << true;
}

void CardEditing::leaveRules()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, left);
    QFETCH(bool, tooLarge);
    QFETCH(bool, pasted);
    activate();
    Recorder rec;
    auto *edit = m_screen->findChild<QLineEdit *>(field);
    edit->setFocus();
    QVERIFY(m_screen->findChild<QWidget *>(u"eff"_s + field.mid(3))->isVisible());
    edit->clear();
    if (pasted)
        edit->insert(typed);
    else
        QTest::keyClicks(edit, typed);
    m_screen->txtNote->setFocus(Qt::TabFocusReason);
    QVERIFY(!m_screen->findChild<QWidget *>(u"eff"_s + field.mid(3))->isVisible());
    QCOMPARE(edit->text(), left);
    if (!tooLarge) {
        QVERIFY(rec.take().isEmpty());
        return;
    }
    const QString warning = field == u"txtGiacenza"_s ? TfrmMagazzino::tooLargeQuantity()
                                                      : TfrmMagazzino::tooLargeAmount();
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning, warning));
    // The refused text stays in its field, and the save refuses it too: nothing is stored.
    const QString kept = edit->text();
    fillRequired();
    edit->setText(kept);
    QTest::mouseClick(m_screen->btnSalva, Qt::LeftButton);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning, warning));
    QCOMPARE(QApplication::focusWidget(), edit);
    QVERIFY(!QFile::exists(archivePath()) || archiveBytes(archivePath()).isEmpty());
}

void CardEditing::enterAndTabOrder()
{
    activate();
    const QStringList chain = {u"txtCodice"_s,    u"txtCosto"_s,           u"txtNome"_s,
                               u"txtGiacenza"_s,  u"txtAvviso"_s,          u"txtUM"_s,
                               u"txtTipologia"_s, u"txtCaratteristiche"_s, u"txtCollocazione"_s,
                               u"txtDitta"_s,     u"txtAgente"_s,          u"txtRecapito"_s,
                               u"txtDocumento"_s, u"txtPagamento"_s,       u"txtDataSca"_s};
    m_screen->txtCodice->setFocus();
    for (int i = 1; i < chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), chain[i]);
    }
    // Enter in the expiry date opens the calendar instead of moving on.
    bool opened = false;
    onNextModal([&](QWidget *modal) {
        opened = modal->objectName() == u"TfrmCalendario"_s;
        static_cast<QDialog *>(modal)->reject();
    });
    QTest::keyClick(m_screen->txtDataSca, Qt::Key_Return);
    QVERIFY(opened);
    QCOMPARE(m_screen->focusWidget(), m_screen->txtDataSca);
    activate();

    m_screen->txtPrezzo->setFocus();
    QTest::keyClick(m_screen->txtPrezzo, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), m_screen->txtCodice);
    m_screen->txtNote->setFocus();
    QTest::keyClick(m_screen->txtNote, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), m_screen->txtPrezzo);

    m_screen->txtGiacenza->setFocus();
    QTest::keyClick(m_screen->txtGiacenza, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_screen->btnAggiungi);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_screen->btnSottrai);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_screen->txtAvviso);
}

void CardEditing::enterSelectsTheNextField()
{
    // A new card shows "0,00" in the cost: reached by Enter, typing replaces it.
    activate();
    Recorder rec;
    m_screen->txtCodice->setFocus();
    QTest::keyClick(m_screen->txtCodice, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), m_screen->txtCosto);
    QTest::keyClicks(m_screen->txtCosto, u"4,20"_s);
    QTest::keyClick(m_screen->txtCosto, Qt::Key_Return);
    QCOMPARE(m_screen->txtCosto->text(), u"4,20"_s);
    QVERIFY(rec.take().isEmpty());
}

void CardEditing::stockDialog_data()
{
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("result"); // the card's stock afterwards
    QTest::addColumn<bool>("refused");
    QTest::newRow("add") << u"10"_s << u"btnAggiungi"_s << u"5"_s << u"15"_s << false;
    QTest::newRow("subtract to negative")
        << u"3"_s << u"btnSottrai"_s << u"5"_s << u"-2"_s << false;
    QTest::newRow("empty stock") << QString() << u"btnAggiungi"_s << u"0"_s << u"0"_s << false;
    QTest::newRow("too many") << u"9990"_s << u"btnAggiungi"_s << u"10"_s << u"9990"_s << true;
    QTest::newRow("too few") << u"0"_s << u"btnSottrai"_s << u"1000"_s << u"0"_s << true;
    QTest::newRow("limits fit") << u"-999"_s << u"btnAggiungi"_s << u"10998"_s << u"9999"_s
                                << false;
}

void CardEditing::stockDialog()
{
    QFETCH(QString, stock);
    QFETCH(QString, button);
    QFETCH(QString, quantity);
    QFETCH(QString, result);
    QFETCH(bool, refused);
    Recorder rec;
    m_screen->txtGiacenza->setText(stock);
    bool stayedOpen = false;
    QString label;
    onNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmGiacenza *>(modal);
        QVERIFY(dialog);
        label = dialog->lblAggiunta->text();
        QCOMPARE(dialog->txtGiacenza->text(), stock.isEmpty() ? u"0"_s : stock);
        QCOMPARE(dialog->txtTotale->text(), stock.isEmpty() ? u"0"_s : stock);
        QCOMPARE(dialog->txtAggiunta->text(), u"0"_s);
        dialog->txtAggiunta->setText(quantity);
        QTest::mouseClick(dialog->btnAggiorna, Qt::LeftButton);
        stayedOpen = dialog->isVisible();
        if (stayedOpen)
            dialog->reject();
    });
    QTest::mouseClick(m_screen->findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(label, button == u"btnAggiungi"_s ? TfrmGiacenza::addCaption()
                                               : TfrmGiacenza::subtractCaption());
    QCOMPARE(stayedOpen, refused);
    QCOMPARE(m_screen->txtGiacenza->text(), result);
    if (refused)
        QVERIFY(rec.showedOnly(Recorder::Kind::Warning, TfrmGiacenza::outOfRangeWarning()));
    else
        QVERIFY(rec.take().isEmpty());
}

void CardEditing::stockDialogCancelAndLongInput()
{
    Recorder rec;
    m_screen->txtGiacenza->setText(u"8"_s);
    QString total;
    QString afterSeventeenth;
    QString afterBackspace;
    onNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmGiacenza *>(modal);
        QVERIFY(dialog);
        // The current stock can be corrected before computing.
        dialog->txtGiacenza->setText(u"20"_s);
        dialog->txtAggiunta->setText(u"4"_s);
        QTest::mouseClick(dialog->btnTotale, Qt::LeftButton);
        total = dialog->txtTotale->text();
        dialog->txtAggiunta->setText(u"1234567890123456"_s);
        // An editing key corrects the long text; it does not start a new quantity.
        dialog->txtAggiunta->end(false);
        QTest::keyClick(dialog->txtAggiunta, Qt::Key_Left);
        QTest::keyClick(dialog->txtAggiunta, Qt::Key_Backspace);
        afterBackspace = dialog->txtAggiunta->text();
        dialog->txtAggiunta->setText(u"1234567890123456"_s);
        QTest::keyClick(dialog->txtAggiunta, Qt::Key_7);
        QTest::keyClick(dialog->txtAggiunta, Qt::Key_A);
        afterSeventeenth = dialog->txtAggiunta->text();
        QTest::mouseClick(dialog->btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(m_screen->btnSottrai, Qt::LeftButton);
    QCOMPARE(total, u"16"_s);
    QCOMPARE(afterSeventeenth, u"7"_s);
    QCOMPARE(afterBackspace, u"123456789012346"_s);
    QCOMPARE(m_screen->txtGiacenza->text(), u"8"_s);
    QVERIFY(rec.take().isEmpty());
}

void CardEditing::expiryDate()
{
    activate();
    Recorder rec;
    m_screen->txtDataSca->setFocus();
    QDate shownOnOpen;
    QString tag;
    onNextModal([&](QWidget *modal) {
        auto *calendar = qobject_cast<TfrmCalendario *>(modal);
        QVERIFY(calendar);
        // A screen reader names the calendar's month arrows in Italian.
        for (const auto &[part, name] :
             {std::pair{"qt_calendar_prevmonth", u"Mese precedente"_s},
              std::pair{"qt_calendar_nextmonth", u"Mese successivo"_s}}) {
            auto *arrow = calendar->findChild<QWidget *>(QString::fromLatin1(part));
            QVERIFY(arrow);
            QCOMPARE(arrow->accessibleName(), name);
        }
        shownOnOpen = calendar->calAppuntamenti->selectedDate();
        tag = calendar->lblMemory->text();
        calendar->calAppuntamenti->setSelectedDate(QDate(2025, 3, 5));
        QTest::mouseClick(calendar->btnImportaData, Qt::LeftButton);
    });
    QTest::keyClick(m_screen->txtDataSca, Qt::Key_X);
    QCOMPARE(shownOnOpen, QDate::currentDate());
    QCOMPARE(tag, u"datasca"_s);
    QCOMPARE(m_screen->txtDataSca->text(), u"05/03/2025"_s);
    QCOMPARE(m_screen->focusWidget(), m_screen->txtDataSca);

    // With another tag, Importa does nothing and the dialog stays open.
    bool stayedOpen = false;
    onNextModal([&](QWidget *modal) {
        auto *calendar = qobject_cast<TfrmCalendario *>(modal);
        calendar->lblMemory->setText(u"altro"_s);
        QTest::mouseClick(calendar->btnImportaData, Qt::LeftButton);
        stayedOpen = calendar->isVisible();
        QTest::mouseClick(calendar->btnAnnulla, Qt::LeftButton);
    });
    QTest::keyClick(m_screen->txtDataSca, Qt::Key_Space);
    QVERIFY(stayedOpen);
    QCOMPARE(m_screen->txtDataSca->text(), u"05/03/2025"_s);

    QTest::keyClick(m_screen->txtDataSca, Qt::Key_Delete);
    QCOMPARE(m_screen->txtDataSca->text(), QString());
    m_screen->txtDataSca->setText(u"01/01/2024"_s);
    QTest::mouseClick(m_screen->delDataSca, Qt::LeftButton);
    QCOMPARE(m_screen->txtDataSca->text(), QString());
    QVERIFY(rec.take().isEmpty());
}

// The window's keys reach their commands from a number field, whose key filter discards
// every key it cannot type, and the field never sees them.
void CardEditing::commandKeysFromNumberField()
{
    Recorder rec;
    {
        QFile f(archivePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (int i = 1; i <= 3; ++i)
            f.write(storedCard(i).encode());
    }
    activate();
    QTest::mouseClick(m_screen->cmdPrimo, Qt::LeftButton);
    QCOMPARE(m_screen->lblPosizione->text(), u"1"_s);
    m_screen->txtCosto->setFocus();
    m_screen->txtCosto->setCursorPosition(1);

    QTest::keyClick(m_screen->txtCosto, Qt::Key_End, Qt::ControlModifier);
    QTRY_COMPARE(m_screen->lblPosizione->text(), u"3"_s);
    QTest::keyClick(m_screen->txtCosto, Qt::Key_PageUp);
    QTRY_COMPARE(m_screen->lblPosizione->text(), u"2"_s);
    QTest::keyClick(m_screen->txtCosto, Qt::Key_PageDown);
    QTRY_COMPARE(m_screen->lblPosizione->text(), u"3"_s);
    QCOMPARE(m_screen->txtCosto->text(), u"3,00"_s);

    m_screen->txtNome->setText(u"Cambiato"_s);
    QTest::keyClick(m_screen->txtCosto, Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(!rec.messages.isEmpty());
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, kUpdated));
    QCOMPARE(m_screen->txtCosto->text(), u"3,00"_s);
    QCOMPARE(m_screen->focusWidget(), m_screen->txtCosto);
    TSchedaProdotto changed = storedCard(3);
    changed.Nome = u"Cambiato"_s;
    QCOMPARE(archiveBytes(archivePath()),
             storedCard(1).encode() + storedCard(2).encode() + changed.encode());
}

// A text longer than its field is shown from its first character.
void CardEditing::longTextShownFromStart()
{
    TSchedaProdotto card = storedCard(1);
    card.Caratteristiche = u"Inizio "_s + QString(243, u'x');
    m_screen->MostraScheda(card, 1);
    QCOMPARE(m_screen->txtCaratteristiche->text().size(), 250);
    QCOMPARE(m_screen->txtCaratteristiche->cursorPosition(), 0);
    QCOMPARE(m_screen->txtNote->cursorPosition(), 0);
}

SCAFFARIA_TEST(CardEditing)
#include "tst_cardediting.moc"
