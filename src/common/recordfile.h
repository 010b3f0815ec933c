#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

// A file of fixed-size records with no header, used inside one user action: open, work
// on whole records, close. Opening never truncates: a missing file is created empty, an
// existing one is used as it is.
class RecordFile
{
public:
    RecordFile(const QString &path, int recordSize);
    ~RecordFile();

    // Opens for reading and writing, creating the file when missing. An existing file that
    // cannot be written is opened for reading only, so it can still be browsed; writes then
    // fail. A name that leads out of the program folder (a planted symbolic link) or that
    // is not a regular file is refused: its link is never followed.
    bool open();
    void close();

    // Number of whole records; a trailing fragment shorter than a record does not count.
    qint64 count() const;
    // Positions count from 1.
    bool readAt(qint64 position, char *record);
    // Writes a whole record with one write, then syncs it to the disk: true only once the
    // record is there. All or nothing: when the write or its sync fails, the bytes read
    // before are written back, so the file holds the record as it was.
    bool writeAt(qint64 position, const char *record);
    // Writes a whole record after the last whole one of the file as it is at the moment of
    // writing, under an exclusive lock on the file, so that records appended at the same
    // time by another process never land on one position; *position is the new record's.
    // All or nothing: when the write (a short one on a full disk) or its sync fails, the
    // file is cut back to the length it had under the lock, which removes only this
    // unfinished record, so a retry appends the record once.
    bool append(const char *record, qint64 *position);
    // Visits every record in order, straight from the file mapped into memory a large piece
    // at a time (read into one reused block where the file cannot be mapped). The visitor
    // returns false to stop early. `progress`, when given, hears after each piece how many
    // records have been visited of how many. False when a read fails.
    bool readAll(const std::function<bool(qint64 position, const char *record)> &visit,
                 const std::function<void(qint64 done, qint64 total)> &progress = {});
    // The same from the last record to the first, for questions whose answer is the last
    // record that fits: the visitor stops as soon as it has it.
    bool readAllBackward(const std::function<bool(qint64 position, const char *record)> &visit,
                         const std::function<void(qint64 done, qint64 total)> &progress = {});

    int recordSize() const { return m_size; }
    QString errorString() const { return m_file.errorString(); }

private:
    bool writeRecord(qint64 offset, const char *record, qint64 size);
    // Visits `records` records from the 0-based record `first`, in either direction.
    bool readRange(qint64 first, qint64 records, bool backward,
                   const std::function<bool(qint64, const char *)> &visit, bool *stopped);

    QFile m_file;
    QString m_path; // the file opened from its handle no longer knows its name
    int m_size;
    QByteArray m_block; // the reused block where the file cannot be mapped
};
