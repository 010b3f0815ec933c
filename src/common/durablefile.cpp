#include "common/durablefile.h"

#include "common/programfolder.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::function<bool(const QString &)> &syncCheck()
{
    static std::function<bool(const QString &)> check;
    return check;
}

bool refusedForTests(const QString &path) { return syncCheck() && !syncCheck()(path); }

// The name a handle was opened under, for the test check only.
QString pathOf(int handle)
{
    return QFileInfo(QStringLiteral("/proc/self/fd/") + QString::number(handle)).symLinkTarget();
}

bool isRegularFile(const QByteArray &path)
{
    struct stat info;
    return ::lstat(path.constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// A second name for the file about to be replaced, in its own folder, so that it can be
// put back when the replacement does not reach the disk. Empty when there is no previous
// file or the file system has no hard links.
QByteArray keepPrevious(const QByteArray &target)
{
    if (!isRegularFile(target))
        return QByteArray();
    static std::atomic<int> counter{0};
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray kept = target.left(slash + 1) + '.' + target.mid(slash + 1) + ".precedente-" +
                            QByteArray::number(::getpid()) + '-' + QByteArray::number(++counter);
    if (::link(target.constData(), kept.constData()) != 0)
        return QByteArray();
    return kept;
}

} // namespace

namespace DurableFile {

bool syncData(int handle, const QString &path)
{
    if (handle < 0)
        return false;
    if (refusedForTests(path))
        return false;
    int result;
    do {
        result = ::fdatasync(handle);
    } while (result != 0 && errno == EINTR);
    // A handle that cannot be synced (a pipe, a special file) holds nothing to lose.
    return result == 0 || errno == EINVAL || errno == EROFS;
}

bool syncData(int handle) { return syncData(handle, syncCheck() ? pathOf(handle) : QString()); }

bool syncFolder(const QString &folder)
{
    if (refusedForTests(folder))
        return false;
    const QByteArray native = QFile::encodeName(folder);
    const int handle = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that may be written but not read cannot be synced by this user at all.
    if (handle < 0)
        return errno == EACCES;
    int result;
    do {
        result = ::fsync(handle);
    } while (result != 0 && errno == EINTR);
    const int error = errno;
    ::close(handle);
    // Some file systems cannot sync a folder at all; their entries are as durable as
    // they get.
    return result == 0 || error == EINVAL || error == EROFS || error == ENOTSUP;
}

bool open(QSaveFile &file)
{
    if (ProgramFolder::leadsOutside(file.fileName()))
        return false;
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool commit(QSaveFile &file)
{
    const QString target = QFileInfo(file.fileName()).absoluteFilePath();
    // Checked again at the end: the save file resolves a link at the target's name.
    if (ProgramFolder::leadsOutside(target)) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    // The save file's own commit syncs the data but ignores a failure to do so.
    if (!file.flush() || !syncData(file.handle(), target)) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    const QByteArray native = QFile::encodeName(target);
    const bool hadPrevious = isRegularFile(native);
    const QByteArray previous = keepPrevious(native);
    if (!file.commit()) {
        if (!previous.isEmpty())
            ::unlink(previous.constData());
        return false;
    }
    const QString folder = QFileInfo(target).absolutePath();
    if (syncFolder(folder)) {
        if (!previous.isEmpty())
            ::unlink(previous.constData());
        return true;
    }
    // The new name may not survive a crash: what the user sees is the file as it was.
    if (!previous.isEmpty())
        ::rename(previous.constData(), native.constData());
    else if (!hadPrevious)
        ::unlink(native.constData());
    syncFolder(folder);
    return false;
}

bool writeWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!open(file))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return commit(file);
}

void setSyncCheckForTests(std::function<bool(const QString &path)> check)
{
    syncCheck() = std::move(check);
}

Writer::Writer(const QString &path) : m_file(path) {}

Writer::~Writer()
{
    if (m_file.isOpen())
        m_file.cancelWriting();
}

bool Writer::open()
{
    // Unbuffered, as in writeWhole: a buffered save file may commit a truncated file
    // without reporting it. A path through a planted link is refused the same way.
    m_failed = !DurableFile::open(m_file);
    return !m_failed;
}

bool Writer::write(QByteArrayView bytes)
{
    if (m_failed || !m_file.isOpen())
        return false;
    if (m_file.write(bytes.data(), bytes.size()) != bytes.size()) {
        m_failed = true;
        m_file.cancelWriting();
        return false;
    }
    // The system starts taking the piece to the disk now, while the next one is made, so
    // the sync of the commit has little left to wait for.
    if (!bytes.isEmpty())
        ::sync_file_range(m_file.handle(), m_written, bytes.size(), SYNC_FILE_RANGE_WRITE);
    m_written += bytes.size();
    return true;
}

bool Writer::commit()
{
    if (m_failed || !m_file.isOpen()) {
        // A cancelled save file removes its temporary file on commit and reports failure.
        if (m_file.isOpen()) {
            m_file.cancelWriting();
            m_file.commit();
        }
        return false;
    }
    return DurableFile::commit(m_file);
}

} // namespace DurableFile
