#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/screens.h"
#include "pricelist/apricatalogo.h"
#include "pricelist/archiviolistino.h"
#include "pricelist/creacatalogo.h"
#include "pricelist/fotolistino.h"
#include "pricelist/listinoprezzi.h"
#include "pricelist/slotlistino.h"
#include "support/recorder.h"
#include "support/testmain.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

// Types characters beyond ASCII too, each as the key press a keyboard would send.
void type(QWidget *field, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

const QString kCreated = u"Il file di archivio relativo al nuovo listino prezzi è stato creato con "
                         u"successo.\r\n\r\nE' ora possibile visualizzarlo nell'elenco dei listini "
                         u"esistenti."_s;
const QString kUsed =
    u"Attenzione: il nome del listino prezzi indicato è già stato utilizzato in "
    u"precedenza.\r\n\r\nInserire un nome diverso oppure, se si desidera aprire "
    u"un listino prezzi già creato, premere il pulsante Apri listino esistente."_s;
const QString kNoLists = u"Attenzione: l'elenco non contiene nessun listino prezzi."_s;
const QString kAskDelete = u"Si sta per eliminare il listino prezzi selezionato. Si ricorda che il "
                           u"file eliminato non potrà essere recuperato.\r\n\r\nSi conferma "
                           u"l'eliminazione dell'archivio?"_s;

} // namespace

class CatalogScreens final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void createList();
    void createRefusesEmptyAndUsedNames();
    void createRefusesNamesThatCannotNameFiles_data();
    void createRefusesNamesThatCannotNameFiles();
    void nameFieldKeepsOutForbiddenCharacters();
    void openListsAndCountLine();
    void openHandsOverToThePageScreen();
    void openAndDeleteWithoutLists();
    void deleteAsksAndKeepsPhotos();
    void deleteThatFailsSaysSo();
    void keysCreateAndDelete_data();
    void keysCreateAndDelete();
    void blankEdgedNameOpensAndDeletesItself();

private:
    void selectItem(const QString &text);

    TempProgramFolder *m_folder = nullptr;
    QWidget *m_hub = nullptr;
    TfrmCreaCatalogo *m_create = nullptr;
    TfrmApriCatalogo *m_open = nullptr;
    TfrmListinoPrezzi *m_page = nullptr;
};

void CatalogScreens::init()
{
    m_folder = new TempProgramFolder;
    m_hub = new QWidget;
    screens().hub = m_hub;
    m_create = new TfrmCreaCatalogo;
    m_open = new TfrmApriCatalogo;
    m_page = new TfrmListinoPrezzi;
    screens().creaCatalogo = m_create;
    screens().apriCatalogo = m_open;
    screens().listinoPrezzi = m_page;
}

void CatalogScreens::cleanup()
{
    screens() = ScreenRegistry();
    delete m_page;
    delete m_open;
    delete m_create;
    delete m_hub;
    delete m_folder;
}

void CatalogScreens::selectItem(const QString &text)
{
    const QAbstractItemModel *model = m_open->lstFiles->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (index.data().toString() == text) {
            QTest::mouseClick(m_open->lstFiles->viewport(), Qt::LeftButton, {},
                              m_open->lstFiles->visualRect(index).center());
            break;
        }
    }
    QCOMPARE(m_open->selectedItem(), text);
}

void CatalogScreens::createList()
{
    Recorder rec;
    m_create->show();
    QCOMPARE(m_create->focusWidget(), m_create->txtFile);
    QTest::keyClicks(m_create->txtFile, u"  Dolci  "_s);
    click(m_create->btnApplica);

    QVERIFY(rec.showedOnly(Recorder::Kind::Information, kCreated));
    const QString path = m_folder->file(u"Dolci.lis"_s);
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
    QCOMPARE(m_create->lblFile->text(), path);
    QVERIFY(m_create->isHidden());
    QVERIFY(m_hub->isVisible());

    // Shown again, the screen starts empty.
    m_create->txtFile->setText(u"resto"_s);
    m_hub->hide();
    m_create->show();
    QCOMPARE(m_create->txtFile->text(), QString());

    // Annulla creates nothing and returns to the hub.
    QTest::keyClicks(m_create->txtFile, u"Biscotti"_s);
    click(m_create->btnAnnulla);
    QVERIFY(m_create->isHidden());
    QVERIFY(m_hub->isVisible());
    QVERIFY(!QFile::exists(m_folder->file(u"Biscotti.lis"_s)));
    QVERIFY(rec.take().isEmpty());
}

void CatalogScreens::createRefusesEmptyAndUsedNames()
{
    QFile existing(m_folder->file(u"Dolci.lis"_s));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write(QByteArray(3696, 'x'));
    existing.close();

    Recorder rec;
    m_create->show();
    QTest::keyClicks(m_create->txtFile, u"   "_s);
    click(m_create->btnApplica);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning,
                           u"Attenzione: per creare l'archivio è necessario indicare il nome del "
                           u"nuovo listino prezzi."_s));
    QCOMPARE(m_create->lblFile->text(), QString());
    QCOMPARE(m_create->focusWidget(), m_create->txtFile);

    m_create->txtFile->setText(u"Dolci"_s);
    click(m_create->btnApplica);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning, kUsed));
    QVERIFY(m_create->isVisible());
    QCOMPARE(m_create->txtFile->text(), u"Dolci"_s);
    QCOMPARE(QFileInfo(existing).size(), 3696);

    // A folder that cannot take the file: a reason in Italian, not the system's, no
    // success, the name stays.
    ProgramFolder::setForTests(m_folder->file(u"manca"_s));
    click(m_create->btnApplica);
    QVERIFY(rec.showedOnly(Recorder::Kind::Plain, TfrmCreaCatalogo::creationFailed()));
    QVERIFY(m_create->isVisible());
    QCOMPARE(m_create->txtFile->text(), u"Dolci"_s);
}

void CatalogScreens::createRefusesNamesThatCannotNameFiles_data()
{
    // The longest file of a list is "<name>_Foto_H_123456.jpg": 18 bytes after the name,
    // within the 255 a file name may take.
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");
    QTest::newRow("pasted tab") << u"Dolci\tsalati"_s << false;
    QTest::newRow("pasted line feed") << u"Dolci\nsalati"_s << false;
    QTest::newRow("237 bytes") << QString(237, u'a') << true;
    QTest::newRow("238 bytes") << QString(238, u'a') << false;
    QTest::newRow("119 accented letters, 238 bytes") << QString(119, u'à') << false;
    QTest::newRow("118 accented letters, 236 bytes") << QString(118, u'à') << true;
}

void CatalogScreens::createRefusesNamesThatCannotNameFiles()
{
    QFETCH(QString, name);
    QFETCH(bool, usable);
    Recorder rec;
    m_create->show();
    m_create->txtFile->setText(name);
    click(m_create->btnApplica);
    const QString path = m_folder->file(name + u".lis"_s);
    if (usable) {
        QVERIFY(rec.showedOnly(Recorder::Kind::Information, kCreated));
        QVERIFY(QFile::exists(path));
    } else {
        QVERIFY(rec.showedOnly(Recorder::Kind::Warning, TfrmCreaCatalogo::unusableName()));
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList());
        QVERIFY(m_create->isVisible());
        QCOMPARE(m_create->txtFile->text(), name);
        QCOMPARE(m_create->focusWidget(), m_create->txtFile);
    }
}

void CatalogScreens::nameFieldKeepsOutForbiddenCharacters()
{
    m_create->show();
    QLineEdit *name = m_create->txtFile;
    QCOMPARE(name->maxLength(), 250);
    QCOMPARE(name->accessibleName(), u"Nome del nuovo listino prezzi"_s);
    type(name, u"Do\"*/:<>?\\°ÇÑçñlci|"_s);
    QCOMPARE(name->text(), u"Dolci|"_s);

    // Pasted text cannot bring in a folder separator either.
    QApplication::clipboard()->setText(u"../Altro"_s);
    name->paste();
    QCOMPARE(name->text(), u"Dolci|"_s);
    QApplication::clipboard()->setText(u" Più"_s);
    name->paste();
    QCOMPARE(name->text(), u"Dolci| Più"_s);
}

void CatalogScreens::openListsAndCountLine()
{
    for (const QString &name : {u"Dolci.lis"_s, u"bevande.LIS"_s, u"Magazzino.pro"_s})
        touch(m_folder->file(name));
    m_open->show();
    const QAbstractItemModel *model = m_open->lstFiles->model();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->index(0, 0).data().toString(), u"bevande.LIS"_s);
    QCOMPARE(model->index(1, 0).data().toString(), u"Dolci.lis"_s);
    const QFont font = model->index(0, 0).data(Qt::FontRole).value<QFont>();
    QCOMPARE(font.family(), u"Courier New"_s);
    QCOMPARE(font.pointSize(), 14);
    QCOMPARE(m_open->lblCreati->text(), u"Sono stati creati 2 listini prezzi."_s);
    QCOMPARE(m_open->lblMemory->text(), u"avvio"_s);
    QCOMPARE(m_open->lblFile->text(), m_folder->path());

    // A list created meanwhile appears at the next showing; the close box leads to the hub
    // even with a list selected.
    touch(m_folder->file(u"Acqua.lis"_s));
    selectItem(u"Dolci.lis"_s);
    m_open->close();
    QVERIFY(m_hub->isVisible());
    QVERIFY(m_page->isHidden());
    m_hub->hide();
    m_open->show();
    QCOMPARE(m_open->lstFiles->model()->rowCount(), 3);
    QCOMPARE(m_open->lblCreati->text(), u"Sono stati creati 3 listini prezzi."_s);
}

void CatalogScreens::openHandsOverToThePageScreen()
{
    touch(m_folder->file(u"Dolci.lis"_s));
    touch(m_folder->file(u"Acqua.lis"_s));
    Recorder rec;
    m_open->show();
    click(m_open->btnApri);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning,
                           u"Attenzione: selezionare il listino prezzi dall'elenco prima di "
                           u"premere il pulsante Apri archivio."_s));
    QVERIFY(m_open->isVisible());

    selectItem(u"Dolci.lis"_s);
    click(m_open->btnApri);
    QVERIFY(rec.take().isEmpty());
    QVERIFY(m_open->isHidden());
    QVERIFY(m_hub->isHidden());
    QVERIFY(m_page->isVisible());
    QCOMPARE(m_page->lblFile->text(), m_folder->file(u"Dolci.lis"_s));
    QCOMPARE(m_page->lblNome->text(), u"Dolci"_s);
    QCOMPARE(m_page->lblPosizione->text(), QString());

    // Leaving the page screen returns to the hub, not to the list of lists.
    click(m_page->cmdEsci);
    QVERIFY(m_page->isHidden());
    QVERIFY(m_open->isHidden());
    QVERIFY(m_hub->isVisible());
}

void CatalogScreens::openAndDeleteWithoutLists()
{
    Recorder rec;
    m_open->show();
    QCOMPARE(m_open->lblCreati->text(), u"Sono stati creati 0 listini prezzi."_s);
    click(m_open->btnApri);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning, kNoLists));
    click(m_open->btnElimina);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning, kNoLists));
    QVERIFY(m_open->isVisible());
    QVERIFY(rec.unexpected.isEmpty());
}

void CatalogScreens::deleteAsksAndKeepsPhotos()
{
    touch(m_folder->file(u"Dolci.lis"_s));
    touch(m_folder->file(u"Acqua.lis"_s));
    const QString photo = FotoListino::pagePhotoPath(u"Dolci"_s, 0, 1);
    touch(photo);
    Recorder rec;
    m_open->show();
    click(m_open->btnElimina);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning,
                           u"Attenzione: selezionare dall'elenco il listino prezzi da eliminare "
                           u"prima di premere il pulsante del cestino."_s));

    selectItem(u"Dolci.lis"_s);
    rec.answers = {false};
    click(m_open->btnElimina);
    // The question's default button is No: Canc then a hurried Enter keeps the list.
    QVERIFY(!rec.messages.isEmpty() && rec.messages.last().noByDefault);
    QVERIFY(rec.showedOnly(Recorder::Kind::Question, kAskDelete));
    QVERIFY(QFile::exists(m_folder->file(u"Dolci.lis"_s)));
    QCOMPARE(m_open->lblCreati->text(), u"Sono stati creati 2 listini prezzi."_s);

    rec.answers = {true};
    click(m_open->btnElimina);
    const QList<Recorder::Message> shown = rec.take();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1].kind, Recorder::Kind::Information);
    QCOMPARE(shown[1].text, u"Il listino prezzi è stato eliminato con successo."_s);
    QVERIFY(!QFile::exists(m_folder->file(u"Dolci.lis"_s)));
    QVERIFY(QFile::exists(photo));
    QCOMPARE(m_open->lstFiles->model()->rowCount(), 1);
    QCOMPARE(m_open->lblCreati->text(), u"Sono stati creati 1 listini prezzi."_s);
    QCOMPARE(m_open->lblMemory->text(), u"avvio"_s);
    QCOMPARE(m_open->lblFile->text(), QString());
    QVERIFY(m_open->isVisible());
    QVERIFY(rec.unexpected.isEmpty());
}

void CatalogScreens::keysCreateAndDelete_data()
{
    QTest::addColumn<int>("enter");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

// From the keyboard alone: Enter in the name field creates the list, as Applica e chiudi
// does, and Canc on the chosen list deletes it, as the waste bin does.
void CatalogScreens::keysCreateAndDelete()
{
    QFETCH(int, enter);
    Recorder rec;
    m_create->show();
    QApplication::setActiveWindow(m_create);
    QVERIFY(QTest::qWaitForWindowActive(m_create));
    type(m_create->txtFile, u"Dolci"_s);
    QTest::keyClick(m_create->txtFile, Qt::Key(enter),
                    enter == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QTRY_VERIFY(QFile::exists(m_folder->file(u"Dolci.lis"_s)));
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, kCreated));
    QVERIFY(m_create->isHidden());

    m_open->show();
    QApplication::setActiveWindow(m_open);
    QVERIFY(QTest::qWaitForWindowActive(m_open));
    selectItem(u"Dolci.lis"_s);
    rec.answers = {true};
    QTest::keyClick(m_open->lstFiles, Qt::Key_Delete);
    QTRY_VERIFY(!QFile::exists(m_folder->file(u"Dolci.lis"_s)));
    QCOMPARE(rec.take().size(), 2);
    QVERIFY(rec.unexpected.isEmpty());
}

void CatalogScreens::deleteThatFailsSaysSo()
{
    touch(m_folder->file(u"Dolci.lis"_s));
    Recorder rec;
    m_open->show();
    selectItem(u"Dolci.lis"_s);
    // Something that cannot be removed as a file now stands under the name.
    QVERIFY(QFile::remove(m_folder->file(u"Dolci.lis"_s)));
    QVERIFY(QDir(m_folder->path()).mkpath(u"Dolci.lis/dentro"_s));

    rec.answers = {true};
    click(m_open->btnElimina);
    const QList<Recorder::Message> shown = rec.take();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1].kind, Recorder::Kind::Error);
    QCOMPARE(shown[1].text,
             u"Attenzione: non è stato possibile eliminare il listino prezzi selezionato."_s);
    // Refilled from the folder either way.
    QCOMPARE(m_open->lblCreati->text(), u"Sono stati creati 0 listini prezzi."_s);
}

// A list file whose name has blanks at either end (copied in from elsewhere) is listed,
// opened and deleted under that very name; no file with the trimmed name ever appears.
void CatalogScreens::blankEdgedNameOpensAndDeletesItself()
{
    const QString name = u" Dolci .lis"_s;
    {
        ArchivioListino file(m_folder->file(name));
        QVERIFY(file.open());
        for (const QString &product : {u"Torta"_s, u"Crostata"_s}) {
            TPaginaListino page;
            for (TVoceListino &slot : page.Voci)
                slot = TVoceListino::empty();
            page.Voci[0].Nome = product;
            QVERIFY(file.append(page));
        }
        file.close();
    }
    const QDir folder(m_folder->path());
    const QStringList before = folder.entryList(QDir::Files);
    QCOMPARE(before, QStringList{name});

    Recorder rec;
    m_open->show();
    selectItem(name);
    click(m_open->btnApri);
    QVERIFY(m_page->isVisible());
    QCOMPARE(m_page->lblFile->text(), m_folder->file(name));
    click(m_page->cmdUltimo);
    QCOMPARE(m_page->lblPosizione->text(), u"2"_s);
    QCOMPARE(m_page->voce(0)->txtNome->text(), u"Crostata"_s);
    click(m_page->cmdPrimo);
    QCOMPARE(m_page->voce(0)->txtNome->text(), u"Torta"_s);
    QVERIFY(rec.take().isEmpty());
    QCOMPARE(folder.entryList(QDir::Files), before);
    QCOMPARE(QFileInfo(m_folder->file(name)).size(), 2 * TPaginaListino::Size);

    click(m_page->cmdEsci);
    m_open->show();
    selectItem(name);
    rec.answers = {true};
    click(m_open->btnElimina);
    const QList<Recorder::Message> shown = rec.take();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1].kind, Recorder::Kind::Information);
    QCOMPARE(folder.entryList(QDir::Files), QStringList());
    QCOMPARE(m_open->lblCreati->text(), u"Sono stati creati 0 listini prezzi."_s);
}

SCAFFARIA_TEST(CatalogScreens)
#include "tst_catalogscreens.moc"
