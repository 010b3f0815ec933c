#pragma once

#include <QString>
#include <QStringList>

// The set of price lists: nothing but the files ending in ".lis" in the program folder.
namespace ElencoListini {

// The names (with extension, without folder) of the list files directly in a folder,
// matched without regard to letter case and sorted with only A to Z folded.
QStringList files(const QString &folder);

// Order of list names: letters A to Z compare without regard to case, every other
// character (accented letters included) by its code.
bool lessFolded(const QString &a, const QString &b);

// The full path of a list file in the program folder, from its file name exactly as the
// folder holds it: blanks at either end are part of the name, so a file copied in with
// them is opened and deleted itself, never a trimmed namesake.
QString pathOf(const QString &fileName);
// The list name shown for a file name: the name without its last four characters.
QString nameOf(const QString &fileName);

// Whether a list name, already trimmed, can name its files: no control character (a
// pasted tab or line feed), and its longest file, the page photo of a six-digit page
// ("<name>_Foto_H_123456.jpg"), within the 255 bytes a file name may take.
bool isUsableName(const QString &name);

enum class Creation { Created, Exists, Failed };
// Creates an empty list file; an existing file is never touched. On failure, error
// receives the system's reason.
Creation create(const QString &path, QString *error);

// Removes a list file; false when it is still there afterwards.
bool remove(const QString &path);

} // namespace ElencoListini
