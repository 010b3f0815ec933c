#pragma once

#include <QString>

#include <memory>

class QLockFile;

// One copy of the program per program folder: two copies saving into the same archive
// would overwrite each other's cards. The running copy holds a lock file in the folder.
namespace FolderLock {

// The lock file in the program folder, named so that a user who sees it knows what it is.
QString fileName();
QString inUseMessage();

// Takes the lock of the program folder for as long as the returned object lives. When a
// running copy already holds it, shows inUseMessage() and returns nothing: the caller ends
// without touching any file. A lock left by a copy that died (a crash, kill -9) is taken
// over. A folder where no lock file can be made (read-only, full) is used unlocked: the
// returned object then holds nothing.
std::unique_ptr<QLockFile> take();

} // namespace FolderLock
