#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Backup copies of the data: one ZIP file holding every file the program keeps in its
// folder (the archive, the card photos, the price lists and their photos, the attached
// documents, the password store) under the paths they have there, and nothing else.
//
// A copy is written under a temporary name, read back with every entry's checksum
// checked, synced, and only then renamed to its own name, so a copy found under its final
// name is always whole. A restore checks the whole copy before anything changes, extracts
// every file beside its final name, syncs it, then renames it over the old one: a restore
// stopped at any moment leaves each file either as it was or as in the copy.
//
// Everything here is plain file work without any window, safe to run on a worker thread.
namespace BackupCopy {

// Progress of a long step: bytes done out of a total. Called from the thread that runs the
// step.
using Progress = std::function<void(qint64 done, qint64 total)>;

// The folder of the automatic copies, inside the program folder.
QString folderName();
QString folderIn(const QString &dataFolder);
// "Scaffaria_AAAAMMGG_hhmmss.zip" for that moment.
QString fileNameFor(const QDateTime &when);
// The path of a new copy in a folder, named for that moment, or for the first later second
// whose name is still free, so a copy never replaces another one.
QString newCopyPath(const QString &folder, const QDateTime &when);
// The moment a copy's name says, for names of the form above.
std::optional<QDateTime> dateFromFileName(const QString &name);

// Whether a path relative to the program folder ('/' between folder and file) names a
// file the program keeps: Magazzino.pro, unins000.dll, a card photo "N.jpg", a price list
// "*.lis", or a file directly inside Foto_Listino or Documenti_Allegati.
bool isKeptPath(const QString &relative);
// The files the program keeps in a folder, as relative paths, sorted.
QStringList keptFiles(const QString &dataFolder);

enum class Kind {
    Automatic, // written at start-up; removed again by the retention rule
    Kept,      // written on request or before a restore; never removed by the program
};

struct Summary {
    QDateTime when;
    Kind kind = Kind::Kept;
    qint64 cards = 0;
    int priceLists = 0;
    qint64 fileSize = 0;     // the ZIP file
    qint64 unpackedSize = 0; // the data it holds
};

// What a step did; error is an Italian sentence saying why it failed.
struct Outcome {
    bool ok = false;
    QString error;
};

// Writes a copy of the data of dataFolder to target, replacing a file of that name only
// once the new copy is whole and on the disk. A failure removes the partial file.
Outcome write(const QString &dataFolder, const QString &target, Kind kind, const QDateTime &when,
              const Progress &progress = {});

// What a copy's directory says, without reading its data; nothing when the file is not a
// ZIP file.
std::optional<Summary> summary(const QString &path);

struct Listed {
    QString path;
    std::optional<Summary> summary; // nothing for a file that cannot be read
    QDateTime when;
};
// The copies in the copies folder of dataFolder, newest first.
QList<Listed> list(const QString &dataFolder);
// The moment of the newest copy there, from the names alone (cheap enough for every showing
// of the hub); invalid when there is none.
QDateTime newestDate(const QString &dataFolder);

// Checks a copy whole before a restore into dataFolder: every entry read and its checksum
// and size checked, every name one the program keeps (no absolute path, no "..", no
// backslash), the record files a whole number of records, and room on the disk for all
// of it. On success, *found receives what the copy holds.
Outcome check(const QString &path, const QString &dataFolder, Summary *found,
              const Progress &progress = {});

// The reason check() gives when the disk has no room for the copy's data.
QString noRoomReason();

// Whether the data of dataFolder equal those of the copy: the same files, sizes and
// checksums.
bool holdsSameData(const QString &dataFolder, const QString &copy, const Progress &progress = {});

// The retention rule of the automatic copies: the ten newest are kept, and the newest of
// each of the twelve calendar months up to today's; the result is the dates to remove.
QList<QDateTime> expired(QList<QDateTime> automatic, QDate today);

enum class AutomaticResult { Written, Unchanged, NoData, Failed };
struct AutomaticOutcome {
    AutomaticResult result = AutomaticResult::Failed;
    QString error;
};
// The copy made at every start: written when the data differ from the newest copy in the
// copies folder (or there is none), then the retention rule applied. Leftovers of a copy or
// a restore that was stopped are removed first.
AutomaticOutcome automatic(const QString &dataFolder, const QDateTime &now,
                           const Progress &progress = {});

// Puts the files of a copy that check() accepted in place in dataFolder, and removes the
// kept files the copy does not hold, so the folder then holds the copy's data; only the
// password store is kept when the copy holds none.
Outcome restore(const QString &path, const QString &dataFolder, const Progress &progress = {});

// Test seams. beforeReplace is asked before each file is renamed into place (its index
// counts from 0) and stops the restore there when it returns false, as a kill would.
// writeLimit makes writing a copy fail as on a full disk once that many bytes are written
// (a negative limit means none).
void setBeforeReplaceForTests(std::function<bool(int index)> beforeReplace);
void setWriteLimitForTests(qint64 bytes);

} // namespace BackupCopy
