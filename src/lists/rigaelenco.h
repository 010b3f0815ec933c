#pragma once

#include "warehouse/schedaprodotto.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

// The fixed-width text lines by which the list screens show warehouse cards. A line is
// all a list holds: a chosen line finds its card again by rebuilding the lines of the
// archive and comparing texts.
enum class FormatoRiga {
    Standard,  // search, import and low-stock lists
    DaSaldare, // unpaid purchases: narrower columns and the supplier
    Inventario // valuation: the card's value as the last column
};

// A fitted column: the trimmed text followed by blanks, cut to exactly `width` characters.
QString AdattaColonna(const QString &text, int width);

// The line of one card. `valore` is the last column of an inventory line (the card's
// value as text); the other formats ignore it.
QString RigaElenco(const TSchedaProdotto &card, FormatoRiga format, QStringView valore = {});

// The same line built straight from a raw 2592-byte record into `out`, whose storage is
// reused when it is large enough: the lists build one line per card without decoding
// the fields they do not show.
void RigaElenco(const char *record, FormatoRiga format, QStringView valore, QString &out);

class CompactLines;
// The same line added to compact lines as single-byte text; `valore` holds the value
// column's characters (plain ASCII).
void RigaElenco(const char *record, FormatoRiga format, QByteArrayView valore, CompactLines &out);
// The longest line a format can give, with a value column of `valore` characters.
qsizetype lunghezzaMassima(FormatoRiga format, qsizetype valore = 0);

// Folds the letters A to Z to lower case and leaves every other character as it is
// (accented capitals included): the comparison rule of searches, finds and list order.
QString minuscoleAZ(QStringView text);
// One character of a text or one byte of a stored field.
template<typename C> constexpr C minuscolaAZ(C c)
{
    return (c >= C('A') && c <= C('Z')) ? static_cast<C>(c + 32) : c;
}

// Order of the list box: by the whole text, A to Z folded, other characters by code.
// Negative, zero or positive like a three-way comparison.
int confrontaRighe(QStringView a, QStringView b);
// Sorts lines into list order; lines that compare equal keep the order they came in.
void ordinaRighe(QList<QString> &righe);

// Whether the line, A to Z folded, contains a key that is already folded. An empty key
// is contained nowhere.
bool contieneChiave(QStringView riga, QStringView chiaveMinuscola);
// The same for n characters or stored bytes at `riga` and m at `chiave`.
template<typename C> bool contieneChiave(const C *riga, qsizetype n, const C *chiave, qsizetype m)
{
    if (m == 0 || m > n)
        return false;
    const C first = chiave[0];
    for (qsizetype i = 0, last = n - m; i <= last; ++i) {
        if (minuscolaAZ(riga[i]) != first)
            continue;
        qsizetype j = 1;
        while (j < m && minuscolaAZ(riga[i + j]) == chiave[j])
            ++j;
        if (j == m)
            return true;
    }
    return false;
}
