#include "app/folderlock.h"
#include "common/programfolder.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/archivio.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Starts the second-copy helper and waits until it is ready for its go.
std::unique_ptr<QProcess> startSecondCopy(const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(SCAFFARIA_SECOND_COPY), arguments);
    if (!process->waitForStarted(10000))
        return nullptr;
    while (!process->canReadLine())
        if (!process->waitForReadyRead(20000))
            return nullptr;
    if (process->readLine() != "pronto\n")
        return nullptr;
    return process;
}

} // namespace

// Two processes on one program folder: a second start is refused while the first runs, and
// cards appended by two processes at once all survive.
class TwoCopies final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void secondStartRefusedWhileFirstRuns();
    void leftoverLockTakenOver_data();
    void leftoverLockTakenOver();
    void copiedLockInAnotherFolderStarts();
    void lockFileJudged_data();
    void lockFileJudged();
    void appendsAtOnceAllSurvive();
};

void TwoCopies::secondStartRefusedWhileFirstRuns()
{
    TempProgramFolder folder;
    std::unique_ptr<QProcess> first = startSecondCopy({u"hold"_s, folder.path()});
    QVERIFY(first);
    QVERIFY(QFile::exists(folder.file(FolderLock::fileName())));
    QCOMPARE(FolderLock::fileName(), u"Scaffaria_in_uso.lock"_s);

    {
        Recorder rec;
        QVERIFY(!FolderLock::take());
        QVERIFY(rec.showedOnly(Recorder::Kind::Plain,
                               u"Attenzione: il programma è già in esecuzione in questa "
                               u"cartella."_s));
    }
    QCOMPARE(first->state(), QProcess::Running); // the first copy goes on

    // A copy that ends releases the lock.
    first->write("fine\n");
    QVERIFY(first->waitForFinished(20000));
    QCOMPARE(first->exitCode(), 0);
    {
        Recorder rec;
        std::unique_ptr<FolderLock::Held> lock = FolderLock::take();
        QVERIFY(lock && lock->isLocked());
        QVERIFY(rec.messages.isEmpty());
    }

    // A copy killed while it holds the lock never locks the user out.
    std::unique_ptr<QProcess> killed = startSecondCopy({u"hold"_s, folder.path()});
    QVERIFY(killed);
    killed->kill();
    QVERIFY(killed->waitForFinished(20000));
    QVERIFY(QFile::exists(folder.file(FolderLock::fileName())));
    Recorder rec;
    std::unique_ptr<FolderLock::Held> lock = FolderLock::take();
    QVERIFY(lock && lock->isLocked());
    QVERIFY(rec.messages.isEmpty());
}

void TwoCopies::leftoverLockTakenOver_data()
{
    const FolderLock::Here here = FolderLock::here();
    QByteArray copied = FolderLock::content(here);
    copied.replace("folder=" + here.folder.toUtf8(), "folder=/media/chiavetta/Scaffaria");
    QByteArray otherHost = FolderLock::content(here);
    otherHost.replace("host=" + here.host.toUtf8(), "host=vecchio-pc");
    QByteArray dead = FolderLock::content(here);
    dead.replace("pid=" + QByteArray::number(here.pid), "pid=999999999");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("beforeBoot"); // the file's time is set before the boot
    QTest::newRow("empty, left by a power cut") << QByteArray() << false;
    QTest::newRow("unreadable") << QByteArray("\x01\xff garbage\n\n") << false;
    QTest::newRow("written on another computer") << otherHost << false;
    QTest::newRow("copied from another folder") << copied << false;
    QTest::newRow("older than the boot") << FolderLock::content(here) << true;
    QTest::newRow("its copy has died") << dead << false;
}

// A lock file no running copy holds never refuses a start, whatever it says; the start
// writes its own.
void TwoCopies::leftoverLockTakenOver()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, beforeBoot);
    TempProgramFolder folder;
    const QString path = folder.file(FolderLock::fileName());
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        if (beforeBoot)
            QVERIFY(file.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(8, 0)),
                                     QFileDevice::FileModificationTime));
    }
    Recorder rec;
    {
        const std::unique_ptr<FolderLock::Held> lock = FolderLock::take();
        QVERIFY(lock && lock->isLocked());
        QVERIFY(rec.messages.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), FolderLock::content(FolderLock::here()));
    }
    QVERIFY(!QFile::exists(path)); // removed when the copy ends
}

// The folder copied while the program runs: the copy's lock file names a live copy, but
// of the first folder, so the copy starts; the first folder still refuses a second start.
void TwoCopies::copiedLockInAnotherFolderStarts()
{
    TempProgramFolder first;
    std::unique_ptr<QProcess> running = startSecondCopy({u"hold"_s, first.path()});
    QVERIFY(running);
    const QString lockName = FolderLock::fileName();
    {
        TempProgramFolder copy;
        QVERIFY(QFile::copy(first.file(lockName), copy.file(lockName)));
        Recorder rec;
        const std::unique_ptr<FolderLock::Held> lock = FolderLock::take();
        QVERIFY(lock && lock->isLocked());
        QVERIFY(rec.messages.isEmpty());
    }
    {
        TempProgramFolder again;
        ProgramFolder::setForTests(first.path());
        Recorder rec;
        QVERIFY(!FolderLock::take());
        QVERIFY(rec.showedOnly(Recorder::Kind::Plain, FolderLock::inUseMessage()));
    }
    running->write("fine\n");
    QVERIFY(running->waitForFinished(20000));
}

void TwoCopies::lockFileJudged_data()
{
    FolderLock::Here here;
    here.pid = 4242;
    here.host = u"negozio"_s;
    here.machine = u"m-1"_s;
    here.boot = u"b-1"_s;
    here.folder = u"/home/anna/Scaffaria"_s;
    const QByteArray live = FolderLock::content(here);
    const auto changed = [&live](const QByteArray &from, const QByteArray &to) {
        QByteArray out = live;
        return out.replace(from, to);
    };
    const QDateTime started = QDateTime(QDate(2026, 12, 11), QTime(8, 0), Qt::UTC);
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QDateTime>("modified");
    QTest::addColumn<bool>("live");
    QTest::newRow("its live copy") << live << started << true;
    QTest::newRow("empty") << QByteArray() << started << false;
    QTest::newRow("garbage") << QByteArray("pid=4242\n") << started << false;
    QTest::newRow("another host") << changed("host=negozio", "host=casa") << started << false;
    QTest::newRow("another computer of that name")
        << changed("machine=m-1", "machine=m-2") << started << false;
    QTest::newRow("another folder")
        << changed("folder=/home/anna/Scaffaria", "folder=/media/copia") << started << false;
    QTest::newRow("another boot") << changed("boot=b-1", "boot=b-0") << started << false;
    QTest::newRow("older than the boot") << live << started.addDays(-1) << false;
    QTest::newRow("its copy has ended") << changed("pid=4242", "pid=77") << started << false;
}

// Where the file system keeps no locks, the lock file's word decides: only this
// computer's running copy on this folder, started since the boot, keeps it.
void TwoCopies::lockFileJudged()
{
    QFETCH(QByteArray, content);
    QFETCH(QDateTime, modified);
    QFETCH(bool, live);
    FolderLock::Here here;
    here.pid = 1;
    here.host = u"negozio"_s;
    here.machine = u"m-1"_s;
    here.boot = u"b-1"_s;
    here.bootTime = QDateTime(QDate(2026, 12, 11), QTime(7, 0), Qt::UTC);
    here.folder = u"/home/anna/Scaffaria"_s;
    here.running = [](qint64 pid) { return pid == 4242; };
    QCOMPARE(FolderLock::mayBeLive(content, modified, here), live);
}

void TwoCopies::appendsAtOnceAllSurvive()
{
    TempProgramFolder folder;
    constexpr int kEach = 1000;
    std::unique_ptr<QProcess> a =
        startSecondCopy({u"append"_s, folder.path(), u"A"_s, QString::number(kEach)});
    std::unique_ptr<QProcess> b =
        startSecondCopy({u"append"_s, folder.path(), u"B"_s, QString::number(kEach)});
    QVERIFY(a && b);
    a->write("via\n");
    b->write("via\n");
    for (QProcess *p : {a.get(), b.get()}) {
        QVERIFY(p->waitForFinished(300000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
    }

    ArchivioMagazzino archive;
    QVERIFY(archive.open());
    QCOMPARE(archive.count(), 2 * kEach);
    QCOMPARE(QFile(folder.file(ArchivioMagazzino::fileName())).size(),
             2 * kEach * TSchedaProdotto::Size);
    QSet<QString> codes;
    QVERIFY(archive.readAll([&](qint64, const char *record) {
        codes.insert(TSchedaProdotto::field(record, TSchedaProdotto::iCodice));
        return true;
    }));
    QCOMPARE(codes.size(), 2 * kEach);
    for (int i = 0; i < kEach; i += 111) {
        QVERIFY(codes.contains(u"A"_s + QString::number(i).rightJustified(4, u'0')));
        QVERIFY(codes.contains(u"B"_s + QString::number(i).rightJustified(4, u'0')));
    }
}

SCAFFARIA_TEST(TwoCopies)
#include "tst_twocopies.moc"
