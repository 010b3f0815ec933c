#pragma once

class QByteArray;
class QSaveFile;
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

} // namespace DurableFile
