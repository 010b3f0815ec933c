#include "common/durablefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace DurableFile {

bool syncData(int handle)
{
    if (handle < 0)
        return false;
    int result;
    do {
        result = ::fdatasync(handle);
    } while (result != 0 && errno == EINTR);
    // A handle that cannot be synced (a pipe, a special file) holds nothing to lose.
    return result == 0 || errno == EINVAL || errno == EROFS;
}

void syncFolder(const QString &folder)
{
    const QByteArray native = QFile::encodeName(folder);
    const int handle = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return;
    while (::fsync(handle) != 0 && errno == EINTR) {
    }
    ::close(handle);
}

bool commit(QSaveFile &file)
{
    if (!file.commit())
        return false;
    syncFolder(QFileInfo(file.fileName()).absolutePath());
    return true;
}

bool writeWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered, so that a short write shows in write()'s count: a buffered save file may
    // commit a truncated file without reporting it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return commit(file);
}

} // namespace DurableFile
