#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

// Text as the record files keep it: one length byte followed by a fixed number of
// bytes in the Windows-1252 code page.
namespace StoredText {

// Removes leading and trailing blanks and control characters (every code up to U+0020).
QString trimBlanks(const QString &text);
// The same, as a view into the text: for comparing many texts without copying them.
QStringView trimmedView(QStringView text);

// Windows-1252 bytes of a text; a character the code page cannot hold becomes "?".
QByteArray toCp1252(const QString &text);
QString fromCp1252(QByteArrayView bytes);

// Writes capacity + 1 bytes at out: the length byte, then the trimmed text cut to the
// capacity, then zero bytes up to the capacity.
void encode(const QString &text, int capacity, char *out);

// Reads a field of the given capacity at in. A length byte above the capacity is read as
// the capacity; the result is trimmed.
QString decode(const char *in, int capacity);

} // namespace StoredText
