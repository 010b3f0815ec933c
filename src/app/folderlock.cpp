#include "app/folderlock.h"

#include "common/dialogs.h"
#include "common/programfolder.h"

#include <QDir>
#include <QLockFile>

using namespace Qt::StringLiterals;

namespace FolderLock {

QString fileName() { return u"Scaffaria_in_uso.lock"_s; }

QString inUseMessage()
{
    return u"Attenzione: il programma è già in esecuzione in questa cartella."_s;
}

std::unique_ptr<QLockFile> take()
{
    // A program folder kept outside the executable's may not exist yet at the first start.
    QDir().mkpath(ProgramFolder::path());
    auto lock = std::make_unique<QLockFile>(ProgramFolder::file(fileName()));
    // Only a lock whose owner is no longer running is stale, however long a copy has been
    // open: the age of the file says nothing about its owner.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    if (lock->error() == QLockFile::LockFailedError) {
        Dialogs::plain(nullptr, inUseMessage());
        return nullptr;
    }
    return lock;
}

} // namespace FolderLock
