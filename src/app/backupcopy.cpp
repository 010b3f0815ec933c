#include "app/backupcopy.h"

#include "common/durablefile.h"
#include "pricelist/paginalistino.h"
#include "store/keptfiles.h"
#include "warehouse/archivio.h"
#include "warehouse/schedaprodotto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>

#include <quazip/quacrc32.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace BackupCopy {

namespace {

constexpr qint64 kBlock = 1 << 20;
// Entries are written with the 64-bit extensions only when the data could pass the 4 GiB
// of the plain format, so ordinary copies open in every file manager.
constexpr qint64 kZip64From = Q_INT64_C(0xF0000000);
// The fastest deflate: the records, mostly padding, shrink nearly as much as with the
// default level, and photos, already compressed, shrink by nothing at any level, while the
// default level takes several times as long over them.
constexpr int kLevel = 1;
// Room left on the disk beyond the data a restore writes.
constexpr qint64 kSpareRoom = 4 << 20;

std::function<bool(int)> &beforeReplaceSeam()
{
    static std::function<bool(int)> seam;
    return seam;
}

qint64 &writeLimit()
{
    static qint64 limit = -1;
    return limit;
}

QString photoFolder() { return u"Foto_Listino"_s; }
QString documentFolder() { return u"Documenti_Allegati"_s; }
QString passwordStore() { return u"unins000.dll"_s; }
QString partialSuffix() { return u".parziale"_s; }
QString restorePrefix() { return u".scaffaria-ripristino-"_s; }

const QRegularExpression &restoreLeftover()
{
    static const QRegularExpression re(u"^\\.scaffaria-ripristino-[0-9]+$"_s);
    return re;
}

bool isPriceList(const QString &name)
{
    return name.size() > 4 && name.endsWith(u".lis"_s, Qt::CaseInsensitive);
}

// The record size of a record file, 0 for any other file.
int recordSizeOf(const QString &relative)
{
    if (relative == ArchivioMagazzino::fileName())
        return TSchedaProdotto::Size;
    if (!relative.contains(u'/') && isPriceList(relative))
        return TPaginaListino::Size;
    return 0;
}

// A record file is copied with its whole records only: a trailing fragment holds no record
// and would make the copy one that a restore refuses.
qint64 copiedSize(const QString &relative, qint64 size)
{
    const int record = recordSizeOf(relative);
    return record > 0 ? size - size % record : size;
}

QString comment(Kind kind, const QDateTime &when)
{
    // Plain ASCII, so every ZIP reader shows it the same.
    return u"Scaffaria: copia di sicurezza "_s +
           (kind == Kind::Automatic ? u"automatica"_s : u"salvata"_s) + u" del "_s +
           when.toString(u"dd/MM/yyyy HH:mm:ss"_s);
}

void readComment(const QString &text, Summary &summary)
{
    static const QRegularExpression re(
        u"^Scaffaria: copia di sicurezza (automatica|salvata) del ([0-9/]{10} [0-9:]{8})$"_s);
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return;
    summary.kind = m.captured(1) == u"automatica"_s ? Kind::Automatic : Kind::Kept;
    const QDateTime when = QDateTime::fromString(m.captured(2), u"dd/MM/yyyy HH:mm:ss"_s);
    if (when.isValid())
        summary.when = when;
}

// Why a file operation failed, for the user.
QString spaceReason() { return u"Lo spazio libero sul disco non è sufficiente."_s; }

QString reasonOf(const QFileDevice &file)
{
    switch (file.error()) {
    case QFileDevice::ResourceError:
        return spaceReason();
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return u"La cartella di destinazione non permette la scrittura."_s;
    default:
        return u"Il disco ha segnalato un errore di scrittura."_s;
    }
}

// The file a copy is written to: a plain file, which can be made to fail as a full disk
// does for the tests.
class OutputFile final : public QIODevice
{
public:
    explicit OutputFile(const QString &path) : m_file(path) {}

    bool open(OpenMode mode) override
    {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            return false;
        return QIODevice::open(mode | QIODevice::Unbuffered);
    }
    void close() override
    {
        QIODevice::close();
        m_file.close();
    }
    bool isSequential() const override { return false; }
    bool seek(qint64 pos) override { return QIODevice::seek(pos) && m_file.seek(pos); }
    qint64 size() const override { return m_file.size(); }
    bool sync() { return DurableFile::syncData(m_file.handle()); }
    const QFile &file() const { return m_file; }
    bool limitReached() const { return m_limitReached; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override
    {
        const qint64 limit = writeLimit();
        if (limit >= 0 && m_file.pos() + len > limit) {
            m_limitReached = true;
            return -1;
        }
        return m_file.write(data, len);
    }

private:
    QFile m_file;
    bool m_limitReached = false;
};

// Renames over an existing file in one step, as the system does it.
bool replaceFile(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

struct Written {
    QString name;
    qint64 size;
};

// Reads every entry of a copy to its end, so that each checksum is checked; visit sees each
// entry's information before its data and may refuse it.
bool readWhole(const QString &path, const Progress &progress, qint64 total,
               const std::function<bool(const QuaZipFileInfo64 &)> &visit,
               const std::function<bool(const QByteArray &)> &data = {},
               const std::function<bool()> &entryDone = {})
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return false;
    qint64 done = 0;
    QByteArray buffer(kBlock, Qt::Uninitialized);
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info) || !visit(info))
            return false;
        if (info.name.endsWith(u'/'))
            continue;
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::ReadOnly))
            return false;
        qint64 read = 0;
        for (;;) {
            const qint64 n = entry.read(buffer.data(), buffer.size());
            if (n < 0)
                return false;
            if (n == 0)
                break;
            read += n;
            if (data && !data(QByteArray::fromRawData(buffer.constData(), n)))
                return false;
            done += n;
            if (progress)
                progress(std::min(done, total), total);
        }
        entry.close();
        // The checksum is compared when the entry has been read to its end.
        if (entry.getZipError() != UNZ_OK || read != qint64(info.uncompressedSize))
            return false;
        if (entryDone && !entryDone())
            return false;
    }
    return zip.getZipError() == UNZ_OK;
}

qint64 sizeOfAll(const QString &dataFolder, const QStringList &files)
{
    qint64 total = 0;
    const QDir dir(dataFolder);
    for (const QString &f : files)
        total += copiedSize(f, QFileInfo(dir.filePath(f)).size());
    return total;
}

// Removes what a copy or a restore stopped half way left behind.
void removeLeftovers(const QString &dataFolder)
{
    const QDir copies(folderIn(dataFolder));
    for (const QString &name : copies.entryList({u"*"_s + partialSuffix()}, QDir::Files))
        QFile::remove(copies.filePath(name));
    for (const QString &sub : {QString(), photoFolder(), documentFolder()}) {
        const QDir dir(QDir(dataFolder).filePath(sub));
        for (const QString &name :
             dir.entryList({restorePrefix() + u'*'}, QDir::Files | QDir::Hidden | QDir::System)) {
            if (restoreLeftover().match(name).hasMatch())
                QFile::remove(dir.filePath(name));
        }
    }
}

} // namespace

QString folderName() { return u"Copie_di_sicurezza"_s; }

QString noRoomReason() { return spaceReason(); }

QString folderIn(const QString &dataFolder) { return QDir(dataFolder).filePath(folderName()); }

QString fileNameFor(const QDateTime &when)
{
    return u"Scaffaria_"_s + when.toString(u"yyyyMMdd_HHmmss"_s) + u".zip"_s;
}

QString newCopyPath(const QString &folder, const QDateTime &when)
{
    const QDir dir(folder);
    QDateTime at = when;
    while (QFileInfo::exists(dir.filePath(fileNameFor(at))))
        at = at.addSecs(1);
    return dir.filePath(fileNameFor(at));
}

std::optional<QDateTime> dateFromFileName(const QString &name)
{
    static const QRegularExpression re(u"^Scaffaria_([0-9]{8}_[0-9]{6})\\.zip$"_s);
    const QRegularExpressionMatch m = re.match(name);
    if (!m.hasMatch())
        return std::nullopt;
    const QDateTime when = QDateTime::fromString(m.captured(1), u"yyyyMMdd_HHmmss"_s);
    if (!when.isValid())
        return std::nullopt;
    return when;
}

bool isKeptPath(const QString &relative) { return Store::isKeptPath(relative); }

QStringList keptFiles(const QString &dataFolder) { return Store::keptFiles(dataFolder); }

Outcome write(const QString &dataFolder, const QString &target, Kind kind, const QDateTime &when,
              const Progress &progress)
{
    const QStringList files = keptFiles(dataFolder);
    const QDir data(dataFolder);
    const qint64 total = sizeOfAll(dataFolder, files);
    // Writing and reading back count as one half each.
    const auto report = [&progress, total](qint64 done) {
        if (progress)
            progress(done, 2 * total);
    };

    const QFileInfo targetInfo(target);
    if (!QDir().mkpath(targetInfo.absolutePath()))
        return {false, u"La cartella di destinazione non può essere creata."_s};
    const QString partial = target + partialSuffix();
    std::vector<Written> written;
    {
        OutputFile out(partial);
        QuaZip zip(&out);
        zip.setUtf8Enabled(true);
        zip.setZip64Enabled(total >= kZip64From);
        zip.setAutoClose(false);
        const auto fail = [&](const QString &reason) {
            if (zip.isOpen())
                zip.close();
            out.close();
            QFile::remove(partial);
            return Outcome{false, reason};
        };
        const auto writeFailure = [&]() {
            return out.limitReached() ? spaceReason() : reasonOf(out.file());
        };
        if (!zip.open(QuaZip::mdCreate))
            return fail(reasonOf(out.file()));
        zip.setComment(comment(kind, when));

        qint64 done = 0;
        QByteArray buffer(kBlock, Qt::Uninitialized);
        for (const QString &name : files) {
            QFile source(data.filePath(name));
            if (!source.open(QIODevice::ReadOnly))
                return fail(u"Il file "_s + name + u" non può essere letto."_s);
            const qint64 size = copiedSize(name, source.size());
            QuaZipNewInfo info(name, source.fileName());
            info.uncompressedSize = ulong(size);
            QuaZipFile entry(&zip);
            if (!entry.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, kLevel))
                return fail(writeFailure());
            qint64 left = size;
            while (left > 0) {
                const qint64 n = source.read(buffer.data(), std::min<qint64>(left, buffer.size()));
                if (n <= 0) {
                    entry.close();
                    return fail(u"Il file "_s + name + u" non può essere letto."_s);
                }
                if (entry.write(buffer.constData(), n) != n) {
                    entry.close();
                    return fail(writeFailure());
                }
                left -= n;
                done += n;
                report(done);
            }
            entry.close();
            if (entry.getZipError() != ZIP_OK)
                return fail(writeFailure());
            written.push_back({name, size});
        }
        zip.close();
        if (zip.getZipError() != ZIP_OK || out.file().error() != QFileDevice::NoError)
            return fail(writeFailure());
        if (!out.sync())
            return fail(u"Il disco ha segnalato un errore di scrittura."_s);
        out.close();
    }

    // Read back: every entry, in order, with its checksum.
    std::size_t index = 0;
    const bool readable = readWhole(
        partial, [&](qint64 done, qint64) { report(total + done); }, total,
        [&](const QuaZipFileInfo64 &info) {
            return index < written.size() && info.name == written[index].name &&
                   qint64(info.uncompressedSize) == written[index].size;
        },
        {},
        [&]() {
            ++index;
            return true;
        });
    if (!readable || index != written.size()) {
        QFile::remove(partial);
        return {false, u"La copia scritta non si rilegge correttamente."_s};
    }
    if (!replaceFile(partial, target)) {
        const int code = errno;
        QFile::remove(partial);
        return {false, code == ENOSPC ? spaceReason()
                                      : u"La copia non può essere salvata con il suo nome."_s};
    }
    DurableFile::syncFolder(targetInfo.absolutePath());
    report(2 * total);
    return {true, QString()};
}

std::optional<Summary> summary(const QString &path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return std::nullopt;
    Summary s;
    s.fileSize = QFileInfo(path).size();
    if (const auto named = dateFromFileName(QFileInfo(path).fileName()))
        s.when = *named;
    else
        s.when = QFileInfo(path).lastModified();
    readComment(zip.getComment(), s);
    const QList<QuaZipFileInfo64> entries = zip.getFileInfoList64();
    if (zip.getZipError() != UNZ_OK)
        return std::nullopt;
    for (const QuaZipFileInfo64 &info : entries) {
        s.unpackedSize += qint64(info.uncompressedSize);
        if (info.name == ArchivioMagazzino::fileName())
            s.cards = qint64(info.uncompressedSize) / TSchedaProdotto::Size;
        else if (!info.name.contains(u'/') && isPriceList(info.name))
            ++s.priceLists;
    }
    return s;
}

QList<Listed> list(const QString &dataFolder)
{
    QList<Listed> out;
    const QDir dir(folderIn(dataFolder));
    for (const QString &name : dir.entryList({u"*.zip"_s}, QDir::Files)) {
        Listed item;
        item.path = dir.filePath(name);
        item.summary = summary(item.path);
        if (item.summary)
            item.when = item.summary->when;
        else if (const auto named = dateFromFileName(name))
            item.when = *named;
        else
            item.when = QFileInfo(item.path).lastModified();
        out.append(item);
    }
    std::stable_sort(out.begin(), out.end(), [](const Listed &a, const Listed &b) {
        return a.when != b.when ? a.when > b.when : a.path > b.path;
    });
    return out;
}

QDateTime newestDate(const QString &dataFolder)
{
    QDateTime newest;
    const QDir dir(folderIn(dataFolder));
    for (const QString &name : dir.entryList({u"*.zip"_s}, QDir::Files)) {
        const auto when = dateFromFileName(name);
        const QDateTime w = when ? *when : QFileInfo(dir.filePath(name)).lastModified();
        if (!newest.isValid() || w > newest)
            newest = w;
    }
    return newest;
}

Outcome check(const QString &path, const QString &dataFolder, Summary *found,
              const Progress &progress)
{
    const Outcome invalid{false, u"La copia non è valida."_s};
    const std::optional<Summary> s = summary(path);
    if (!s)
        return invalid;
    QSet<QString> names;
    const bool whole =
        readWhole(path, progress, s->unpackedSize, [&names](const QuaZipFileInfo64 &info) {
            const QString &name = info.name;
            if (name.startsWith(u'/') || name.contains(u'\\'))
                return false;
            if (name.endsWith(u'/')) {
                // Folder entries are only those of the two data folders.
                const QString folder = name.chopped(1);
                return folder == photoFolder() || folder == documentFolder();
            }
            if (!isKeptPath(name) || names.contains(name))
                return false;
            names.insert(name);
            // Only stored and deflated entries, nothing encrypted.
            if ((info.method != 0 && info.method != Z_DEFLATED) || (info.flags & 1))
                return false;
            const int record = recordSizeOf(name);
            return record == 0 || qint64(info.uncompressedSize) % record == 0;
        });
    if (!whole)
        return invalid;
    // The extracted files sit beside the current ones until they are renamed over them.
    const QStorageInfo storage(dataFolder);
    if (storage.isValid() && storage.bytesAvailable() < s->unpackedSize + kSpareRoom)
        return {false, spaceReason()};
    if (found)
        *found = *s;
    return {true, QString()};
}

bool holdsSameData(const QString &dataFolder, const QString &copy, const Progress &progress)
{
    QuaZip zip(copy);
    if (!zip.open(QuaZip::mdUnzip))
        return false;
    QHash<QString, QuaZipFileInfo64> entries;
    for (const QuaZipFileInfo64 &info : zip.getFileInfoList64()) {
        if (!info.name.endsWith(u'/'))
            entries.insert(info.name, info);
    }
    if (zip.getZipError() != UNZ_OK)
        return false;
    zip.close();

    const QStringList files = keptFiles(dataFolder);
    if (files.size() != entries.size())
        return false;
    const QDir data(dataFolder);
    // Names and sizes first: most changes show there without reading anything.
    for (const QString &name : files) {
        const auto it = entries.constFind(name);
        if (it == entries.constEnd() ||
            qint64(it->uncompressedSize) != copiedSize(name, QFileInfo(data.filePath(name)).size()))
            return false;
    }
    const qint64 total = sizeOfAll(dataFolder, files);
    qint64 done = 0;
    QByteArray buffer(kBlock, Qt::Uninitialized);
    for (const QString &name : files) {
        QFile source(data.filePath(name));
        if (!source.open(QIODevice::ReadOnly))
            return false;
        QuaCrc32 crc;
        qint64 left = qint64(entries.value(name).uncompressedSize);
        while (left > 0) {
            const qint64 n = source.read(buffer.data(), std::min<qint64>(left, buffer.size()));
            if (n <= 0)
                return false;
            crc.update(QByteArray::fromRawData(buffer.constData(), n));
            left -= n;
            done += n;
            if (progress)
                progress(done, total);
        }
        if (crc.value() != entries.value(name).crc)
            return false;
    }
    return true;
}

QList<QDateTime> expired(QList<QDateTime> automatic, QDate today)
{
    std::sort(automatic.begin(), automatic.end(), std::greater<QDateTime>());
    QSet<qsizetype> keep;
    for (qsizetype i = 0; i < std::min<qsizetype>(10, automatic.size()); ++i)
        keep.insert(i);
    const QDate thisMonth(today.year(), today.month(), 1);
    for (int back = 0; back < 12; ++back) {
        const QDate month = thisMonth.addMonths(-back);
        // The list runs newest first: the first copy of a month is its newest.
        for (qsizetype i = 0; i < automatic.size(); ++i) {
            const QDate d = automatic.at(i).date();
            if (d.year() == month.year() && d.month() == month.month()) {
                keep.insert(i);
                break;
            }
        }
    }
    QList<QDateTime> out;
    for (qsizetype i = 0; i < automatic.size(); ++i) {
        if (!keep.contains(i))
            out.append(automatic.at(i));
    }
    return out;
}

AutomaticOutcome automatic(const QString &dataFolder, const QDateTime &now,
                           const Progress &progress)
{
    removeLeftovers(dataFolder);
    if (keptFiles(dataFolder).isEmpty())
        return {AutomaticResult::NoData, QString()};
    const QList<Listed> copies = list(dataFolder);
    AutomaticResult result = AutomaticResult::Unchanged;
    if (copies.isEmpty() || !holdsSameData(dataFolder, copies.first().path, progress)) {
        const QString target = newCopyPath(folderIn(dataFolder), now);
        const Outcome written = write(dataFolder, target, Kind::Automatic, now, progress);
        if (!written.ok)
            return {AutomaticResult::Failed, written.error};
        result = AutomaticResult::Written;
    }

    // Only copies the program wrote at start-up are removed, never one saved on request.
    QList<QDateTime> dates;
    QHash<QDateTime, QStringList> paths;
    for (const Listed &copy : list(dataFolder)) {
        if (copy.summary && copy.summary->kind == Kind::Automatic) {
            dates.append(copy.when);
            paths[copy.when].append(copy.path);
        }
    }
    for (const QDateTime &when : expired(dates, now.date())) {
        QStringList &same = paths[when];
        if (!same.isEmpty())
            QFile::remove(same.takeFirst());
    }
    return {result, QString()};
}

Outcome restore(const QString &path, const QString &dataFolder, const Progress &progress)
{
    const QDir data(dataFolder);
    removeLeftovers(dataFolder);
    const std::optional<Summary> s = summary(path);
    if (!s)
        return {false, u"La copia non è valida."_s};

    // 1. Every file extracted beside its final name under a temporary one, and synced.
    struct Placed {
        QString temporary;
        QString final;
    };
    std::vector<Placed> placed;
    const auto undo = [&placed]() {
        for (const Placed &p : placed)
            QFile::remove(p.temporary);
    };
    QSet<QString> held;
    std::unique_ptr<QFile> out;
    QString reason = u"La copia non può essere estratta."_s;
    const bool extracted = readWhole(
        path, progress, s->unpackedSize,
        [&](const QuaZipFileInfo64 &info) {
            if (info.name.endsWith(u'/'))
                return true;
            // The same rules as the check, so that no other copy is ever put in place.
            if (!isKeptPath(info.name) || held.contains(info.name))
                return false;
            const int record = recordSizeOf(info.name);
            if (record > 0 && qint64(info.uncompressedSize) % record != 0)
                return false;
            const QFileInfo final(data.filePath(info.name));
            if (!QDir().mkpath(final.absolutePath()))
                return false;
            const QString temporary =
                QDir(final.absolutePath())
                    .filePath(restorePrefix() + QString::number(qsizetype(placed.size())));
            out = std::make_unique<QFile>(temporary);
            if (!out->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                reason = reasonOf(*out);
                return false;
            }
            placed.push_back({temporary, final.absoluteFilePath()});
            held.insert(info.name);
            return true;
        },
        [&](const QByteArray &bytes) {
            if (out->write(bytes) == bytes.size())
                return true;
            reason = reasonOf(*out);
            return false;
        },
        [&]() {
            const bool ok = out->flush() && DurableFile::syncData(out->handle());
            if (!ok)
                reason = reasonOf(*out);
            out->close();
            out.reset();
            return ok;
        });
    out.reset();
    if (!extracted) {
        undo();
        return {false, reason};
    }
    QSet<QString> folders;
    for (const Placed &p : placed)
        folders.insert(QFileInfo(p.final).absolutePath());
    for (const QString &folder : folders)
        DurableFile::syncFolder(folder);

    // 2. Each renamed over its old file: one step each, so every file is old or new.
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (beforeReplaceSeam() && !beforeReplaceSeam()(int(i)))
            return {false, u"Il ripristino è stato interrotto."_s};
        if (!replaceFile(placed[i].temporary, placed[i].final)) {
            for (std::size_t j = i; j < placed.size(); ++j)
                QFile::remove(placed[j].temporary);
            return {false, u"Alcuni file non hanno potuto essere sostituiti."_s};
        }
    }

    // 3. What the copy does not hold goes, so the folder holds the copy's data. A password
    // store stays, though: the program never makes one, and without it no password opens
    // the program again.
    for (const QString &name : keptFiles(dataFolder)) {
        if (!held.contains(name) && name != passwordStore()) {
            QFile::remove(data.filePath(name));
            folders.insert(QFileInfo(data.filePath(name)).absolutePath());
        }
    }
    for (const QString &folder : folders)
        DurableFile::syncFolder(folder);
    return {true, QString()};
}

void setBeforeReplaceForTests(std::function<bool(int index)> beforeReplace)
{
    beforeReplaceSeam() = std::move(beforeReplace);
}

void setWriteLimitForTests(qint64 bytes) { writeLimit() = bytes; }

} // namespace BackupCopy
