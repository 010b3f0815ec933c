#pragma once

#include <QString>

#include <optional>

// The cipher of the password store: each password character is one byte, enciphered with
// a 16-bit running key that is fed with the enciphered byte, and written as two
// upper-case hexadecimal digits.
namespace Crypt {

// The hexadecimal text for the store of a normalised password.
QString Encrypt(const QString &password);

// The password held by the store's hexadecimal text. Upper and lower case digits are
// accepted and a last odd digit is ignored; a pair that is not hexadecimal gives nothing.
std::optional<QString> Decrypt(const QString &hex);

// A password as it is stored and compared: the letters a-z turned into A-Z (no other
// character changes case), then leading and trailing blanks and control characters removed.
QString Normalise(const QString &password);

// True when a normalised password fits the store: 1 to 255 characters, each from U+0001
// to U+00FF, since every character is stored as one byte.
bool Storable(const QString &password);

} // namespace Crypt
