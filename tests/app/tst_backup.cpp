#include "app/backupcopy.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

using Files = std::map<QString, QByteArray>;

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(generator.bounded(256));
    return bytes;
}

bool put(const QString &folder, const QString &relative, const QByteArray &bytes)
{
    const QString path = QDir(folder).filePath(relative);
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

// Every file under a folder, by relative path, with its bytes.
Files snapshot(const QString &folder)
{
    Files files;
    const QDir root(folder);
    QList<QString> pending{folder};
    while (!pending.isEmpty()) {
        const QDir dir(pending.takeFirst());
        for (const QFileInfo &info :
             dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
            if (info.isDir())
                pending.append(info.filePath());
            else
                files[root.relativeFilePath(info.filePath())] = bytesOf(info.filePath());
        }
    }
    return files;
}

// The data a shop keeps, with names that pass through every encoding step: accents and
// blanks at either end.
Files shopData(quint32 seed)
{
    return {
        {u"Magazzino.pro"_s, randomBytes(3 * 2592, seed)},
        {u"1.jpg"_s, randomBytes(5000, seed + 1)},
        {u"3.jpg"_s, randomBytes(7000, seed + 2)},
        {u"unins000.dll"_s, "[Accesso]\nValore=6763ED177AFEAE9E20CF36655AC8\n"},
        {u" Dolci è .lis"_s, randomBytes(2 * 3696, seed + 3)},
        {u"Ricambi.lis"_s, QByteArray()},
        {u"Foto_Listino/ Dolci è_Foto_A_1.jpg"_s, randomBytes(3000, seed + 4)},
        {u"Foto_Listino/Ricambi_Anteprima_H.jpg"_s, randomBytes(1000, seed + 5)},
        {u"Documenti_Allegati/ Fattura n° 12 àèìòù .pdf"_s, randomBytes(4000, seed + 6)},
        {u"Documenti_Allegati/scheda tecnica.txt"_s, "resistenza 10 ohm\r\n"},
    };
}

// Files beside the data that a copy never holds.
Files otherFiles()
{
    return {
        {u"Magazzino.xls"_s, "<table></table>"},
        {u"Guida.pdf"_s, "%PDF-1.4"},
        {u"Scaffaria_in_uso.lock"_s, "1234\n"},
        {u"Scaffaria"_s, "\x7f"
                         "ELF"},
        {u"appunti.txt"_s, "note"},
        {u"Documenti_Allegati/cartella/dentro.pdf"_s, "nested"},
    };
}

bool putAll(const QString &folder, const Files &files)
{
    for (const auto &[name, bytes] : files) {
        if (!put(folder, name, bytes))
            return false;
    }
    return true;
}

// A ZIP file made with the library, holding the named entries.
bool makeZip(const QString &path, const Files &entries)
{
    QuaZip zip(path);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto &[name, bytes] : entries) {
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) ||
            entry.write(bytes) != bytes.size())
            return false;
        entry.close();
    }
    zip.close();
    return zip.getZipError() == ZIP_OK;
}

QStringList entryNames(const QString &path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return {u"<not a zip>"_s};
    QStringList names = zip.getFileNameList();
    names.sort();
    return names;
}

QStringList names(const Files &files)
{
    QStringList out;
    for (const auto &[name, bytes] : files)
        out.append(name);
    out.sort();
    return out;
}

QStringList zipsIn(const QString &folder)
{
    return QDir(BackupCopy::folderIn(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

const QDateTime kWhen(QDate(2026, 12, 11), QTime(10, 15, 30));

} // namespace

// Backup copies of the program folder: what they hold, when they are written and kept, and
// restores that never leave a file half written.
class BackupCopies final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void copyRoundTripsByteForByte();
    void recordFragmentIsLeftOutAndStoreKept();
    void unchangedDataMakeNoNewCopy();
    void retention_data();
    void retention();
    void retentionRemovesOnlyAutomaticCopies();
    void badCopyIsRefused_data();
    void badCopyIsRefused();
    void interruptedRestoreLeavesWholeFiles_data();
    void interruptedRestoreLeavesWholeFiles();
    void fullDiskLeavesNoPartialCopy();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data, m_other;
};

void BackupCopies::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_data = m_dir->filePath(u"dati"_s);
    m_other = m_dir->filePath(u"altri dati"_s);
    QVERIFY(QDir().mkpath(m_data));
    QVERIFY(QDir().mkpath(m_other));
}

void BackupCopies::cleanup()
{
    BackupCopy::setBeforeReplaceForTests({});
    BackupCopy::setWriteLimitForTests(-1);
    m_dir.reset();
}

void BackupCopies::copyRoundTripsByteForByte()
{
    const Files data = shopData(1);
    QVERIFY(putAll(m_data, data));
    QVERIFY(putAll(m_data, otherFiles()));
    QVERIFY(put(m_data, u"Copie_di_sicurezza/Scaffaria_20261201_080000.zip"_s, "old"));

    const QString copy = m_dir->filePath(u"chiavetta/Scaffaria_20261211_101530.zip"_s);
    const BackupCopy::Outcome written = BackupCopy::write(m_data, copy, BackupCopy::Kind::Kept,
                                                          kWhen);
    QVERIFY2(written.ok, qPrintable(written.error));
    // The kept files and nothing else, under their own paths, deflated, names in UTF-8.
    QCOMPARE(entryNames(copy), names(data));
    QuaZip zip(copy);
    QVERIFY(zip.open(QuaZip::mdUnzip));
    for (const QuaZipFileInfo64 &info : zip.getFileInfoList64()) {
        QVERIFY2(info.flags & 0x800, qPrintable(info.name));
        QCOMPARE(info.method, quint16(8));
    }
    zip.close();

    BackupCopy::Summary found;
    const BackupCopy::Outcome checked = BackupCopy::check(copy, m_other, &found);
    QVERIFY2(checked.ok, qPrintable(checked.error));
    QCOMPARE(found.cards, 3);
    QCOMPARE(found.priceLists, 2);
    QCOMPARE(found.when, kWhen);
    QCOMPARE(found.kind, BackupCopy::Kind::Kept);

    // Into a folder with data of its own: the copy's files replace them, kept files the
    // copy does not hold go, and files the program does not keep stay.
    const Files before = {{u"Magazzino.pro"_s, randomBytes(2592, 9)},
                          {u"9.jpg"_s, "later photo"},
                          {u"Nuovo listino.lis"_s, randomBytes(3696, 8)},
                          {u"Documenti_Allegati/nuovo.pdf"_s, "later"},
                          {u"Guida.pdf"_s, "%PDF-1.4"}};
    QVERIFY(putAll(m_other, before));
    const BackupCopy::Outcome restored = BackupCopy::restore(copy, m_other);
    QVERIFY2(restored.ok, qPrintable(restored.error));
    Files expected = data;
    expected[u"Guida.pdf"_s] = "%PDF-1.4";
    QCOMPARE(snapshot(m_other), expected);
}

void BackupCopies::recordFragmentIsLeftOutAndStoreKept()
{
    // A record file with a torn last record is copied with its whole records, so the copy
    // can still be restored.
    const QByteArray cards = randomBytes(2 * 2592, 3);
    const QByteArray page = randomBytes(3696, 4);
    QVERIFY(put(m_data, u"Magazzino.pro"_s, cards + "torn"));
    QVERIFY(put(m_data, u"Dolci.lis"_s, page + "torn"));
    const QString copy = m_dir->filePath(u"copia.zip"_s);
    QVERIFY(BackupCopy::write(m_data, copy, BackupCopy::Kind::Kept, kWhen).ok);
    QVERIFY(BackupCopy::check(copy, m_other, nullptr).ok);
    // A copy without a password store leaves the current one: the program never makes one.
    QVERIFY(put(m_other, u"unins000.dll"_s, "[Accesso]\nValore=00\n"));
    QVERIFY(BackupCopy::restore(copy, m_other).ok);
    QCOMPARE(snapshot(m_other), (Files{{u"Magazzino.pro"_s, cards},
                                       {u"Dolci.lis"_s, page},
                                       {u"unins000.dll"_s, "[Accesso]\nValore=00\n"}}));
    QVERIFY(BackupCopy::holdsSameData(m_data, copy));
}

void BackupCopies::unchangedDataMakeNoNewCopy()
{
    QVERIFY(putAll(m_data, shopData(2)));
    using R = BackupCopy::AutomaticResult;
    QCOMPARE(BackupCopy::automatic(m_data, kWhen).result, R::Written);
    QCOMPARE(zipsIn(m_data), QStringList{u"Scaffaria_20261211_101530.zip"_s});
    QCOMPARE(BackupCopy::list(m_data).first().summary->kind, BackupCopy::Kind::Automatic);

    QCOMPARE(BackupCopy::automatic(m_data, kWhen.addSecs(60)).result, R::Unchanged);
    QCOMPARE(zipsIn(m_data).size(), 1);

    // One byte changed in place, the size the same: a new copy.
    QByteArray cards = bytesOf(QDir(m_data).filePath(u"Magazzino.pro"_s));
    cards[2592 + 40] = char(cards[2592 + 40] ^ 0x01);
    QVERIFY(put(m_data, u"Magazzino.pro"_s, cards));
    QCOMPARE(BackupCopy::automatic(m_data, kWhen.addSecs(120)).result, R::Written);
    QCOMPARE(BackupCopy::automatic(m_data, kWhen.addSecs(180)).result, R::Unchanged);

    // A file more, then one less.
    QVERIFY(put(m_data, u"Documenti_Allegati/nuovo.pdf"_s, "x"));
    QCOMPARE(BackupCopy::automatic(m_data, kWhen.addSecs(240)).result, R::Written);
    QVERIFY(QFile::remove(QDir(m_data).filePath(u"3.jpg"_s)));
    QCOMPARE(BackupCopy::automatic(m_data, kWhen.addSecs(300)).result, R::Written);
    QCOMPARE(zipsIn(m_data).size(), 4);
    // Files the program does not keep change nothing.
    QVERIFY(putAll(m_data, otherFiles()));
    QCOMPARE(BackupCopy::automatic(m_data, kWhen.addSecs(360)).result, R::Unchanged);
}

void BackupCopies::retention_data()
{
    QTest::addColumn<QList<QDateTime>>("copies");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QList<QDateTime>>("removed");

    const auto at = [](int y, int m, int d, int h = 9) {
        return QDateTime(QDate(y, m, d), QTime(h, 0));
    };
    const QDate today(2026, 12, 11);

    QList<QDateTime> ten;
    for (int d = 1; d <= 10; ++d)
        ten.append(at(2026, 12, d));
    QTest::newRow("ten or fewer") << ten << today << QList<QDateTime>{};

    QList<QDateTime> sameDay;
    for (int h = 0; h < 14; ++h)
        sameDay.append(at(2026, 12, 11, h));
    QTest::newRow("ten newest of one day")
        << sameDay << today
        << QList<QDateTime>{at(2026, 12, 11, 3), at(2026, 12, 11, 2), at(2026, 12, 11, 1),
                            at(2026, 12, 11, 0)};

    // Beyond the ten newest, the newest of each month back to January of this year.
    const QList<QDateTime> older = {at(2026, 11, 30),   at(2026, 11, 2), at(2026, 6, 15, 8),
                                    at(2026, 6, 15, 7), at(2026, 1, 31), at(2026, 1, 1),
                                    at(2025, 12, 31),   at(2024, 3, 3)};
    QTest::newRow("newest of each of twelve months")
        << ten + older << today
        << QList<QDateTime>{at(2026, 11, 2), at(2026, 6, 15, 7), at(2026, 1, 1), at(2025, 12, 31),
                            at(2024, 3, 3)};

    // A month counts from today's: in March the twelve months start in April a year before.
    QTest::newRow("months across the year")
        << QList<QDateTime>{at(2026, 3, 1),  at(2026, 3, 2),  at(2026, 3, 3),  at(2026, 3, 4),
                            at(2026, 3, 5),  at(2026, 3, 6),  at(2026, 3, 7),  at(2026, 3, 8),
                            at(2026, 3, 9),  at(2026, 3, 10), at(2025, 4, 30), at(2025, 4, 1),
                            at(2025, 3, 31), at(2026, 2, 28)}
        << QDate(2026, 3, 10) << QList<QDateTime>{at(2025, 4, 1), at(2025, 3, 31)};
}

void BackupCopies::retention()
{
    QFETCH(QList<QDateTime>, copies);
    QFETCH(QDate, today);
    QFETCH(QList<QDateTime>, removed);
    QList<QDateTime> got = BackupCopy::expired(copies, today);
    std::sort(got.begin(), got.end(), std::greater<QDateTime>());
    std::sort(removed.begin(), removed.end(), std::greater<QDateTime>());
    QCOMPARE(got, removed);
}

void BackupCopies::retentionRemovesOnlyAutomaticCopies()
{
    QVERIFY(put(m_data, u"Magazzino.pro"_s, randomBytes(2592, 5)));
    const QDir copies(BackupCopy::folderIn(m_data));
    // Eleven automatic copies of one day, and a copy saved on request before them.
    const QDateTime first(QDate(2026, 12, 1), QTime(8, 0));
    const QString saved = copies.filePath(BackupCopy::fileNameFor(first.addSecs(-60)));
    QVERIFY(BackupCopy::write(m_data, saved, BackupCopy::Kind::Kept, first.addSecs(-60)).ok);
    for (int i = 0; i < 11; ++i) {
        const QDateTime when = first.addSecs(60 * i);
        QVERIFY(BackupCopy::write(m_data, copies.filePath(BackupCopy::fileNameFor(when)),
                                  BackupCopy::Kind::Automatic, when)
                    .ok);
    }
    QVERIFY(put(m_data, u"Magazzino.pro"_s, randomBytes(2592, 6)));
    QCOMPARE(BackupCopy::automatic(m_data, kWhen).result, BackupCopy::AutomaticResult::Written);

    // Twelve automatic copies: the two oldest go (the month's newest is among the ten).
    QStringList expected = {QFileInfo(saved).fileName()};
    for (int i = 2; i < 11; ++i)
        expected.append(BackupCopy::fileNameFor(first.addSecs(60 * i)));
    expected.append(BackupCopy::fileNameFor(kWhen));
    expected.sort();
    QCOMPARE(zipsIn(m_data), expected);
}

void BackupCopies::badCopyIsRefused_data()
{
    QTest::addColumn<QString>("fault");
    for (const char *fault :
         {"truncated", "flipped byte", "../x", "absolute path", "backslash", "file not kept",
          "folder not kept", "torn archive", "torn price list", "twice the same name"})
        QTest::newRow(fault) << QString::fromLatin1(fault);
}

void BackupCopies::badCopyIsRefused()
{
    QFETCH(QString, fault);
    const Files data = shopData(7);
    QVERIFY(putAll(m_data, data));
    const QString good = m_dir->filePath(u"buona.zip"_s);
    QVERIFY(BackupCopy::write(m_data, good, BackupCopy::Kind::Kept, kWhen).ok);

    const QString bad = m_dir->filePath(u"cattiva.zip"_s);
    QByteArray bytes = bytesOf(good);
    const Files valid = {{u"Magazzino.pro"_s, randomBytes(2592, 1)}};
    bool made = true;
    if (fault == u"truncated"_s) {
        made = put(m_dir->path(), u"cattiva.zip"_s, bytes.left(bytes.size() * 2 / 3));
    } else if (fault == u"flipped byte"_s) {
        // Inside the deflated data of the archive's entry, which fills most of the copy.
        const qsizetype at = bytes.indexOf("Magazzino.pro") + 2000;
        bytes[at] = char(bytes[at] ^ 0x10);
        made = put(m_dir->path(), u"cattiva.zip"_s, bytes);
    } else {
        Files entries = valid;
        if (fault == u"../x"_s)
            entries[u"../x"_s] = "escape";
        else if (fault == u"absolute path"_s)
            entries[u"/tmp/x.lis"_s] = QByteArray();
        else if (fault == u"backslash"_s)
            entries[u"Documenti_Allegati\\x.pdf"_s] = "x";
        else if (fault == u"file not kept"_s)
            entries[u"Guida.pdf"_s] = "%PDF";
        else if (fault == u"folder not kept"_s)
            entries[u"Foto_Listino/altro/x.jpg"_s] = "x";
        else if (fault == u"torn archive"_s)
            entries[u"Magazzino.pro"_s] = randomBytes(2593, 2);
        else if (fault == u"torn price list"_s)
            entries[u"Dolci.lis"_s] = randomBytes(3695, 2);
        made = makeZip(bad, entries);
        if (fault == u"twice the same name"_s) {
            // The library writes what it is given: two entries of one name.
            QuaZip zip(bad);
            made = zip.open(QuaZip::mdAdd);
            QuaZipFile entry(&zip);
            made = made && entry.open(QIODevice::WriteOnly, QuaZipNewInfo(u"Magazzino.pro"_s));
            entry.write(randomBytes(2592, 3));
            entry.close();
            zip.close();
        }
    }
    QVERIFY(made);

    QVERIFY(putAll(m_other, otherFiles()));
    QVERIFY(put(m_other, u"Magazzino.pro"_s, "current archive"));
    const Files before = snapshot(m_other);
    QVERIFY(!BackupCopy::check(bad, m_other, nullptr).ok);
    // The restore itself refuses it too, and leaves everything as it was.
    QVERIFY(!BackupCopy::restore(bad, m_other).ok);
    QCOMPARE(snapshot(m_other), before);
    QVERIFY(!QFileInfo::exists(m_dir->filePath(u"x"_s)));
}

void BackupCopies::interruptedRestoreLeavesWholeFiles_data()
{
    QTest::addColumn<int>("stopAt");
    for (int at : {0, 1, 4, 9})
        QTest::addRow("before rename %d", at) << at;
}

void BackupCopies::interruptedRestoreLeavesWholeFiles()
{
    QFETCH(int, stopAt);
    // The copy's data and the current data differ in every file; each side has one the
    // other lacks.
    Files fresh = shopData(11);
    fresh[u"Documenti_Allegati/solo nella copia.pdf"_s] = "in the copy";
    QVERIFY(putAll(m_data, fresh));
    const QString copy = m_dir->filePath(u"copia.zip"_s);
    QVERIFY(BackupCopy::write(m_data, copy, BackupCopy::Kind::Kept, kWhen).ok);

    Files current = shopData(21);
    current[u"Aggiunto dopo.lis"_s] = randomBytes(3696, 5);
    QVERIFY(putAll(m_other, current));

    int renamed = 0;
    BackupCopy::setBeforeReplaceForTests([&renamed, stopAt](int index) {
        renamed = index;
        return index < stopAt;
    });
    QVERIFY(!BackupCopy::restore(copy, m_other).ok);
    QCOMPARE(renamed, stopAt);

    for (const auto &[name, bytes] : snapshot(m_other)) {
        if (name.contains(u".scaffaria-ripristino-"_s))
            continue; // a file still being put in place, under its own name
        const bool isOld = current.count(name) && current.at(name) == bytes;
        const bool isNew = fresh.count(name) && fresh.at(name) == bytes;
        QVERIFY2(isOld || isNew, qPrintable(name));
    }
    for (const auto &[name, bytes] : current) {
        if (!fresh.count(name))
            QVERIFY2(QFileInfo::exists(QDir(m_other).filePath(name)), qPrintable(name));
    }

    // The next restore clears what the stopped one left and ends with the copy's data.
    BackupCopy::setBeforeReplaceForTests({});
    QVERIFY(BackupCopy::restore(copy, m_other).ok);
    QCOMPARE(snapshot(m_other), fresh);
}

void BackupCopies::fullDiskLeavesNoPartialCopy()
{
    QVERIFY(put(m_data, u"Magazzino.pro"_s, randomBytes(40 * 2592, 12)));
    BackupCopy::setWriteLimitForTests(30000);
    const BackupCopy::AutomaticOutcome outcome = BackupCopy::automatic(m_data, kWhen);
    QCOMPARE(outcome.result, BackupCopy::AutomaticResult::Failed);
    QCOMPARE(outcome.error, u"Lo spazio libero sul disco non è sufficiente."_s);
    QCOMPARE(zipsIn(m_data), QStringList{});

    BackupCopy::setWriteLimitForTests(-1);
    QCOMPARE(BackupCopy::automatic(m_data, kWhen).result, BackupCopy::AutomaticResult::Written);
}

SCAFFARIA_TEST(BackupCopies)
#include "tst_backup.moc"
