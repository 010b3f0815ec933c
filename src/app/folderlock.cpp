#include "app/folderlock.h"

#include "common/dialogs.h"
#include "common/durablefile.h"
#include "common/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kMostContent = 4096;

QString bootId()
{
    QFile file(u"/proc/sys/kernel/random/boot_id"_s);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll().trimmed());
}

QDateTime bootTime()
{
    timespec up{};
    if (::clock_gettime(CLOCK_BOOTTIME, &up) != 0)
        return QDateTime();
    return QDateTime::currentDateTimeUtc().addSecs(-qint64(up.tv_sec));
}

QString executableName() { return QFileInfo(QCoreApplication::applicationFilePath()).fileName(); }

// A process under that number, started from an executable of this program's name.
bool isProgramRunning(qint64 pid)
{
    if (pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno != EPERM))
        return false;
    const QString exe = QFileInfo(u"/proc/"_s + QString::number(pid) + u"/exe"_s).symLinkTarget();
    return exe.isEmpty() || QFileInfo(exe).fileName() == executableName();
}

bool sameFile(int handle, const QByteArray &path)
{
    struct stat open;
    struct stat named;
    return ::fstat(handle, &open) == 0 && ::lstat(path.constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// Opens the lock file itself, never what a link at its name points to; a link there is
// removed (the link only, never its target) and the lock file made anew.
int openLockFile(const QByteArray &path, bool *writable)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        *writable = true;
        int handle = ::open(path.constData(),
                            O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644);
        if (handle < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
            // A folder that cannot be written may still hold a lock file to lock.
            *writable = false;
            handle = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        }
        if (handle < 0 && errno == ELOOP && attempt == 0) {
            ::unlink(path.constData());
            continue;
        }
        if (handle < 0)
            return -1;
        struct stat info;
        if (::fstat(handle, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(handle);
            return -1;
        }
        return handle;
    }
    return -1;
}

QByteArray readContent(int handle)
{
    QByteArray bytes(kMostContent, Qt::Uninitialized);
    const ssize_t got = ::pread(handle, bytes.data(), size_t(bytes.size()), 0);
    bytes.resize(got > 0 ? got : 0);
    return bytes;
}

QDateTime modifiedTime(int handle)
{
    struct stat info;
    if (::fstat(handle, &info) != 0)
        return QDateTime();
    return QDateTime::fromSecsSinceEpoch(info.st_mtim.tv_sec, Qt::UTC);
}

// Writes this start's content over the file and syncs it with its folder entry. A failure
// (a full disk) is not the lock's: the system's lock on the file is what holds.
void writeContent(int handle, const QString &path, const QByteArray &bytes)
{
    if (::pwrite(handle, bytes.constData(), size_t(bytes.size()), 0) != bytes.size())
        return;
    if (::ftruncate(handle, bytes.size()) != 0)
        return;
    DurableFile::syncData(handle, path);
    DurableFile::syncFolder(QFileInfo(path).absolutePath());
}

QString canonicalFolder()
{
    const QString canonical = QFileInfo(ProgramFolder::path()).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(ProgramFolder::path()) : canonical;
}

} // namespace

namespace FolderLock {

QString fileName() { return u"Scaffaria_in_uso.lock"_s; }

QString inUseMessage()
{
    return u"Attenzione: il programma è già in esecuzione in questa cartella."_s;
}

Held::~Held()
{
    if (m_handle < 0)
        return;
    const QByteArray path = QFile::encodeName(m_path);
    // Removed only while it is still this copy's file.
    if (sameFile(m_handle, path))
        ::unlink(path.constData());
    ::close(m_handle);
}

Here here()
{
    Here h;
    h.pid = QCoreApplication::applicationPid();
    h.host = QSysInfo::machineHostName();
    h.machine = QString::fromLatin1(QSysInfo::machineUniqueId());
    h.boot = bootId();
    h.bootTime = bootTime();
    h.folder = canonicalFolder();
    h.running = isProgramRunning;
    return h;
}

QByteArray content(const Here &here)
{
    QByteArray out = "Scaffaria\n";
    out += "pid=" + QByteArray::number(here.pid) + '\n';
    out += "host=" + here.host.toUtf8() + '\n';
    out += "machine=" + here.machine.toUtf8() + '\n';
    out += "boot=" + here.boot.toUtf8() + '\n';
    out += "folder=" + here.folder.toUtf8() + '\n';
    return out;
}

bool mayBeLive(const QByteArray &bytes, const QDateTime &modified, const Here &here)
{
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.isEmpty() || lines.first() != "Scaffaria")
        return false; // empty (a power cut soon after a start) or not a lock of ours
    QString pid;
    QString host;
    QString machine;
    QString boot;
    QString folder;
    for (const QByteArray &line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray key = line.left(eq);
        const QString value = QString::fromUtf8(line.mid(eq + 1));
        if (key == "pid")
            pid = value;
        else if (key == "host")
            host = value;
        else if (key == "machine")
            machine = value;
        else if (key == "boot")
            boot = value;
        else if (key == "folder")
            folder = value;
    }
    bool number = false;
    const qint64 owner = pid.toLongLong(&number);
    if (!number || owner <= 0)
        return false;
    if (host != here.host || (!machine.isEmpty() && machine != here.machine))
        return false; // written on another computer: a folder restored from a backup
    if (folder != here.folder)
        return false; // copied with the folder into another one
    if (!boot.isEmpty() && !here.boot.isEmpty() && boot != here.boot)
        return false;
    if (modified.isValid() && here.bootTime.isValid() && modified < here.bootTime.addSecs(-2))
        return false; // no program running now started before the boot
    return here.running && here.running(owner);
}

std::unique_ptr<Held> take()
{
    // A program folder kept outside the executable's may not exist yet at the first start.
    QDir().mkpath(ProgramFolder::path());
    const QString path = ProgramFolder::file(fileName());
    const QByteArray native = QFile::encodeName(path);
    const Here now = here();
    for (int attempt = 0; attempt < 8; ++attempt) {
        bool writable = true;
        const int handle = openLockFile(native, &writable);
        if (handle < 0)
            return std::make_unique<Held>(); // no lock file can be made: used unlocked
        if (::flock(handle, LOCK_EX | LOCK_NB) == 0) {
            // The copy that held it may have removed it just now; then lock the new one.
            if (!sameFile(handle, native)) {
                ::close(handle);
                continue;
            }
            if (writable)
                writeContent(handle, path, content(now));
            return std::make_unique<Held>(handle, path);
        }
        const int error = errno;
        if (error == EINTR) {
            ::close(handle);
            continue;
        }
        if (error == EWOULDBLOCK) {
            // Held by a live process of this system, on this very file.
            ::close(handle);
            Dialogs::plain(nullptr, inUseMessage());
            return nullptr;
        }
        // A file system without locks of the system: the file's own content decides.
        if (mayBeLive(readContent(handle), modifiedTime(handle), now)) {
            ::close(handle);
            Dialogs::plain(nullptr, inUseMessage());
            return nullptr;
        }
        if (writable)
            writeContent(handle, path, content(now));
        return std::make_unique<Held>(handle, path);
    }
    return std::make_unique<Held>();
}

} // namespace FolderLock
