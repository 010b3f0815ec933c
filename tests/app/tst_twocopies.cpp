#include "app/folderlock.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/archivio.h"

#include <QFile>
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
