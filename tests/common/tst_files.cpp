#include "common/durablefile.h"
#include "common/picturefile.h"
#include "common/programfolder.h"
#include "common/recordfile.h"
#include "support/testmain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

QByteArray record(int size, char fill) { return QByteArray(size, fill); }

// Makes writes past the given length fail as a full disk does: the write that crosses it
// stops there, short.
class FullDiskAt
{
public:
    explicit FullDiskAt(qint64 length)
    {
        ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = rlim_t(length);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDiskAt() { ::setrlimit(RLIMIT_FSIZE, &m_old); }
    FullDiskAt(const FullDiskAt &) = delete;
    FullDiskAt &operator=(const FullDiskAt &) = delete;

private:
    rlimit m_old{};
};

// Refuses the syncs whose path passes the test, for the life of the object.
class FailingSyncs
{
public:
    explicit FailingSyncs(std::function<bool(const QString &)> fails)
    {
        DurableFile::setSyncCheckForTests([fails](const QString &path) { return !fails(path); });
    }
    ~FailingSyncs() { DurableFile::setSyncCheckForTests({}); }
    FailingSyncs(const FailingSyncs &) = delete;
    FailingSyncs &operator=(const FailingSyncs &) = delete;
};

} // namespace

// Files that the disk, a planted link or a lying picture must never leave half done or
// unbounded: record saves all or nothing, whole-file saves only once on the disk, paths
// that lead out of the program folder, pictures read within their bounds.
class FileSafety final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void recordSaveAllOrNothing_data();
    void recordSaveAllOrNothing();
    void wholeFileSaveKeepsOldFile_data();
    void wholeFileSaveKeepsOldFile();
    void leadsOutside_data();
    void leadsOutside();
    void hostilePicturesStayBounded_data();
    void hostilePicturesStayBounded();
};

void FileSafety::recordSaveAllOrNothing_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("append");
    QTest::addColumn<bool>("shortWrite"); // else the sync fails
    QTest::addColumn<int>("fragment");    // bytes after the last whole record
    QTest::newRow("card appended, sync fails") << 2592 << true << false << 0;
    QTest::newRow("card rewritten, sync fails") << 2592 << false << false << 0;
    QTest::newRow("page appended, sync fails") << 3696 << true << false << 0;
    QTest::newRow("page rewritten, sync fails") << 3696 << false << false << 0;
    QTest::newRow("card appended, disk full after 416 bytes") << 2592 << true << true << 0;
    QTest::newRow("page appended, disk full after 400 bytes") << 3696 << true << true << 0;
    QTest::newRow("card appended over a fragment, sync fails") << 2592 << true << false << 100;
}

void FileSafety::recordSaveAllOrNothing()
{
    QFETCH(int, size);
    QFETCH(bool, append);
    QFETCH(bool, shortWrite);
    QFETCH(int, fragment);
    TempProgramFolder folder;
    const QString path = folder.file(u"Magazzino.pro"_s);
    const QByteArray before = record(size, 'a') + record(size, 'b') + record(size, 'c') +
                              record(fragment, 'f');
    QVERIFY(writeFile(path, before));
    const QByteArray card = record(size, 'N');

    {
        std::unique_ptr<FailingSyncs> syncs;
        std::unique_ptr<FullDiskAt> full;
        if (shortWrite)
            full = std::make_unique<FullDiskAt>(before.size() + (size == 2592 ? 416 : 400));
        else
            syncs = std::make_unique<FailingSyncs>([&](const QString &p) { return p == path; });
        RecordFile file(path, size);
        QVERIFY(file.open());
        qint64 position = 0;
        QVERIFY(append ? !file.append(card.constData(), &position)
                       : !file.writeAt(2, card.constData()));
    }
    // Nothing of the refused record is left, and the card rewritten is the one before.
    QCOMPARE(bytesOf(path), before);
    QCOMPARE(entries(folder.path()), QStringList{u"Magazzino.pro"_s});

    // Once the disk works again, the same save stores the record once.
    RecordFile file(path, size);
    QVERIFY(file.open());
    qint64 position = 0;
    if (append) {
        QVERIFY(file.append(card.constData(), &position));
        QCOMPARE(position, 4);
    } else {
        QVERIFY(file.writeAt(2, card.constData()));
    }
    file.close();
    const QByteArray after = append ? before.left(3 * size) + card
                                    : record(size, 'a') + card + record(size, 'c');
    QCOMPARE(bytesOf(path), after);
}

void FileSafety::wholeFileSaveKeepsOldFile_data()
{
    QTest::addColumn<int>("kind");         // 0 bytes, 1 picture, 2 a save file of the caller's
    QTest::addColumn<bool>("folderFails"); // else the new file's data cannot be synced
    QTest::addColumn<bool>("existing");
    for (int kind = 0; kind < 3; ++kind) {
        const char *name = kind == 0 ? "whole bytes" : kind == 1 ? "picture" : "copied file";
        QTest::addRow("%s, data sync fails", name) << kind << false << true;
        QTest::addRow("%s, folder sync fails", name) << kind << true << true;
        QTest::addRow("%s, folder sync fails, no file before", name) << kind << true << false;
    }
}

void FileSafety::wholeFileSaveKeepsOldFile()
{
    QFETCH(int, kind);
    QFETCH(bool, folderFails);
    QFETCH(bool, existing);
    TempProgramFolder folder;
    const QString target = folder.file(u"salvato.jpg"_s);
    const QByteArray old = "il file di prima";
    if (existing)
        QVERIFY(writeFile(target, old));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const auto save = [&] {
        switch (kind) {
        case 0:
            return DurableFile::writeWhole(target, "il file nuovo");
        case 1:
            return PictureFile::write(target, picture);
        default: {
            QSaveFile file(target);
            return DurableFile::open(file) && file.write("copia") == 5 && DurableFile::commit(file);
        }
        }
    };
    {
        const QString folderPath = QDir::cleanPath(folder.path());
        FailingSyncs syncs([&](const QString &p) {
            return folderFails ? QDir::cleanPath(p) == folderPath : p == target;
        });
        QVERIFY(!save());
    }
    QCOMPARE(bytesOf(target), existing ? old : QByteArray("<missing>"));
    QCOMPARE(entries(folder.path()), existing ? QStringList{u"salvato.jpg"_s} : QStringList());
    QVERIFY(save());
    QVERIFY(bytesOf(target) != old);
    QCOMPARE(entries(folder.path()), QStringList{u"salvato.jpg"_s});
}

void FileSafety::leadsOutside_data()
{
    QTest::addColumn<QString>("path"); // inside the program folder unless absolute
    QTest::addColumn<bool>("outside");
    QTest::newRow("file of the folder") << u"Magazzino.pro"_s << false;
    QTest::newRow("file not made yet") << u"Foto_Listino/Dolci_Foto_A_1.jpg"_s << false;
    QTest::newRow("link at a photo") << u"1.jpg"_s << true;
    QTest::newRow("link at a thumbnail") << u"Foto_Listino/Dolci_Anteprima_A.jpg"_s << true;
    QTest::newRow("folder that is a link") << u"Documenti_Allegati/fattura.pdf"_s << true;
    QTest::newRow("name climbing out") << u"Foto_Listino/../../fuori.jpg"_s << true;
    QTest::newRow("pipe at an archive") << u"Dolci.lis"_s << true;
    QTest::newRow("file the user chose elsewhere") << u"/fuori/foto.jpg"_s << false;
}

void FileSafety::leadsOutside()
{
    QFETCH(QString, path);
    QFETCH(bool, outside);
    QTemporaryDir elsewhere;
    TempProgramFolder folder;
    const QString target = elsewhere.filePath(u"altrui.jpg"_s);
    QVERIFY(writeFile(target, "non del programma"));
    QVERIFY(writeFile(folder.file(u"Magazzino.pro"_s), ""));
    QVERIFY(QDir().mkpath(folder.file(u"Foto_Listino"_s)));
    QVERIFY(QFile::link(target, folder.file(u"1.jpg"_s)));
    QVERIFY(QFile::link(target, folder.file(u"Foto_Listino/Dolci_Anteprima_A.jpg"_s)));
    QVERIFY(QFile::link(elsewhere.path(), folder.file(u"Documenti_Allegati"_s)));
    QCOMPARE(::mkfifo(QFile::encodeName(folder.file(u"Dolci.lis"_s)).constData(), 0600), 0);
    const QString full = path.startsWith(u'/') ? path : folder.file(path);
    QCOMPARE(ProgramFolder::leadsOutside(full), outside);
    // What leads outside is never opened as a record file either.
    if (path == u"Dolci.lis"_s || path == u"1.jpg"_s) {
        RecordFile file(full, 2592);
        QVERIFY(!file.open());
    }
}

void FileSafety::hostilePicturesStayBounded_data()
{
    QTest::addColumn<QString>("file");
    const QDir kept(QStringLiteral(SCAFFARIA_TEST_DATA "/fuzz/picture"));
    for (const QString &name : kept.entryList(QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(name)) << kept.filePath(name);
}

// Each file of the fuzz corpus lies about its size (a negative height, a header claiming
// 65500 x 65500 over a few hundred bytes, a PNG that inflates to 768 MB): read whole and
// read for a slot, each gives no picture (the placeholder) without taking 256 MiB or a
// second.
void FileSafety::hostilePicturesStayBounded()
{
    QFETCH(QString, file);
    const PeakMemory memory;
    QElapsedTimer clock;
    clock.start();
    const QImage read = PictureFile::read(file);
    const qint64 readTime = clock.restart();
    const QImage slot = PictureFile::readStretched(file, QSize(366, 274));
    const qint64 slotTime = clock.elapsed();
    const qint64 grown = memory.grownMiB();
    qInfo("%lld ms whole, %lld ms for a slot, %lld MiB", readTime, slotTime, grown);
    QVERIFY(read.isNull());
    QVERIFY(slot.isNull());
    QVERIFY2(grown < 256, qPrintable(QString::number(grown)));
    QVERIFY2(readTime < 1000 && slotTime < 1000, qPrintable(QString::number(readTime)));
}

SCAFFARIA_TEST(FileSafety)
#include "tst_files.moc"
