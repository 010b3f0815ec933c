#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>

// One copy of the program per program folder: two copies saving into the same archive
// would overwrite each other's cards. The running copy holds a lock file in the folder.
namespace FolderLock {

// The lock file in the program folder, named so that a user who sees it knows what it is.
QString fileName();
QString inUseMessage();

// The lock of the program folder, held for as long as the object lives; the lock file is
// removed when it ends.
class Held final
{
public:
    Held() = default;
    Held(int handle, QString path) : m_handle(handle), m_path(std::move(path)) {}
    ~Held();
    Held(const Held &) = delete;
    Held &operator=(const Held &) = delete;

    // False for a folder where no lock file can be made (read-only, full), used unlocked.
    bool isLocked() const { return m_handle >= 0; }

private:
    int m_handle = -1;
    QString m_path;
};

// Takes the lock of the program folder. The running copy keeps an exclusive lock of the
// system on its lock file, which ends with its process whatever way it ends: a lock file
// that no live process holds is taken over, whatever it holds (empty after a power cut,
// unreadable, written on another computer, copied with the folder into another one, older
// than the boot). While another copy holds it, shows inUseMessage() and returns nothing:
// the caller ends without touching any file. The lock file is written and synced.
std::unique_ptr<Held> take();

// This computer, this start and this folder, as a lock file names them.
struct Here {
    qint64 pid = 0;
    QString host;
    QString machine;
    QString boot;
    QDateTime bootTime;
    QString folder;
    // Whether a process of the program runs under that number.
    std::function<bool(qint64 pid)> running;
};
Here here();
// The content of the lock file that this start writes.
QByteArray content(const Here &here);
// Whether a lock file with that content and modification time can belong to a copy of
// the program running now on this computer and this folder. Used where the file system
// keeps no locks of the system, so that the file's own word is all there is.
bool mayBeLive(const QByteArray &content, const QDateTime &modified, const Here &here);

} // namespace FolderLock
