#pragma once

#include <QByteArrayView>
#include <QSaveFile>

#include <functional>

class QByteArray;
class QString;

// Writes that have reached the disk when they report success: a save's success message
// must not show while the data still sits in the system's cache, where a power cut or a
// crash of the machine would lose it.
namespace DurableFile {

// Forces the data written through an open file handle to the disk. False when the system
// reports that it could not. The path names the file for the test check below.
bool syncData(int handle, const QString &path);
bool syncData(int handle);

// Makes the entries of a folder durable, so that a file just renamed or created in it
// stays there after a crash. A file system that cannot sync a folder at all is not an
// error; false when the sync itself failed.
bool syncFolder(const QString &folder);

// Opens a save file for a whole-file save, unbuffered so that a short write shows in
// write()'s count. Refuses a target inside the program folder that leads out of it (a
// planted symbolic link): the save file would write through the link.
bool open(QSaveFile &file);

// Commits a whole-file save: true only once the new file's data and its folder entry
// have reached the disk. When the data cannot be synced the previous file stays as it
// was; when the folder cannot be synced after the rename, the previous file is put back
// (or the new one removed when there was none), so a failure leaves what was there.
bool commit(QSaveFile &file);

// Replaces a whole file by the bytes, through a save file: a failure (a short write on a
// full disk, a failed sync, a folder that cannot be written) leaves the previous file
// whole. True once the new file has reached the disk.
bool writeWhole(const QString &path, const QByteArray &bytes);

// For tests only: a check run before every sync of a file's data or of a folder, with the
// file's or the folder's path; a sync whose path it refuses fails as a failing disk's
// would. An empty function removes it.
void setSyncCheckForTests(std::function<bool(const QString &path)> check);

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
