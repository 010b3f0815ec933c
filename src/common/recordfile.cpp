#include "common/recordfile.h"

#include "common/durablefile.h"
#include "common/programfolder.h"

#include <QByteArray>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens the name itself, never what a link there points to, and only a regular file: a
// pipe planted at the name would block the program (hence non-blocking until checked).
int openRegular(const QByteArray &path, int flags)
{
    const int handle = ::open(path.constData(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666);
    if (handle < 0)
        return -1;
    struct stat info;
    if (::fstat(handle, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(handle);
        errno = EINVAL;
        return -1;
    }
    ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK);
    return handle;
}

} // namespace

RecordFile::RecordFile(const QString &path, int recordSize)
    : m_file(path), m_path(path), m_size(recordSize)
{
}

RecordFile::~RecordFile() { close(); }

bool RecordFile::open()
{
    if (m_file.isOpen())
        return true;
    if (ProgramFolder::leadsOutside(m_path))
        return false;
    const QByteArray path = QFile::encodeName(m_path);
    QIODevice::OpenMode mode = QIODevice::ReadWrite;
    int handle = openRegular(path, O_RDWR | O_CREAT);
    if (handle < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        mode = QIODevice::ReadOnly;
        handle = openRegular(path, O_RDONLY);
    }
    if (handle < 0)
        return false;
    // Unbuffered: every read and write goes straight to the file, so a write's count is
    // the system's and a record put back is what the next read sees.
    if (!m_file.open(handle, mode | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return false;
    }
    return true;
}

void RecordFile::close()
{
    if (m_file.isOpen())
        m_file.close();
}

qint64 RecordFile::count() const { return m_file.isOpen() ? m_file.size() / m_size : 0; }

bool RecordFile::readAt(qint64 position, char *record)
{
    if (position < 1 || position > count())
        return false;
    if (!m_file.seek((position - 1) * m_size))
        return false;
    return m_file.read(record, m_size) == m_size;
}

bool RecordFile::writeRecord(qint64 offset, const char *bytes, qint64 size)
{
    if (!m_file.isWritable() || !m_file.seek(offset))
        return false;
    if (m_file.write(bytes, size) != size)
        return false;
    // The save's success message must not show while the record is still in the cache.
    return m_file.flush() && DurableFile::syncData(m_file.handle(), m_path);
}

bool RecordFile::writeAt(qint64 position, const char *record)
{
    if (position < 1 || position > count() || !m_file.isWritable())
        return false;
    const qint64 offset = (position - 1) * m_size;
    QByteArray before(m_size, Qt::Uninitialized);
    if (!m_file.seek(offset) || m_file.read(before.data(), m_size) != m_size)
        return false;
    if (writeRecord(offset, record, m_size))
        return true;
    // The record as it was; its own sync may fail too, yet what is read is the old card.
    writeRecord(offset, before.constData(), m_size);
    return false;
}

bool RecordFile::append(const char *record, qint64 *position)
{
    if (!m_file.isWritable())
        return false;
    // The end is read and written under one exclusive lock: another copy of the program, on
    // this machine or on another one sharing the folder, may be appending at the same time.
    // A file system without locks still gets the record, at its end as read just now.
    const int handle = m_file.handle();
    int locked;
    do {
        locked = ::flock(handle, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    const qint64 length = m_file.size();
    const qint64 before = length / m_size;
    const qint64 offset = before * m_size;
    // A trailing fragment shorter than a record is overwritten by the new record; it is
    // kept to be put back with the length.
    QByteArray fragment(length - offset, Qt::Uninitialized);
    bool written = m_file.seek(offset) &&
                   m_file.read(fragment.data(), fragment.size()) == fragment.size();
    if (written) {
        written = writeRecord(offset, record, m_size);
        if (!written) {
            // Still under the lock, so the bytes past the old length are this record's.
            if (!fragment.isEmpty() && m_file.seek(offset))
                m_file.write(fragment.constData(), fragment.size());
            m_file.resize(length);
            DurableFile::syncData(handle, m_path);
        }
    }
    if (locked == 0)
        ::flock(handle, LOCK_UN);
    if (!written)
        return false;
    if (position)
        *position = before + 1;
    return true;
}

namespace {

// A piece of the file mapped into memory for reading, its pages loaded at once: records
// are examined where the system keeps the file, never copied out first. The mapping starts
// on a page boundary at or before the wanted offset.
class MappedPiece
{
public:
    // Nothing is mapped for 0 bytes.
    MappedPiece(int handle, qint64 offset, qint64 bytes)
    {
        if (bytes <= 0)
            return;
        static const qint64 page = ::sysconf(_SC_PAGESIZE);
        const qint64 start = offset - offset % page;
        m_length = static_cast<std::size_t>(bytes + (offset - start));
        void *at = ::mmap(nullptr, m_length, PROT_READ, MAP_SHARED | MAP_POPULATE, handle,
                          static_cast<off_t>(start));
        if (at == MAP_FAILED)
            return;
        m_base = static_cast<char *>(at);
        m_data = m_base + (offset - start);
    }
    ~MappedPiece()
    {
        if (m_base)
            ::munmap(m_base, m_length);
    }
    MappedPiece(const MappedPiece &) = delete;
    MappedPiece &operator=(const MappedPiece &) = delete;

    const char *data() const { return m_data; }

private:
    char *m_base = nullptr;
    const char *m_data = nullptr;
    std::size_t m_length = 0;
};

// About 32 MiB a mapping: few enough calls that they do not count, and only that much of
// the file is held in the process at a time.
constexpr qint64 kMappedBytes = 32 << 20;
// Pieces smaller than this are read, not mapped.
constexpr qint64 kReadBytes = 1 << 20;

} // namespace

bool RecordFile::readRange(qint64 first, qint64 records, bool backward,
                           const std::function<bool(qint64, const char *)> &visit, bool *stopped)
{
    const qint64 bytes = records * m_size;
    // A small piece (the first ones read backward) is read: mapping it would cost more than
    // copying it. A piece that cannot be mapped is read too.
    const MappedPiece mapped(m_file.handle(), first * m_size, bytes >= kReadBytes ? bytes : 0);
    const char *data = mapped.data();
    if (!data) {
        if (m_block.size() < bytes)
            m_block.resize(bytes);
        if (!m_file.seek(first * m_size) || m_file.read(m_block.data(), bytes) != bytes)
            return false;
        data = m_block.constData();
    }
    for (qint64 k = 0; k < records; ++k) {
        const qint64 i = backward ? records - 1 - k : k;
        if (!visit(first + i + 1, data + i * m_size)) {
            *stopped = true;
            return true;
        }
    }
    return true;
}

bool RecordFile::readAll(const std::function<bool(qint64, const char *)> &visit,
                         const std::function<void(qint64 done, qint64 total)> &progress)
{
    if (!m_file.isOpen())
        return false;
    // A whole number of records a piece; the file is mapped where it can be, and read into
    // one reused block where it cannot.
    const qint64 perPiece = std::max<qint64>(1, kMappedBytes / m_size);
    const qint64 total = count();
    qint64 position = 0;
    bool stopped = false;
    while (position < total && !stopped) {
        const qint64 records = std::min(perPiece, total - position);
        if (!readRange(position, records, false, visit, &stopped))
            return false;
        position += records;
        if (progress)
            progress(position, total);
    }
    m_block = QByteArray();
    return true;
}

bool RecordFile::readAllBackward(const std::function<bool(qint64, const char *)> &visit,
                                 const std::function<void(qint64 done, qint64 total)> &progress)
{
    if (!m_file.isOpen())
        return false;
    // The answer is often among the last records: the first piece is small and each
    // next one doubles, up to the size of a whole piece.
    const qint64 largest = std::max<qint64>(1, kMappedBytes / m_size);
    qint64 perPiece = std::min<qint64>(8, largest);
    const qint64 total = count();
    qint64 end = total;
    bool stopped = false;
    while (end > 0 && !stopped) {
        const qint64 records = std::min(perPiece, end);
        const qint64 start = end - records;
        if (!readRange(start, records, true, visit, &stopped))
            return false;
        end = start;
        perPiece = std::min(perPiece * 2, largest);
        if (progress)
            progress(total - end, total);
    }
    m_block = QByteArray();
    return true;
}
