#pragma once

#include <QString>

#include <optional>

// The password store: the INI-format text file unins000.dll in the program folder, whose
// key "Valore" of section "Accesso" holds the enciphered password. The file is opened
// afresh for every read and every write; nothing of it is kept in between.
namespace PasswordStore {

QString path();

// The stored value; a missing file, section or key reads as empty text. Nothing when the
// file exists but cannot be read.
std::optional<QString> read();

// Replaces the stored value, adding the section or the key when absent, and keeps every
// other line of the file as it was. The file is replaced as a whole only when the new
// content has been written completely; false when that failed (the old file stays whole).
bool write(const QString &value);

} // namespace PasswordStore
