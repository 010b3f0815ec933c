#include "common/recordfile.h"

#include "common/durablefile.h"

#include <QByteArray>

#include <cerrno>
#include <sys/file.h>

RecordFile::RecordFile(const QString &path, int recordSize) : m_file(path), m_size(recordSize) {}

RecordFile::~RecordFile() { close(); }

bool RecordFile::open()
{
    if (m_file.isOpen())
        return true;
    if (m_file.open(QIODevice::ReadWrite))
        return true;
    return m_file.exists() && m_file.open(QIODevice::ReadOnly);
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

bool RecordFile::writeRecord(qint64 offset, const char *record)
{
    if (!m_file.isWritable() || !m_file.seek(offset))
        return false;
    if (m_file.write(record, m_size) != m_size)
        return false;
    // The save's success message must not show while the record is still in the cache.
    return m_file.flush() && DurableFile::syncData(m_file.handle());
}

bool RecordFile::writeAt(qint64 position, const char *record)
{
    if (position < 1 || position > count())
        return false;
    return writeRecord((position - 1) * m_size, record);
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
    const qint64 before = count();
    const bool written = writeRecord(before * m_size, record);
    if (locked == 0)
        ::flock(handle, LOCK_UN);
    if (!written)
        return false;
    if (position)
        *position = before + 1;
    return true;
}

bool RecordFile::readAll(const std::function<bool(qint64, const char *)> &visit)
{
    if (!m_file.isOpen() || !m_file.seek(0))
        return false;
    // About 1 MiB a read, always a whole number of records: large enough that the system
    // calls do not count, small enough that a block is still in the processor's cache
    // while its records are examined.
    const qint64 perBlock = std::max<qint64>(1, (1 << 20) / m_size);
    QByteArray block(perBlock * m_size, Qt::Uninitialized);
    const qint64 total = count();
    qint64 position = 0;
    while (position < total) {
        const qint64 records = std::min(perBlock, total - position);
        const qint64 bytes = records * m_size;
        if (m_file.read(block.data(), bytes) != bytes)
            return false;
        for (qint64 i = 0; i < records; ++i) {
            if (!visit(position + i + 1, block.constData() + i * m_size))
                return true;
        }
        position += records;
    }
    return true;
}

bool RecordFile::readAllBackward(const std::function<bool(qint64, const char *)> &visit)
{
    if (!m_file.isOpen())
        return false;
    // The answer is often among the last records: the first block is small and each
    // next one doubles, up to about 1 MiB.
    const qint64 largest = std::max<qint64>(1, (1 << 20) / m_size);
    QByteArray block;
    qint64 perBlock = std::min<qint64>(8, largest);
    qint64 end = count();
    while (end > 0) {
        const qint64 records = std::min(perBlock, end);
        const qint64 start = end - records;
        const qint64 bytes = records * m_size;
        if (block.size() < bytes)
            block.resize(bytes);
        if (!m_file.seek(start * m_size) || m_file.read(block.data(), bytes) != bytes)
            return false;
        for (qint64 i = records - 1; i >= 0; --i) {
            if (!visit(start + i + 1, block.constData() + i * m_size))
                return true;
        }
        end = start;
        perBlock = std::min(perBlock * 2, largest);
    }
    return true;
}
