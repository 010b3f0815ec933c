#include "app/archiviocondiviso.h"
#include "app/avvio.h"
#include "app/backupcopy.h"
#include "app/copie.h"
#include "app/info.h"
#include "app/password.h"
#include "app/sharedsettingsfile.h"
#include "app/startup.h"
#include "common/helptexts.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "store/folderstore.h"
#include "store/sharedstore.h"
#include "support/pgcluster.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/schedaprodotto.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kInitialStore = "[Accesso]\nValore=6763ED177AFEAE9E20CF36655AC8\n";

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Store::SharedSettings officeServer()
{
    Store::SharedSettings s;
    s.server = u"ufficio.negozio.lan"_s;
    s.port = 5433;
    s.database = u"scaffaria"_s;
    s.user = u"cassa"_s;
    // Case, blanks and characters beyond one byte all belong to a server password.
    s.password = u" Pàss=wörd€ 9"_s;
    return s;
}

const QString kFolderStore = u"Archivio nella cartella del programma"_s;

} // namespace

// The choice of the shared archive: its file, the start-up that follows it, the dialog and
// the hub's command, and the backups while it is in use.
class SharedArchive final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void fileRoundTrip();
    void damagedFile_data();
    void damagedFile();
    void startUpFollowsFile_data();
    void startUpFollowsFile();
    void dialogControls();
    void missingField_data();
    void missingField();
    void backToFolder();
    void backupsWithSharedStore();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Recorder> m_rec;
};

void SharedArchive::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_rec = std::make_unique<Recorder>();
    Store::setCurrent(std::make_unique<Store::FolderBackend>());
}

void SharedArchive::cleanup()
{
    destroyScreens();
    Store::setCurrent(std::make_unique<Store::FolderBackend>());
    QVERIFY2(m_rec->unexpected.isEmpty(), qPrintable(m_rec->unexpected.join(u", ")));
    m_rec.reset();
    m_folder.reset();
}

// Written and read back, the choice is the same; the password is not in the file in any
// spelling, and the file is its owner's alone, also when it replaces a file others could read.
void SharedArchive::fileRoundTrip()
{
    const QString path = m_folder->file(u"Archivio_condiviso.ini"_s);
    QCOMPARE(SharedSettingsFile::path(), path);
    QCOMPARE(SharedSettingsFile::read().state, SharedSettingsFile::State::Absent);

    QVERIFY(put(path, "[Archivio condiviso]\n"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const Store::SharedSettings settings = officeServer();
    QVERIFY(SharedSettingsFile::write(settings));

    const SharedSettingsFile::Content back = SharedSettingsFile::read();
    QCOMPARE(back.state, SharedSettingsFile::State::Present);
    QVERIFY(back.settings == settings);
    QCOMPARE(back.settings.password, settings.password);

    const QByteArray content = bytesOf(path);
    QVERIFY(content.contains("Server=ufficio.negozio.lan"));
    for (const QByteArray &clear :
         {settings.password.trimmed().toUtf8(), settings.password.trimmed().toLatin1(),
          QByteArray("Pàss"), QByteArray("wörd"), QByteArray("P\xe0ss")})
        QVERIFY2(!content.contains(clear), content.constData());
    QCOMPARE(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadUser | QFileDevice::WriteUser);
    // Nothing but the file itself is left in the folder.
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"Archivio_condiviso.ini"_s});

    // A value that would break the file's lines is refused, and the file stays whole.
    Store::SharedSettings broken = settings;
    broken.database = u"scaffaria\r\n[Altro]"_s;
    QVERIFY(!SharedSettingsFile::write(broken));
    QCOMPARE(bytesOf(path), content);

    QVERIFY(SharedSettingsFile::remove());
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(SharedSettingsFile::remove());
}

void SharedArchive::damagedFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("whole");

    const QByteArray good = "[Archivio condiviso]\r\nServer=srv\r\nPorta=5432\r\nDatabase=db\r\n"
                            "Utente=u\r\nPassword=\r\n";
    QTest::newRow("whole, empty password") << good << true;
    QTest::newRow("written by hand, other sections beside")
        << QByteArray("; scelta\n[Altro]\nServer=x\n[archivio condiviso]\n  server = srv \n"
                      "porta=1\ndatabase=db\nutente=u\npassword=\n")
        << true;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("no section") << QByteArray("Server=srv\nPorta=5432\n") << false;
    QTest::newRow("cut short") << good.left(good.indexOf("Utente")) << false;
    QTest::newRow("no server") << QByteArray(good).replace("Server=srv", "Server=") << false;
    QTest::newRow("port not a number") << QByteArray(good).replace("5432", "54a2") << false;
    QTest::newRow("port too large") << QByteArray(good).replace("5432", "65536") << false;
    QTest::newRow("port zero") << QByteArray(good).replace("5432", "0") << false;
    QTest::newRow("password not hexadecimal")
        << QByteArray(good).replace("Password=", "Password=ZZ") << false;
    QTest::newRow("password odd digits")
        << QByteArray(good).replace("Password=", "Password=ABC") << false;
    QTest::newRow("not text") << QByteArray("\x00\xff\xfe[\x01", 5) << false;
    QTest::newRow("stray line") << QByteArray(good).insert(0, "rumore\n") << false;
}

// A file that does not hold a whole choice reads as damaged, never as a half choice.
void SharedArchive::damagedFile()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, whole);
    QVERIFY(put(SharedSettingsFile::path(), content));
    const SharedSettingsFile::Content read = SharedSettingsFile::read();
    QCOMPARE(read.state,
             whole ? SharedSettingsFile::State::Present : SharedSettingsFile::State::Damaged);
    if (whole) {
        QCOMPARE(read.settings.server, u"srv"_s);
        QCOMPARE(read.settings.database, u"db"_s);
        QCOMPARE(read.settings.user, u"u"_s);
        QCOMPARE(read.settings.password, QString());
    }
}

void SharedArchive::startUpFollowsFile_data()
{
    QTest::addColumn<int>("file"); // 0 none, 1 a whole choice, 2 damaged, 3 a planted link
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("warned");
    QTest::newRow("no file") << 0 << kFolderStore << false;
    QTest::newRow("whole choice") << 1 << u"Archivio condiviso: ufficio.negozio.lan/scaffaria"_s
                                  << false;
    QTest::newRow("damaged") << 2 << kFolderStore << true;
    QTest::newRow("link planted at its name") << 3 << kFolderStore << true;
}

// Start-up sets the store the file names; the hub and the information window say which.
void SharedArchive::startUpFollowsFile()
{
    QFETCH(int, file);
    QFETCH(QString, description);
    QFETCH(bool, warned);

    const QString path = SharedSettingsFile::path();
    if (file == 1)
        QVERIFY(SharedSettingsFile::write(officeServer()));
    if (file == 2)
        QVERIFY(put(path, "[Archivio condiviso]\nServer=srv\n"));
    if (file == 3) {
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(u"scelta.ini"_s);
        QVERIFY(put(target, "[Archivio condiviso]\r\nServer=srv\r\nPorta=5432\r\n"
                            "Database=db\r\nUtente=u\r\nPassword=\r\n"));
        QVERIFY(QFile::link(target, path));
        chooseStore(nullptr);
    } else {
        chooseStore(nullptr);
    }
    QCOMPARE(Store::current().shared(), file == 1);
    QCOMPARE(Store::current().description(), description);
    if (warned)
        QVERIFY(m_rec->showedOnly(Recorder::Kind::Warning, TfrmArchivioCondiviso::damagedFile()));
    else
        QVERIFY(m_rec->messages.isEmpty());

    createScreens();
    TfrmAvvio *hub = screens().avvio;
    hub->show();
    QCOMPARE(hub->lblArchivio->toolTip(), description);
    QCOMPARE(hub->lblArchivio->text(), description);
    TfrmInfo info(hub);
    QCOMPARE(info.lblArchivio->text(), description);
    QCOMPARE(info.lblArchivio->accessibleDescription(), description);
}

void SharedArchive::dialogControls()
{
    createScreens();
    TfrmAvvio *hub = screens().avvio;
    hub->showMaximized();
    QApplication::setActiveWindow(hub);
    QVERIFY(QTest::qWaitForWindowActive(hub));
    QCOMPARE(hub->imgArchivio->accessibleName(), u"Archivio condiviso"_s);
    QCOMPARE(hub->imgArchivio->toolTip(), u"Archivio condiviso tra più postazioni."_s);
    QCOMPARE(hub->imgArchivio->accessibleDescription(),
             u"Archivio condiviso tra più postazioni."_s);
    QCOMPARE(hub->imgArchivio->focusPolicy(), Qt::TabFocus);
    QVERIFY(HelpTexts::hubKeys().contains(u"F7 l'«Archivio condiviso»"_s));
    // Tab goes from the copies to the shared archive, then to the information.
    hub->imgCopie->setFocus(Qt::TabFocusReason);
    QTest::keyClick(hub->imgCopie, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), hub->imgArchivio);
    QTest::keyClick(hub->imgArchivio, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), hub->imgInfo);

    // F7 opens the dialog; it starts on the server with the usual port.
    bool checked = false;
    onNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmArchivioCondiviso *>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), u" Scaffaria - Archivio condiviso"_s);
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->txtPorta->text(), u"5432"_s);
        QCOMPARE(dialog->lblInUso->text(), u"In uso: "_s + kFolderStore);
        QCOMPARE(QApplication::focusWidget(), dialog->txtServer);
        QCOMPARE(dialog->txtPassword->echoMode(), QLineEdit::Password);
        QVERIFY(!dialog->btnUsaCartella->isEnabled());

        const QList<QPair<QLineEdit *, QString>> fields = {{dialog->txtServer, u"Server"_s},
                                                           {dialog->txtPorta, u"Porta"_s},
                                                           {dialog->txtDatabase, u"Database"_s},
                                                           {dialog->txtUtente, u"Utente"_s},
                                                           {dialog->txtPassword, u"Password"_s}};
        const QList<QPair<QPushButton *, QString>> buttons = {
            {dialog->btnProva, u"Prova connessione"_s},
            {dialog->btnUsaCondiviso, u"Usa l'archivio condiviso"_s},
            {dialog->btnTrasferisci,
             u"Trasferisci i dati di questa cartella nell'archivio condiviso"_s},
            {dialog->btnUsaCartella, u"Torna all'archivio nella cartella"_s},
            {dialog->btnChiudi, u"Chiudi"_s}};
        for (const auto &[field, name] : fields) {
            QCOMPARE(field->objectName(), u"txt"_s + name);
            QCOMPARE(field->accessibleName(), name);
            auto *label = dialog->findChild<QLabel *>(u"lbl"_s + name);
            QVERIFY(label);
            QCOMPARE(label->buddy(), field);
            QVERIFY(!field->toolTip().isEmpty());
        }
        for (const auto &[button, text] : buttons) {
            QCOMPARE(button->text(), text);
            QCOMPARE(button->accessibleName(), text);
            QVERIFY(!button->toolTip().isEmpty());
            // The whole text fits its button.
            QVERIFY(button->fontMetrics().horizontalAdvance(text) < button->width() - 16);
        }
        // Tab runs through the fields, then the buttons that can be pressed.
        for (int i = 1; i < fields.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), fields[i].first);
        }
        for (const auto &[button, text] : buttons) {
            if (!button->isEnabled())
                continue;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), button);
        }

        // The port takes digits only; the password shows no character of itself.
        dialog->txtPorta->clear();
        QTest::keyClicks(dialog->txtPorta, u"5a4-3 2"_s);
        QCOMPARE(dialog->txtPorta->text(), u"5432"_s);
        QTest::keyClicks(dialog->txtPorta, u"99"_s);
        QCOMPARE(dialog->txtPorta->text(), u"54329"_s);
        QTest::keyClicks(dialog->txtPassword, u"segreta"_s);
        QVERIFY(dialog->txtPassword->displayText() != u"segreta"_s);
        QVERIFY(!dialog->txtPassword->displayText().contains(u's'));
        checked = true;
        dialog->btnChiudi->click();
    });
    // A command key presses its button as a click would, a moment later.
    QTest::keyClick(hub, Qt::Key_F7);
    QTRY_VERIFY(checked);
    QVERIFY(m_rec->messages.isEmpty());
    QVERIFY(!QFileInfo::exists(SharedSettingsFile::path()));
}

void SharedArchive::missingField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("server") << u"txtServer"_s << u"  "_s << TfrmArchivioCondiviso::missingServer();
    QTest::newRow("port empty") << u"txtPorta"_s << QString()
                                << TfrmArchivioCondiviso::missingPort();
    QTest::newRow("port zero") << u"txtPorta"_s << u"0"_s << TfrmArchivioCondiviso::missingPort();
    QTest::newRow("port too large")
        << u"txtPorta"_s << u"65536"_s << TfrmArchivioCondiviso::missingPort();
    QTest::newRow("database") << u"txtDatabase"_s << QString()
                              << TfrmArchivioCondiviso::missingDatabase();
    QTest::newRow("user") << u"txtUtente"_s << QString() << TfrmArchivioCondiviso::missingUser();
}

// A missing field is named before anything is tried, the focus goes to it, and neither the
// file nor the store changes, whichever button was pressed.
void SharedArchive::missingField()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);

    TfrmArchivioCondiviso dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const Store::SharedSettings s = officeServer();
    dialog.txtServer->setText(s.server);
    dialog.txtDatabase->setText(s.database);
    dialog.txtUtente->setText(s.user);
    auto *blank = dialog.findChild<QLineEdit *>(field);
    QVERIFY(blank);
    blank->setText(text);
    for (QPushButton *button : {dialog.btnProva, dialog.btnUsaCondiviso, dialog.btnTrasferisci}) {
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY2(m_rec->showedOnly(Recorder::Kind::Warning, message),
                 qPrintable(button->objectName()));
        QCOMPARE(QApplication::focusWidget(), blank);
    }
    QVERIFY(!QFileInfo::exists(SharedSettingsFile::path()));
    QVERIFY(!Store::current().shared());
}

// "Torna all'archivio nella cartella" removes the choice and puts the folder store back,
// now and at the next start; the hub says so once the dialog closes.
void SharedArchive::backToFolder()
{
    QVERIFY(SharedSettingsFile::write(officeServer()));
    chooseStore(nullptr);
    QVERIFY(Store::current().shared());
    createScreens();
    TfrmAvvio *hub = screens().avvio;
    hub->showMaximized();
    QCOMPARE(hub->lblArchivio->toolTip(), u"Archivio condiviso: ufficio.negozio.lan/scaffaria"_s);

    bool done = false;
    onNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmArchivioCondiviso *>(modal);
        QVERIFY(dialog);
        // The fields show the choice in use, the password hidden.
        QCOMPARE(dialog->txtServer->text(), officeServer().server);
        QCOMPARE(dialog->txtPorta->text(), u"5433"_s);
        QCOMPARE(dialog->txtPassword->text(), officeServer().password);
        QVERIFY(dialog->btnUsaCartella->isEnabled());
        QTest::mouseClick(dialog->btnUsaCartella, Qt::LeftButton);
        QVERIFY(m_rec->showedOnly(Recorder::Kind::Information, TfrmArchivioCondiviso::nowFolder()));
        QCOMPARE(dialog->lblInUso->text(), u"In uso: "_s + kFolderStore);
        QVERIFY(!dialog->btnUsaCartella->isEnabled());
        done = true;
        dialog->btnChiudi->click();
    });
    QTest::mouseClick(hub->imgArchivio, Qt::LeftButton);
    QVERIFY(done);
    QVERIFY(!Store::current().shared());
    QCOMPARE(Store::current().description(), kFolderStore);
    QVERIFY(!QFileInfo::exists(SharedSettingsFile::path()));
    QCOMPARE(hub->lblArchivio->text(), kFolderStore);
    chooseStore(nullptr);
    QVERIFY(!Store::current().shared());
    QVERIFY(m_rec->messages.isEmpty());
}

// With the shared store in use the login writes no automatic copy, and a restore is refused
// before anything is read or changed.
void SharedArchive::backupsWithSharedStore()
{
    QVERIFY(put(m_folder->file(u"unins000.dll"_s), kInitialStore));
    QVERIFY(put(m_folder->file(u"Magazzino.pro"_s), QByteArray(2592, 'a')));
    QVERIFY(SharedSettingsFile::write(officeServer()));
    chooseStore(nullptr);
    createScreens();
    TfrmPassword *login = screens().password;
    login->show();
    QVERIFY(QTest::qWaitForWindowActive(login));
    QTest::keyClicks(login->txtPassword, u"chiaveiniziale"_s);
    QTest::mouseClick(login->cmdOK, Qt::LeftButton);
    QVERIFY(screens().avvio->isVisible());
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(BackupCopy::list(m_folder->path()).size(), 0);

    const QString copy = m_folder->file(u"altrove.zip"_s);
    QVERIFY(BackupCopy::write(m_folder->path(), copy, BackupCopy::Kind::Kept,
                              QDateTime::currentDateTime())
                .ok);
    QVERIFY(put(m_folder->file(u"Magazzino.pro"_s), QByteArray(2592, 'b')));
    m_rec->fileAnswers = {copy};
    TfrmCopie copies(screens().avvio);
    copies.show();
    QTest::mouseClick(copies.btnRipristinaDa, Qt::LeftButton);
    QVERIFY(m_rec->showedOnly(Recorder::Kind::Warning, TfrmCopie::restoreFolderOnly()));
    QCOMPARE(bytesOf(m_folder->file(u"Magazzino.pro"_s)), QByteArray(2592, 'b'));
    QCOMPARE(BackupCopy::list(m_folder->path()).size(), 0);
}

SCAFFARIA_TEST(SharedArchive)

// The dialog against a real server: a private PostgreSQL cluster that the test starts.
class SharedArchiveServer final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void testUseTransferBackUp();

private:
    // Fills the dialog's fields with the settings.
    static void fill(TfrmArchivioCondiviso &dialog, const Store::SharedSettings &settings);

    PgCluster m_cluster;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Recorder> m_rec;
};

void SharedArchiveServer::initTestCase()
{
    if (!PgCluster::binaries())
        QSKIP("PostgreSQL server binaries not installed (initdb, pg_ctl under "
              "/usr/lib/postgresql): `make test` installs them");
    QVERIFY2(m_cluster.start(), qPrintable(m_cluster.error()));
}

void SharedArchiveServer::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_rec = std::make_unique<Recorder>();
    Store::setCurrent(std::make_unique<Store::FolderBackend>());
}

void SharedArchiveServer::cleanup()
{
    destroyScreens();
    Store::setCurrent(std::make_unique<Store::FolderBackend>());
    QVERIFY2(m_rec->unexpected.isEmpty(), qPrintable(m_rec->unexpected.join(u", ")));
    m_rec.reset();
    m_folder.reset();
}

void SharedArchiveServer::fill(TfrmArchivioCondiviso &dialog, const Store::SharedSettings &settings)
{
    dialog.txtServer->setText(settings.server);
    dialog.txtPorta->setText(QString::number(settings.port));
    dialog.txtDatabase->setText(settings.database);
    dialog.txtUtente->setText(settings.user);
    dialog.txtPassword->setText(settings.password);
}

// A database that cannot be reached changes nothing; one that can is tested, filled once
// from the folder (and refused a second time), put in use, and backed up as the folder.
void SharedArchiveServer::testUseTransferBackUp()
{
    TSchedaProdotto first;
    first.Codice = u"A-1"_s;
    first.Nome = u"Vite inox € 4 mm"_s;
    first.Giacenza = u"12"_s;
    first.Pagato = TSchedaProdotto::paidNo();
    TSchedaProdotto second = first;
    second.Codice = u"B-2"_s;
    second.Nome = u"Dado"_s;
    const QByteArray archive = first.encode() + second.encode();
    QVERIFY(put(m_folder->file(u"Magazzino.pro"_s), archive));
    QVERIFY(put(m_folder->file(u"unins000.dll"_s), kInitialStore));
    QVERIFY(m_cluster.createDatabase(u"negozio"_s));
    const Store::SharedSettings settings = m_cluster.settings(u"negozio"_s);

    TfrmArchivioCondiviso dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    // A database that is not there: the store's own sentence, nothing kept, no switch.
    Store::SharedSettings absent = settings;
    absent.database = u"nessuno"_s;
    fill(dialog, absent);
    for (QPushButton *button : {dialog.btnProva, dialog.btnUsaCondiviso}) {
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY2(m_rec->showedOnly(Recorder::Kind::Warning, Store::sharedFailureText()),
                 qPrintable(button->objectName()));
    }
    QVERIFY(!QFileInfo::exists(SharedSettingsFile::path()));
    QVERIFY(!Store::current().shared());

    fill(dialog, settings);
    QTest::mouseClick(dialog.btnProva, Qt::LeftButton);
    QVERIFY(
        m_rec->showedOnly(Recorder::Kind::Information, TfrmArchivioCondiviso::connected(settings)));
    QVERIFY(!QFileInfo::exists(SharedSettingsFile::path()));

    // The transfer asks first; No leaves the database empty.
    m_rec->answers = {false};
    QTest::mouseClick(dialog.btnTrasferisci, Qt::LeftButton);
    QVERIFY(m_rec->showedOnly(Recorder::Kind::Question,
                              TfrmArchivioCondiviso::transferQuestion(settings)));
    QCOMPARE(Store::SharedBackend(settings).isEmpty(), std::optional<bool>(true));
    m_rec->answers = {true};
    QTest::mouseClick(dialog.btnTrasferisci, Qt::LeftButton);
    QList<Recorder::Message> shown = m_rec->take();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1).kind, Recorder::Kind::Information);
    QCOMPARE(shown.at(1).text, TfrmArchivioCondiviso::transferred());
    m_rec->answers = {true};
    QTest::mouseClick(dialog.btnTrasferisci, Qt::LeftButton);
    shown = m_rec->take();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1).kind, Recorder::Kind::Warning);
    QCOMPARE(shown.at(1).text, Store::sharedNotEmptyText());

    QTest::mouseClick(dialog.btnUsaCondiviso, Qt::LeftButton);
    QVERIFY(
        m_rec->showedOnly(Recorder::Kind::Information, TfrmArchivioCondiviso::nowShared(settings)));
    QVERIFY(Store::current().shared());
    QCOMPARE(Store::current().description(),
             u"Archivio condiviso: "_s + settings.server + u'/' + settings.database);
    QCOMPARE(dialog.lblInUso->text(), u"In uso: "_s + Store::current().description());
    const SharedSettingsFile::Content kept = SharedSettingsFile::read();
    QCOMPARE(kept.state, SharedSettingsFile::State::Present);
    QVERIFY(kept.settings == settings);
    {
        const std::unique_ptr<Store::Cards> cards = Store::current().cards();
        QVERIFY(cards->open());
        QCOMPARE(cards->count(), 2);
        QCOMPARE(cards->readAt(2)->record.Codice, u"B-2"_s);
        QVERIFY(cards->close());
    }
    dialog.close();

    // The copy of the shared archive holds the folder's files: the database written out
    // and this workstation's password store; the choice file is not part of it.
    QVERIFY(put(m_folder->file(u"Magazzino.pro"_s), QByteArray()));
    createScreens();
    TfrmCopie copies(screens().avvio);
    QVERIFY(copies.lblCartella->text().startsWith(u"L'archivio condiviso è in uso"_s));
    copies.show();
    QTest::mouseClick(copies.btnSalvaCopia, Qt::LeftButton);
    QVERIFY(m_rec->messages.isEmpty());
    const QList<BackupCopy::Listed> listed = BackupCopy::list(m_folder->path());
    QCOMPARE(listed.size(), 1);
    QVERIFY(listed.first().summary);
    QCOMPARE(listed.first().summary->cards, 2);
    QVERIFY(put(m_folder->file(u"Magazzino.pro"_s), archive));
    QVERIFY(BackupCopy::holdsSameData(m_folder->path(), listed.first().path));
}

SCAFFARIA_TEST(SharedArchiveServer)
#include "tst_sharedarchive.moc"
