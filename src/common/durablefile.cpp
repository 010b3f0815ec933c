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

Writer::Writer(const QString &path) : m_file(path) {}

Writer::~Writer()
{
    if (m_file.isOpen())
        m_file.cancelWriting();
}

bool Writer::open()
{
    // Unbuffered, as in writeWhole: a buffered save file may commit a truncated file
    // without reporting it.
    m_failed = !m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
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
