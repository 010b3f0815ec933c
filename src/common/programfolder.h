#pragma once

#include <QString>

// The folder that holds the executable, where every file the program keeps lives.
namespace ProgramFolder {

QString path();
// The path of a file or folder inside the program folder.
QString file(const QString &name);
// Points the program folder elsewhere; for tests only. An empty path restores the default.
void setForTests(const QString &folder);

} // namespace ProgramFolder
