#pragma once

#include <QString>

class QProcessEnvironment;

// The folder where every file the program keeps lives. It is the executable's own folder
// when that can be written (the portable program folder, copied anywhere); an installed
// copy, whose folder users cannot write, keeps its files in the user's data folder instead.
namespace ProgramFolder {

QString path();
// The path of a file or folder inside the program folder.
QString file(const QString &name);
// Points the program folder elsewhere; for tests only. An empty path restores the default.
void setForTests(const QString &folder);

// Chooses the program folder for this run and prepares it; called once at start-up,
// before anything reads or writes a file of the program folder.
void settle();

// The folder the program keeps its files in: the executable's folder when it can be
// written, else "Scaffaria" in the user's data folder ($XDG_DATA_HOME, or
// ~/.local/share when that is unset or not an absolute path).
QString choose(const QString &executableFolder, bool executableFolderWritable,
               const QProcessEnvironment &environment);
// Whether a file can be created in the folder, found by creating (and removing) one.
bool canWrite(const QString &folder);
// Whether the folder holds the program's own files (its password store or its archive).
bool holdsProgramFiles(const QString &folder);
// Whether the program keeps its files beside the executable: always when its folder holds
// them already (a portable program folder is used as it is, even one that cannot be
// written: browsing and printing work, and every save says it cannot write); otherwise
// when the folder can be written and is not an installation's (one with its shared files
// in ../share/scaffaria), so a copy installed in /usr/bin never fills that folder, even
// when run by root.
bool keepsFilesBeside(const QString &executableFolder);
bool keepsFilesBeside(const QString &executableFolder, bool writable);

// Whether a path built inside the program folder leads out of it: through a symbolic link
// (or anything but a folder or a regular file) at any of its parts below the program
// folder, or through "..". A file planted there as a link must never make the program
// write, copy, open or read a file elsewhere. A path outside the program folder (a file
// the user chose) is not judged here and gives false.
bool leadsOutside(const QString &path);
// Creates the folder when missing and copies into it each file of the template folder
// that it does not hold yet (the initial password store); never replaces a file.
void prepare(const QString &folder, const QString &templateFolder);

// The installed shared files beside an executable in <prefix>/bin: <prefix>/share/scaffaria.
QString templateFolder(const QString &executableFolder);
// An installed document of the program: <prefix>/share/doc/scaffaria/<name>.
QString installedDocument(const QString &name);

} // namespace ProgramFolder
