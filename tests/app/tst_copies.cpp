#include "app/avvio.h"
#include "app/backupcopy.h"
#include "app/copie.h"
#include "app/password.h"
#include "app/startup.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "support/recorder.h"
#include "support/testmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kInitialStore = "[Accesso]\nValore=6763ED177AFEAE9E20CF36655AC8\n";

bool put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray card(char fill) { return QByteArray(2592, fill); }

QStringList copiesIn(const QString &folder)
{
    return QDir(BackupCopy::folderIn(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

// The automatic copy at login, the backup screen and the hub's command and label.
class CopiesScreen final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void loginWritesCopyBeforeHub();
    void fullDiskAtLoginWarnsOnceAndStarts();
    void saveChangeRestore();
    void saveToChosenPlace();
    void badCopyChangesNothing();
    void screenConventions();

private:
    void login();
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Recorder> m_rec;
};

void CopiesScreen::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_rec = std::make_unique<Recorder>();
    QVERIFY(put(m_folder->file(u"unins000.dll"_s), kInitialStore));
    QVERIFY(put(m_folder->file(u"Magazzino.pro"_s), card('a')));
    createScreens();
}

void CopiesScreen::cleanup()
{
    destroyScreens();
    BackupCopy::setWriteLimitForTests(-1);
    QVERIFY2(m_rec->unexpected.isEmpty(), qPrintable(m_rec->unexpected.join(u", ")));
    m_rec.reset();
    m_folder.reset();
}

void CopiesScreen::login()
{
    TfrmPassword *screen = screens().password;
    screen->show();
    QVERIFY(QTest::qWaitForWindowActive(screen));
    QTest::keyClicks(screen->txtPassword, u"chiaveiniziale"_s);
    QTest::mouseClick(screen->cmdOK, Qt::LeftButton);
}

void CopiesScreen::loginWritesCopyBeforeHub()
{
    login();
    QVERIFY(screens().avvio->isVisible());
    QVERIFY(m_rec->messages.isEmpty());
    const QStringList copies = copiesIn(m_folder->path());
    QCOMPARE(copies.size(), 1);
    const QDateTime when = *BackupCopy::dateFromFileName(copies.first());
    QVERIFY(qAbs(when.secsTo(QDateTime::currentDateTime())) < 60);
    QCOMPARE(screens().avvio->lblUltimaCopia->text(),
             u"Ultima copia di sicurezza: "_s + when.toString(u"dd/MM/yyyy HH:mm"_s));
}

void CopiesScreen::fullDiskAtLoginWarnsOnceAndStarts()
{
    // Bytes that do not shrink when deflated, more than the disk takes.
    QByteArray cards(200 * 2592, Qt::Uninitialized);
    for (qsizetype i = 0; i < cards.size(); ++i)
        cards[i] = char((i * 7919 + i / 13 * 104729) % 251);
    QVERIFY(put(m_folder->file(u"Magazzino.pro"_s), cards));
    BackupCopy::setWriteLimitForTests(1000);
    login();
    QVERIFY(m_rec->showedOnly(Recorder::Kind::Warning,
                              TfrmCopie::automaticFailure() +
                                  u"\r\n\r\nLo spazio libero sul disco non è sufficiente."_s));
    QVERIFY(screens().avvio->isVisible());
    QVERIFY(!screens().password->isVisible());
    QCOMPARE(copiesIn(m_folder->path()), QStringList{});
    QCOMPARE(screens().avvio->lblUltimaCopia->text(), u"Nessuna copia di sicurezza"_s);
}

// A card changed after a copy: "Salva copia ora" keeps the change, "Ripristina" of the
// older copy brings the card back, and the changed state is kept in a new copy.
void CopiesScreen::saveChangeRestore()
{
    const QString archive = m_folder->file(u"Magazzino.pro"_s);
    TfrmAvvio *hub = screens().avvio;
    hub->show();
    QApplication::setActiveWindow(hub);
    QVERIFY(QTest::qWaitForWindowActive(hub));
    onNextModal([&](QWidget *window) {
        auto *copies = qobject_cast<TfrmCopie *>(window);
        QVERIFY(copies);
        QCOMPARE(copies->lstCopie->model()->rowCount(), 0);
        QVERIFY(!copies->btnRipristina->isEnabled());

        QTest::mouseClick(copies->btnSalvaCopia, Qt::LeftButton);
        QVERIFY(put(archive, card('a') + card('b')));
        QTest::keyClick(copies->lstCopie, Qt::Key_S, Qt::ControlModifier);
        QTRY_COMPARE(copies->lstCopie->model()->rowCount(), 2);
        const QString line = copies->lstCopie->model()->index(0, 0).data().toString();
        QVERIFY2(line.contains(u"   2 schede, 0 listini   0,0 MB"_s), qPrintable(line));

        // The older copy, one card.
        copies->lstCopie->setFocus();
        QTest::keyClick(copies->lstCopie, Qt::Key_Down);
        QTest::keyClick(copies->lstCopie, Qt::Key_Down);
        QCOMPARE(copies->lstCopie->currentIndex().row(), 1);
        m_rec->answers = {true};
        QTest::keyClick(copies->lstCopie, Qt::Key_Return);
        QCOMPARE(copies->lstCopie->model()->rowCount(), 3);
        QTest::mouseClick(copies->btnChiudi, Qt::LeftButton);
    });
    QTest::keyClick(hub, Qt::Key_F6);
    QTRY_COMPARE(m_rec->messages.size(), 2);

    const QList<Recorder::Message> shown = m_rec->take();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0).kind, Recorder::Kind::Question);
    QVERIFY2(shown.at(0).text.startsWith(u"Ripristinare i dati della copia del "_s),
             qPrintable(shown.at(0).text));
    QVERIFY(shown.at(0).text.endsWith(
        u" (1 schede, 0 listini)?\r\n\r\nI dati attuali vengono prima salvati in una nuova "
        u"copia di sicurezza."_s));
    QCOMPARE(shown.at(1).kind, Recorder::Kind::Information);
    QCOMPARE(shown.at(1).text, u"I dati sono stati ripristinati."_s);
    QCOMPARE(bytesOf(archive), card('a'));

    // The newest copy holds the changed state.
    const QList<BackupCopy::Listed> copies = BackupCopy::list(m_folder->path());
    QCOMPARE(copies.size(), 3);
    QCOMPARE(copies.first().summary->cards, 2);
    QCOMPARE(copies.first().summary->kind, BackupCopy::Kind::Kept);
    QVERIFY(hub->lblUltimaCopia->text().startsWith(u"Ultima copia di sicurezza: "_s));
}

void CopiesScreen::saveToChosenPlace()
{
    QVERIFY(put(m_folder->file(u"Documenti_Allegati/Fattura è.pdf"_s), "pdf"));
    const QString stick = m_folder->file(u"chiavetta USB/copia di marzo"_s);
    m_rec->fileAnswers = {stick};
    TfrmCopie copies(screens().avvio);
    copies.show();
    QTest::mouseClick(copies.btnCopiaIn, Qt::LeftButton);
    QVERIFY(m_rec->messages.isEmpty());
    QCOMPARE(m_rec->fileDialogs.size(), 1);
    QVERIFY(
        BackupCopy::dateFromFileName(QFileInfo(m_rec->fileDialogs.first().proposed).fileName()));
    QCOMPARE(m_rec->fileDialogs.first().filter, u"Copie di sicurezza (*.zip)"_s);

    // The chosen name gets the extension the file managers open.
    const QString written = stick + u".zip"_s;
    BackupCopy::Summary found;
    QVERIFY(BackupCopy::check(written, m_folder->path(), &found).ok);
    QCOMPARE(found.cards, 1);
    QVERIFY(BackupCopy::holdsSameData(m_folder->path(), written));
    QCOMPARE(copiesIn(m_folder->path()), QStringList{});
}

void CopiesScreen::badCopyChangesNothing()
{
    const QString copy = m_folder->file(u"altrove.zip"_s);
    QVERIFY(BackupCopy::write(m_folder->path(), copy, BackupCopy::Kind::Kept,
                              QDateTime::currentDateTime())
                .ok);
    const QByteArray whole = bytesOf(copy);
    QVERIFY(put(copy, whole.left(whole.size() / 2)));
    QVERIFY(put(m_folder->file(u"Magazzino.pro"_s), card('c')));

    m_rec->fileAnswers = {copy};
    TfrmCopie copies(screens().avvio);
    copies.show();
    QTest::mouseClick(copies.btnRipristinaDa, Qt::LeftButton);
    QVERIFY(m_rec->showedOnly(Recorder::Kind::Warning, TfrmCopie::invalidCopy()));
    QCOMPARE(bytesOf(m_folder->file(u"Magazzino.pro"_s)), card('c'));
    QCOMPARE(copiesIn(m_folder->path()), QStringList{});
}

void CopiesScreen::screenConventions()
{
    TfrmAvvio *hub = screens().avvio;
    QCOMPARE(hub->imgCopie->accessibleName(), u"Copie di sicurezza"_s);
    QCOMPARE(hub->imgCopie->accessibleDescription(), u"Copie di sicurezza dei dati."_s);
    QCOMPARE(hub->imgCopie->toolTip(), u"Copie di sicurezza dei dati."_s);

    QVERIFY(BackupCopy::write(m_folder->path(),
                              BackupCopy::newCopyPath(BackupCopy::folderIn(m_folder->path()),
                                                      QDateTime::currentDateTime()),
                              BackupCopy::Kind::Kept, QDateTime::currentDateTime())
                .ok);
    TfrmCopie copies(hub);
    copies.show();
    QVERIFY(QTest::qWaitForWindowActive(&copies));
    QCOMPARE(copies.lstCopie->model()->rowCount(), 1);
    QCOMPARE(copies.windowTitle(), u" Scaffaria - Copie di sicurezza"_s);
    QCOMPARE(copies.minimumSize(), copies.maximumSize());
    const QList<QPair<QPushButton *, QString>> buttons = {
        {copies.btnSalvaCopia, u"Salva copia ora"_s},
        {copies.btnCopiaIn, u"Salva copia in..."_s},
        {copies.btnRipristina, u"Ripristina"_s},
        {copies.btnRipristinaDa, u"Ripristina da file..."_s},
        {copies.btnChiudi, u"Chiudi"_s}};
    for (const auto &[button, text] : buttons) {
        QCOMPARE(button->text(), text);
        // Hovering writes the hint into the status line.
        QTest::mouseMove(button);
        QTRY_COMPARE(copies.panInfo->text(), button->toolTip());
        QVERIFY(!button->toolTip().isEmpty());
    }
    // Tab runs from the list through the buttons in their order.
    copies.lstCopie->setFocus();
    for (const auto &[button, text] : buttons) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button);
    }
    QVERIFY(copies.findChild<QWidget *>(u"effCopie"_s));
}

SCAFFARIA_TEST(CopiesScreen)
#include "tst_copies.moc"
