#pragma once

#include <QByteArrayView>
#include <QSaveFile>

class QByteArray;
class QString;

// Writes that have reached the disk when they report success: a save's success message
// must not show while the data still sits in the system's cache, where a power cut or a
// crash of the machine would lose it.
namespace DurableFile {

// Forces the data written through an open file handle to the disk. False when the system
// reports that it could not.
bool syncData(int handle);

// Makes the entries of a folder durable, so that a file just renamed or created in it
// stays there after a crash. A file system that cannot sync a folder is not an error.
void syncFolder(const QString &folder);

// Commits a whole-file save (the data is synced by the commit itself) and then syncs the
// folder that holds the new name.
bool commit(QSaveFile &file);

// Replaces a whole file by the bytes, through a save file: a failure (a short write on a
// full disk, a folder that cannot be written) leaves the previous file whole. True once the
// new file has reached the disk.
bool writeWhole(const QString &path, const QByteArray &bytes);

// A whole-file save written in pieces, for outputs too large to build in memory first. Each
// piece goes straight to the file, unbuffered, so a short write (a full disk) shows at once
// and every later write and the commit fail too. commit() syncs the data, renames the file
// into place and syncs the folder; a save that fails, or that is dropped uncommitted, leaves
// the previous file whole.
class Writer final
{
public:
    explicit Writer(const QString &path);
    ~Writer();
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    bool open();
    bool write(QByteArrayView bytes);
    // True once the whole new file has reached the disk under its name.
    bool commit();
    bool failed() const { return m_failed; }

private:
    QSaveFile m_file;
    qint64 m_written = 0;
    bool m_failed = false;
};

} // namespace DurableFile
