#pragma once

#include "store/sharedstore.h"

#include <QString>

// The choice of the shared archive: the INI-format text file Archivio_condiviso.ini in the
// program folder, section "Archivio condiviso", keys Server, Porta, Database, Utente and
// Password (the password enciphered as the password store's, over its UTF-8 bytes). Without
// the file the program keeps its data in its folder. The file is readable by its owner
// only and is replaced as a whole.
namespace SharedSettingsFile {

QString fileName();
QString path();

enum class State {
    Absent,  // no file: the folder store
    Present, // a whole choice
    Damaged, // a file that cannot be read or does not hold a whole choice
};

struct Content {
    State state = State::Absent;
    Store::SharedSettings settings;
};

Content read();

// Writes the choice, replacing the file only once the new one is whole on the disk; false
// when that failed (the old file stays as it was).
bool write(const Store::SharedSettings &settings);

// Removes the file; true when it is gone afterwards.
bool remove();

// Whether a port text is a port number (digits only, 1 to 65535).
bool validPort(const QString &text);

} // namespace SharedSettingsFile
