#include "app/avvio.h"
#include "app/cambiapassword.h"
#include "app/crypt.h"
#include "app/password.h"
#include "app/passwordstore.h"
#include "app/startup.h"
#include "common/durablefile.h"
#include "common/focushighlight.h"
#include "common/programfolder.h"
#include "common/screens.h"
#include "support/recorder.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kInitialStore = "[Accesso]\nValore=6763ED177AFEAE9E20CF36655AC8\n";
const QByteArray kNoFile = "<none>";
const QByteArray kDirectory = "<directory>";

QByteArray storeFor(const QString &hex) { return "[Accesso]\nValore=" + hex.toLatin1() + "\n"; }

// Puts the store in place: file content, no file at all, or a folder in its place.
bool placeStore(const QByteArray &content)
{
    if (content == kNoFile)
        return true;
    if (content == kDirectory)
        return QDir().mkdir(PasswordStore::path());
    QFile file(PasswordStore::path());
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray storeBytes()
{
    QFile file(PasswordStore::path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Types text the way the keyboard does where it can; characters a key click cannot
// carry are inserted as typed text.
void type(QLineEdit *edit, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(edit, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

// The login and change-password screens, driven through their controls.
class Access final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void startShowsOnlyLogin();
    void login_data();
    void login();
    void okFollowsTrimmedText_data();
    void okFollowsTrimmedText();
    void enterLogsIn();
    void change_data();
    void change();
    void refusedChangeKeepsStoreBytes_data();
    void refusedChangeKeepsStoreBytes();
    void changeThenLogin();
    void failedSyncKeepsStore_data();
    void failedSyncKeepsStore();
    void readOnlyPortableFolderLogsIn();
    void changeScreenOpensEmptyAndClosesToLogin();
    void enterMovesAlongChangeFields();

private:
    TfrmPassword *loginScreen() const { return screens().password; }
    TfrmCambiaPassword *changeScreen() const { return screens().cambiaPassword; }
    void showLogin();
    void openChange();

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Recorder> m_rec;
};

void Access::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_rec = std::make_unique<Recorder>();
    createScreens();
}

void Access::cleanup()
{
    destroyScreens();
    QVERIFY2(m_rec->unexpected.isEmpty(), qPrintable(m_rec->unexpected.join(u", ")));
    m_rec.reset();
    m_folder.reset();
}

void Access::showLogin()
{
    loginScreen()->show();
    QVERIFY(QTest::qWaitForWindowActive(loginScreen()));
}

void Access::openChange()
{
    showLogin();
    QTest::mouseClick(loginScreen()->btnCambiaPassword, Qt::LeftButton);
    QVERIFY(changeScreen()->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(changeScreen()));
}

void Access::startShowsOnlyLogin()
{
    destroyScreens();
    startProgram();
    QVERIFY(loginScreen()->isVisible());
    QVERIFY(loginScreen()->isWindow());
    QCOMPARE(loginScreen()->windowTitle(), u" Scaffaria - Accesso"_s);
    QCOMPARE(loginScreen()->size(), QSize(388, 405));
    QVERIFY(!(loginScreen()->windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(changeScreen()->size(), QSize(411, 418));
    QCOMPARE(changeScreen()->windowTitle(), u" Cambia password"_s);
    QWidgetList visible;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            visible.append(w);
    }
    QCOMPARE(visible, QWidgetList{static_cast<QWidget *>(loginScreen())});
    QVERIFY(QTest::qWaitForWindowActive(loginScreen()));
    QVERIFY(loginScreen()->txtPassword->hasFocus());
    QVERIFY(loginScreen()->effPassword->isVisible());
    QVERIFY(!loginScreen()->cmdOK->isEnabled());
}

enum class Outcome { Hub, Wrong, ReadFailure };

void Access::login_data()
{
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Outcome>("outcome");

    const QByteArray accented = storeFor(Crypt::Encrypt(u"CITTÀ 1"_s));
    QTest::newRow("initial, lower case") << kInitialStore << u"chiaveiniziale"_s << Outcome::Hub;
    QTest::newRow("initial, upper case") << kInitialStore << u"CHIAVEINIZIALE"_s << Outcome::Hub;
    QTest::newRow("initial, mixed case") << kInitialStore << u"ChiaveIniziale"_s << Outcome::Hub;
    QTest::newRow("blanks around ignored")
        << kInitialStore << u"  chiaveiniziale "_s << Outcome::Hub;
    QTest::newRow("inner blank counts") << kInitialStore << u"chiave iniziale"_s << Outcome::Wrong;
    QTest::newRow("wrong password") << kInitialStore << u"chiave"_s << Outcome::Wrong;
    QTest::newRow("accented, same case") << accented << u"città 1"_s << Outcome::Wrong;
    QTest::newRow("accented, as set") << accented << u"cittÀ 1"_s << Outcome::Hub;
    QTest::newRow("no store") << kNoFile << u"chiaveiniziale"_s << Outcome::Wrong;
    QTest::newRow("no section") << QByteArray("[Altro]\nValore=6763\n") << u"ch"_s
                                << Outcome::Wrong;
    QTest::newRow("empty value") << QByteArray("[Accesso]\nValore=\n") << u"x"_s << Outcome::Wrong;
    QTest::newRow("odd length, last digit ignored")
        << storeFor(Crypt::Encrypt(u"AB"_s) + u"F"_s) << u"ab"_s << Outcome::Hub;
    QTest::newRow("lower-case hex")
        << storeFor(Crypt::Encrypt(u"AB"_s).toLower()) << u"ab"_s << Outcome::Hub;
    QTest::newRow("CRLF among other sections")
        << QByteArray(
               "[Altro]\r\nValore=00\r\n[ACCESSO]\r\nvalore=6763ED177AFEAE9E20CF36655AC8\r\n")
        << u"chiaveiniziale"_s << Outcome::Hub;
    QTest::newRow("not hexadecimal")
        << QByteArray("[Accesso]\nValore=67Z3\n") << u"chiaveiniziale"_s << Outcome::ReadFailure;
    QTest::newRow("store unreadable") << kDirectory << u"chiaveiniziale"_s << Outcome::ReadFailure;
}

void Access::login()
{
    QFETCH(QByteArray, store);
    QFETCH(QString, typed);
    QFETCH(Outcome, outcome);
    QVERIFY(placeStore(store));
    showLogin();
    TfrmPassword *screen = loginScreen();

    type(screen->txtPassword, typed);
    QVERIFY(screen->cmdOK->isEnabled());
    QTest::mouseClick(screen->cmdOK, Qt::LeftButton);

    switch (outcome) {
    case Outcome::Hub:
        QVERIFY(m_rec->messages.isEmpty());
        QVERIFY(screens().hub->isVisible());
        QVERIFY(screens().hub->isMaximized());
        QVERIFY(!screen->isVisible());
        break;
    case Outcome::Wrong:
        QVERIFY(m_rec->showedOnly(Recorder::Kind::Plain, TfrmPassword::wrongPassword()));
        QVERIFY(screen->isVisible());
        QVERIFY(!screens().hub->isVisible());
        QCOMPARE(screen->txtPassword->text(), QString());
        QVERIFY(screen->txtPassword->hasFocus());
        QVERIFY(!screen->cmdOK->isEnabled());
        break;
    case Outcome::ReadFailure:
        QVERIFY(m_rec->showedOnly(Recorder::Kind::Plain, TfrmPassword::readFailure()));
        QVERIFY(screen->isVisible());
        QVERIFY(!screens().hub->isVisible());
        QCOMPARE(screen->txtPassword->text(), typed);
        break;
    }
    QVERIFY(!screen->lblMemory->isVisible());
}

void Access::okFollowsTrimmedText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("nothing") << QString() << false;
    QTest::newRow("blanks only") << u"   "_s << false;
    QTest::newRow("one letter among blanks") << u" a "_s << true;
}

void Access::okFollowsTrimmedText()
{
    QFETCH(QString, typed);
    QFETCH(bool, enabled);
    QVERIFY(placeStore(kInitialStore));
    showLogin();
    type(loginScreen()->txtPassword, typed);
    QCOMPARE(loginScreen()->cmdOK->isEnabled(), enabled);
    // Enter does what OK does only when OK is possible: here it finds a wrong password.
    QTest::keyClick(loginScreen()->txtPassword, Qt::Key_Return);
    QCOMPARE(m_rec->take().size(), enabled ? 1 : 0);
    QVERIFY(loginScreen()->isVisible());

    // Emptying the field by keys disables OK again.
    type(loginScreen()->txtPassword, u"x"_s);
    QVERIFY(loginScreen()->cmdOK->isEnabled());
    QTest::keyClick(loginScreen()->txtPassword, Qt::Key_Backspace);
    QVERIFY(!loginScreen()->cmdOK->isEnabled());
}

void Access::enterLogsIn()
{
    QVERIFY(placeStore(kInitialStore));
    showLogin();
    type(loginScreen()->txtPassword, u"chiaveiniziale"_s);
    QTest::keyClick(loginScreen()->txtPassword, Qt::Key_Return);
    QVERIFY(m_rec->messages.isEmpty());
    QVERIFY(screens().hub->isVisible());
    QVERIFY(!loginScreen()->isVisible());
}

enum class Refusal { None, OldWrong, NotConfirmed, NotStorable, Failure };

void Access::change_data()
{
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<Refusal>("refusal");

    const QString initial = u"chiaveiniziale"_s;
    QTest::newRow("changed") << kInitialStore << initial << u"nuova"_s << u"nuova"_s
                             << Refusal::None;
    QTest::newRow("old in upper case, blanks around confirmation")
        << kInitialStore << u"CHIAVEINIZIALE"_s << u"Nuova 2"_s << u" Nuova 2  "_s << Refusal::None;
    QTest::newRow("255 characters")
        << kInitialStore << initial << QString(255, u'k') << QString(255, u'k') << Refusal::None;
    QTest::newRow("old wrong") << kInitialStore << u"chiave"_s << u"nuova"_s << u"nuova"_s
                               << Refusal::OldWrong;
    QTest::newRow("no store: every old password wrong")
        << kNoFile << initial << u"nuova"_s << u"nuova"_s << Refusal::OldWrong;
    QTest::newRow("confirmation in another case")
        << kInitialStore << initial << u"nuova"_s << u"NUOVA"_s << Refusal::NotConfirmed;
    QTest::newRow("confirmation differs")
        << kInitialStore << initial << u"nuova"_s << u"nuove"_s << Refusal::NotConfirmed;
    QTest::newRow("256 characters") << kInitialStore << initial << QString(256, u'k')
                                    << QString(256, u'k') << Refusal::NotStorable;
    QTest::newRow("character beyond U+00FF")
        << kInitialStore << initial << u"prezzo€"_s << u"prezzo€"_s << Refusal::NotStorable;
    QTest::newRow("store not hexadecimal") << QByteArray("[Accesso]\nValore=XY\n") << initial
                                           << u"nuova"_s << u"nuova"_s << Refusal::Failure;
    QTest::newRow("store unreadable")
        << kDirectory << initial << u"nuova"_s << u"nuova"_s << Refusal::Failure;
}

void Access::change()
{
    QFETCH(QByteArray, store);
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(Refusal, refusal);
    QVERIFY(placeStore(store));
    const QByteArray before = storeBytes();
    openChange();
    TfrmCambiaPassword *screen = changeScreen();

    type(screen->txtPasswordOld, oldPassword);
    type(screen->txtPasswordNew, newPassword);
    QVERIFY(!screen->cmdOK->isEnabled());
    type(screen->txtConferma, confirmation);
    QVERIFY(screen->cmdOK->isEnabled());
    QTest::mouseClick(screen->cmdOK, Qt::LeftButton);

    if (refusal == Refusal::None) {
        QVERIFY(m_rec->showedOnly(Recorder::Kind::Plain, TfrmCambiaPassword::changed()));
        QVERIFY(!screen->isVisible());
        QVERIFY(loginScreen()->isVisible());
        QVERIFY(!screens().hub->isVisible());
        QCOMPARE(storeBytes(), storeFor(Crypt::Encrypt(Crypt::Normalise(newPassword))));
        return;
    }

    QCOMPARE(storeBytes(), before);
    QVERIFY(screen->isVisible());
    QVERIFY(!loginScreen()->isVisible());
    switch (refusal) {
    case Refusal::OldWrong:
        QVERIFY(m_rec->showedOnly(Recorder::Kind::Plain, TfrmCambiaPassword::wrongOldPassword()));
        QCOMPARE(screen->txtPasswordOld->text(), QString());
        QCOMPARE(screen->txtPasswordNew->text(), newPassword);
        QVERIFY(screen->txtPasswordOld->hasFocus());
        break;
    case Refusal::NotConfirmed:
    case Refusal::NotStorable:
        QVERIFY(m_rec->showedOnly(Recorder::Kind::Plain, refusal == Refusal::NotConfirmed
                                                             ? TfrmCambiaPassword::notConfirmed()
                                                             : TfrmCambiaPassword::notStorable()));
        QCOMPARE(screen->txtPasswordOld->text(), oldPassword);
        QCOMPARE(screen->txtPasswordNew->text(), QString());
        QCOMPARE(screen->txtConferma->text(), QString());
        QVERIFY(screen->txtPasswordNew->hasFocus());
        break;
    case Refusal::Failure:
        QVERIFY(m_rec->showedOnly(Recorder::Kind::Plain, TfrmCambiaPassword::changeFailure()));
        QCOMPARE(screen->txtPasswordOld->text(), oldPassword);
        QCOMPARE(screen->txtConferma->text(), confirmation);
        break;
    case Refusal::None:
        break;
    }
    QVERIFY(!screen->cmdOK->isEnabled() || refusal == Refusal::Failure);
}

void Access::refusedChangeKeepsStoreBytes_data()
{
    QTest::addColumn<QString>("newPassword");
    QTest::newRow("too long") << QString(300, u'z');
    QTest::newRow("outside Latin-1") << u"ŁÓDŹ"_s;
}

void Access::refusedChangeKeepsStoreBytes()
{
    // A store written by hand, CRLF and all: a refused change leaves every byte, and the
    // old password still opens the hub.
    QFETCH(QString, newPassword);
    const QByteArray store =
        "; copia\r\n[Accesso]\r\nValore=" + Crypt::Encrypt(u"VECCHIA"_s).toLatin1() + "\r\n";
    QVERIFY(placeStore(store));
    openChange();
    type(changeScreen()->txtPasswordOld, u"vecchia"_s);
    type(changeScreen()->txtPasswordNew, newPassword);
    type(changeScreen()->txtConferma, newPassword);
    QTest::mouseClick(changeScreen()->cmdOK, Qt::LeftButton);
    QVERIFY(m_rec->showedOnly(Recorder::Kind::Plain, TfrmCambiaPassword::notStorable()));
    QCOMPARE(storeBytes(), store);

    QTest::mouseClick(changeScreen()->cmdEsci, Qt::LeftButton);
    type(loginScreen()->txtPassword, u"vecchia"_s);
    QTest::mouseClick(loginScreen()->cmdOK, Qt::LeftButton);
    QVERIFY(m_rec->messages.isEmpty());
    QVERIFY(screens().hub->isVisible());
}

void Access::failedSyncKeepsStore_data()
{
    QTest::addColumn<bool>("folder"); // the folder's entry fails to sync, else the file's data
    QTest::newRow("data") << false;
    QTest::newRow("folder entry") << true;
}

// The new store does not reach the disk: the change says it failed, the store keeps its
// bytes and the old password still opens the hub.
void Access::failedSyncKeepsStore()
{
    QFETCH(bool, folder);
    QVERIFY(placeStore(kInitialStore));
    openChange();
    type(changeScreen()->txtPasswordOld, u"chiaveiniziale"_s);
    type(changeScreen()->txtPasswordNew, u"nuova"_s);
    type(changeScreen()->txtConferma, u"nuova"_s);
    const QString store = PasswordStore::path();
    const QString storeFolder = QDir::cleanPath(m_folder->path());
    DurableFile::setSyncCheckForTests([&](const QString &path) {
        return folder ? QDir::cleanPath(path) != storeFolder : path != store;
    });
    QTest::mouseClick(changeScreen()->cmdOK, Qt::LeftButton);
    DurableFile::setSyncCheckForTests({});
    QVERIFY(m_rec->showedOnly(Recorder::Kind::Plain, TfrmCambiaPassword::changeFailure()));
    QCOMPARE(storeBytes(), kInitialStore);

    QTest::mouseClick(changeScreen()->cmdEsci, Qt::LeftButton);
    type(loginScreen()->txtPassword, u"chiaveiniziale"_s);
    QTest::mouseClick(loginScreen()->cmdOK, Qt::LeftButton);
    QVERIFY(m_rec->messages.isEmpty());
    QVERIFY(screens().hub->isVisible());
}

// A portable folder that cannot be written at start is still the program's folder: its
// own store lets the right password in, instead of an empty folder of the user's.
void Access::readOnlyPortableFolderLogsIn()
{
    QVERIFY(placeStore(kInitialStore));
    const QString folder = m_folder->path();
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    const bool writable = ProgramFolder::canWrite(folder); // true only for the superuser
    QProcessEnvironment environment;
    environment.insert(u"HOME"_s, u"/home/anna"_s);
    const QString chosen =
        ProgramFolder::choose(folder, ProgramFolder::keepsFilesBeside(folder, false), environment);
    QCOMPARE(ProgramFolder::keepsFilesBeside(folder), true);
    QCOMPARE(chosen, folder);

    showLogin();
    type(loginScreen()->txtPassword, u"chiaveiniziale"_s);
    QTest::mouseClick(loginScreen()->cmdOK, Qt::LeftButton);
    QVERIFY(m_rec->messages.isEmpty());
    QVERIFY(screens().hub->isVisible());
    if (!writable)
        QVERIFY(!PasswordStore::write(u"00"_s)); // a save says it cannot write
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void Access::changeThenLogin()
{
    QVERIFY(placeStore(kInitialStore));
    showLogin();
    // A failed attempt leaves the deciphered password in the login's working variable.
    type(loginScreen()->txtPassword, u"sbagliata"_s);
    QTest::mouseClick(loginScreen()->cmdOK, Qt::LeftButton);
    m_rec->take();
    QCOMPARE(loginScreen()->lblMemory->text(), u"CHIAVEINIZIALE"_s);

    QTest::mouseClick(loginScreen()->btnCambiaPassword, Qt::LeftButton);
    type(changeScreen()->txtPasswordOld, u"chiaveiniziale"_s);
    type(changeScreen()->txtPasswordNew, u"Più sicura"_s);
    type(changeScreen()->txtConferma, u"Più sicura"_s);
    QTest::mouseClick(changeScreen()->cmdOK, Qt::LeftButton);
    QVERIFY(m_rec->showedOnly(Recorder::Kind::Plain, TfrmCambiaPassword::changed()));
    QCOMPARE(storeBytes(), storeFor(Crypt::Encrypt(u"PIù SICURA"_s)));

    // Back on the login screen, not logged in, with everything emptied.
    QVERIFY(loginScreen()->isVisible());
    QVERIFY(!screens().hub->isVisible());
    QCOMPARE(loginScreen()->txtPassword->text(), QString());
    QCOMPARE(loginScreen()->lblMemory->text(), QString());
    // Activation of the window that comes back is asynchronous.
    QTRY_VERIFY(loginScreen()->txtPassword->hasFocus());

    type(loginScreen()->txtPassword, u"chiaveiniziale"_s);
    QTest::mouseClick(loginScreen()->cmdOK, Qt::LeftButton);
    QVERIFY(m_rec->showedOnly(Recorder::Kind::Plain, TfrmPassword::wrongPassword()));
    type(loginScreen()->txtPassword, u"più SICURA"_s);
    QTest::mouseClick(loginScreen()->cmdOK, Qt::LeftButton);
    QVERIFY(m_rec->messages.isEmpty());
    QVERIFY(screens().hub->isVisible());
}

void Access::changeScreenOpensEmptyAndClosesToLogin()
{
    QVERIFY(placeStore(kInitialStore));
    openChange();
    QVERIFY(!loginScreen()->isVisible());
    type(changeScreen()->txtPasswordOld, u"a"_s);
    type(changeScreen()->txtPasswordNew, u"b"_s);
    type(changeScreen()->txtConferma, u"c"_s);
    changeScreen()->lblMemory->setText(u"resto"_s);
    type(loginScreen()->txtPassword, u"scritta"_s);

    QTest::mouseClick(changeScreen()->cmdEsci, Qt::LeftButton);
    QVERIFY(m_rec->messages.isEmpty());
    QVERIFY(!changeScreen()->isVisible());
    QVERIFY(loginScreen()->isVisible());
    QCOMPARE(loginScreen()->txtPassword->text(), QString());
    QCOMPARE(storeBytes(), kInitialStore);

    openChange();
    for (QLineEdit *edit : {changeScreen()->txtPasswordOld, changeScreen()->txtPasswordNew,
                            changeScreen()->txtConferma})
        QCOMPARE(edit->text(), QString());
    QCOMPARE(changeScreen()->lblMemory->text(), QString());
    QVERIFY(!changeScreen()->cmdOK->isEnabled());
    QVERIFY(changeScreen()->txtPasswordOld->hasFocus());
    QVERIFY(changeScreen()->effPasswordOld->isVisible());
    QVERIFY(!changeScreen()->effPasswordNew->isVisible());
}

void Access::enterMovesAlongChangeFields()
{
    QVERIFY(placeStore(kInitialStore));
    openChange();
    TfrmCambiaPassword *screen = changeScreen();
    const QList<QLineEdit *> chain = {screen->txtPasswordOld, screen->txtPasswordNew,
                                      screen->txtConferma, screen->txtPasswordOld};
    const QStringList typed = {u"chiaveiniziale"_s, u"nuova"_s, u"nuova"_s};
    for (int i = 0; i < 3; ++i) {
        QVERIFY(chain[i]->hasFocus());
        type(chain[i], typed[i]);
        QTest::keyClick(chain[i], Qt::Key_Return);
        QVERIFY(chain[i + 1]->hasFocus());
        QCOMPARE(chain[i]->text(), typed[i]);
    }
    // All three filled and Enter pressed everywhere: nothing was changed.
    QVERIFY(screen->cmdOK->isEnabled());
    QVERIFY(m_rec->messages.isEmpty());
    QVERIFY(screen->isVisible());
    QCOMPARE(storeBytes(), kInitialStore);
}

SCAFFARIA_TEST(Access)
#include "tst_access.moc"
