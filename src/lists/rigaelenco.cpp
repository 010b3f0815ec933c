#include "lists/rigaelenco.h"

#include "common/storedtext.h"
#include "lists/compactlines.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using S = TSchedaProdotto;

// One piece of a line: a fixed text, or a card field fitted to a width (0: not fitted,
// the whole trimmed text), or the value column of the inventory.
struct Pezzo {
    const char16_t *testo; // fixed text, or nullptr
    int campo;             // field index; -1 for the value column
    int larghezza;
};

constexpr Pezzo kStandard[] = {
    {u"Cod. ", 0, 0},         {nullptr, S::iCodice, 22},  {u"  ", 0, 0},
    {nullptr, S::iNome, 34},  {u"  Cat. ", 0, 0},         {nullptr, S::iTipologia, 22},
    {u"  Giac. ", 0, 0},      {nullptr, S::iGiacenza, 4}, {u"  Pagato: ", 0, 0},
    {nullptr, S::iPagato, 2}, {u"  Scad. ", 0, 0},        {nullptr, S::iDataSca, 10},
    {u"  Costo: € ", 0, 0},   {nullptr, S::iCosto, 0},
};

constexpr Pezzo kDaSaldare[] = {
    {u"Cod. ", 0, 0},       {nullptr, S::iCodice, 20},
    {u"  ", 0, 0},          {nullptr, S::iNome, 30},
    {u"  ", 0, 0},          {nullptr, S::iTipologia, 20},
    {u"  Giac. ", 0, 0},    {nullptr, S::iGiacenza, 4},
    {u"  ", 0, 0},          {nullptr, S::iDitta, 24},
    {u"  Scad. ", 0, 0},    {nullptr, S::iDataSca, 10},
    {u"  Costo: € ", 0, 0}, {nullptr, S::iCosto, 0},
};

constexpr Pezzo kInventario[] = {
    {nullptr, S::iCodice, 25},
    {u"  ", 0, 0},
    {nullptr, S::iNome, 42},
    {u"  Scad. ", 0, 0},
    {nullptr, S::iDataSca, 10},
    {u"  Costo: € ", 0, 0},
    {nullptr, S::iCosto, 12},
    {u"  Giacenza: ", 0, 0},
    {nullptr, S::iGiacenza, 10},
    {u"  Valore: € ", 0, 0},
    {nullptr, -1, 0},
};

template<std::size_t N> constexpr std::pair<const Pezzo *, std::size_t> pezzi(const Pezzo (&a)[N])
{
    return {a, N};
}

std::pair<const Pezzo *, std::size_t> formato(FormatoRiga f)
{
    switch (f) {
    case FormatoRiga::Standard:
        return pezzi(kStandard);
    case FormatoRiga::DaSaldare:
        return pezzi(kDaSaldare);
    case FormatoRiga::Inventario:
        break;
    }
    return pezzi(kInventario);
}

qsizetype lunghezza(const char16_t *s) { return std::char_traits<char16_t>::length(s); }

// The Windows-1252 character of every byte, taken once from the shared codec.
const std::array<char16_t, 256> &tabella1252()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = static_cast<char>(i);
        const QString chars = StoredText::fromCp1252(all);
        for (int i = 0; i < 256; ++i)
            t[static_cast<std::size_t>(i)] = chars.at(i).unicode();
        return t;
    }();
    return table;
}

// A stored field trimmed of blanks and control characters, as its raw bytes. Every
// byte maps to one character and the characters up to U+0020 are exactly the bytes up
// to 0x20, so trimming the bytes trims the text.
struct CampoGrezzo {
    const unsigned char *dati;
    int lunghezza;
};

CampoGrezzo campo(const char *record, int index)
{
    const QByteArrayView bytes = S::trimmedBytes(record,
                                                 static_cast<TSchedaProdotto::Index>(index));
    return {reinterpret_cast<const unsigned char *>(bytes.data()), int(bytes.size())};
}

} // namespace

QString AdattaColonna(const QString &text, int width)
{
    return (StoredText::trimBlanks(text) + QString(width, u' ')).left(width);
}

QString RigaElenco(const TSchedaProdotto &card, FormatoRiga format, QStringView valore)
{
    // Going through the stored form keeps one definition of the line.
    QString out;
    RigaElenco(card.encode().constData(), format, valore, out);
    return out;
}

void RigaElenco(const char *record, FormatoRiga format, QStringView valore, QString &out)
{
    const auto [list, count] = formato(format);
    CampoGrezzo campi[16];
    qsizetype total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Pezzo &p = list[i];
        if (p.testo) {
            total += lunghezza(p.testo);
        } else if (p.campo < 0) {
            total += valore.size();
        } else {
            campi[i] = campo(record, p.campo);
            total += p.larghezza > 0 ? p.larghezza : campi[i].lunghezza;
        }
    }
    // A fresh line is allocated at its exact length; a reused one keeps its storage.
    if (out.isDetached() && out.capacity() >= total)
        out.resize(total);
    else
        out = QString(total, Qt::Uninitialized);
    const std::array<char16_t, 256> &table = tabella1252();
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    for (std::size_t i = 0; i < count; ++i) {
        const Pezzo &p = list[i];
        if (p.testo) {
            for (const char16_t *s = p.testo; *s; ++s)
                *dst++ = *s;
        } else if (p.campo < 0) {
            dst = std::copy(valore.utf16(), valore.utf16() + valore.size(), dst);
        } else {
            const CampoGrezzo &c = campi[i];
            const int shown = p.larghezza > 0 ? std::min(c.lunghezza, p.larghezza) : c.lunghezza;
            for (int k = 0; k < shown; ++k)
                *dst++ = table[c.dati[k]];
            for (int k = shown; k < p.larghezza; ++k)
                *dst++ = u' ';
        }
    }
}

namespace {

// The fixed texts of every format as Windows-1252 bytes, taken once from the pieces above.
struct PezziByte {
    std::vector<QByteArray> testi;
};

const PezziByte &pezziByte(FormatoRiga format)
{
    static const std::array<PezziByte, 3> all = [] {
        std::array<PezziByte, 3> out;
        for (int f = 0; f < 3; ++f) {
            const auto [list, count] = formato(static_cast<FormatoRiga>(f));
            for (std::size_t i = 0; i < count; ++i)
                out[static_cast<std::size_t>(f)].testi.push_back(
                    list[i].testo ? StoredText::toCp1252(QString::fromUtf16(list[i].testo))
                                  : QByteArray());
        }
        return out;
    }();
    return all[static_cast<std::size_t>(format)];
}

} // namespace

qsizetype lunghezzaMassima(FormatoRiga format, qsizetype valore)
{
    const auto [list, count] = formato(format);
    qsizetype total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Pezzo &p = list[i];
        if (p.testo)
            total += lunghezza(p.testo);
        else if (p.campo < 0)
            total += valore;
        else
            total += p.larghezza > 0 ? p.larghezza
                                     : S::fields()[static_cast<std::size_t>(p.campo)].capacity;
    }
    return total;
}

void RigaElenco(const char *record, FormatoRiga format, QByteArrayView valore, CompactLines &out)
{
    const auto [list, count] = formato(format);
    const PezziByte &fixed = pezziByte(format);
    CampoGrezzo campi[16];
    qsizetype total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Pezzo &p = list[i];
        if (p.testo) {
            total += fixed.testi[i].size();
        } else if (p.campo < 0) {
            total += valore.size();
        } else {
            campi[i] = campo(record, p.campo);
            total += p.larghezza > 0 ? p.larghezza : campi[i].lunghezza;
        }
    }
    char *dst = out.appendLine(total);
    for (std::size_t i = 0; i < count; ++i) {
        const Pezzo &p = list[i];
        if (p.testo) {
            const QByteArray &t = fixed.testi[i];
            std::memcpy(dst, t.constData(), static_cast<std::size_t>(t.size()));
            dst += t.size();
        } else if (p.campo < 0) {
            if (!valore.isEmpty())
                std::memcpy(dst, valore.data(), static_cast<std::size_t>(valore.size()));
            dst += valore.size();
        } else {
            const CampoGrezzo &c = campi[i];
            const int shown = p.larghezza > 0 ? std::min(c.lunghezza, p.larghezza) : c.lunghezza;
            if (shown > 0)
                std::memcpy(dst, c.dati, static_cast<std::size_t>(shown));
            dst += shown;
            if (p.larghezza > shown) {
                std::memset(dst, ' ', static_cast<std::size_t>(p.larghezza - shown));
                dst += p.larghezza - shown;
            }
        }
    }
}

QString minuscoleAZ(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    for (QChar c : text)
        *dst++ = minuscolaAZ(c.unicode());
    return out;
}

int confrontaRighe(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    qsizetype i = 0;
    // Lines share long prefixes ("Cod. " and the code's start): skip the equal part four
    // characters at a time before folding.
    for (; i + 4 <= n; i += 4) {
        std::uint64_t wa, wb;
        std::memcpy(&wa, pa + i, sizeof wa);
        std::memcpy(&wb, pb + i, sizeof wb);
        if (wa != wb)
            break;
    }
    for (; i < n; ++i) {
        if (pa[i] == pb[i])
            continue;
        const char16_t ca = minuscolaAZ(pa[i]);
        const char16_t cb = minuscolaAZ(pb[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void ordinaRighe(QList<QString> &righe)
{
    // Each line's first 16 characters, folded, packed into four numbers in reading order:
    // most comparisons end there. Equal keys fall back to the whole lines, then to the
    // order the lines came in, which keeps equal lines in archive order.
    struct Voce {
        std::array<std::uint64_t, 4> chiave;
        qsizetype indice;
    };
    std::vector<Voce> voci(static_cast<std::size_t>(righe.size()));
    for (qsizetype i = 0; i < righe.size(); ++i) {
        const QString &line = righe.at(i);
        Voce &v = voci[static_cast<std::size_t>(i)];
        v.indice = i;
        for (qsizetype w = 0; w < 4; ++w) {
            std::uint64_t packed = 0;
            for (qsizetype k = w * 4; k < w * 4 + 4; ++k)
                packed = (packed << 16) | (k < line.size() ? minuscolaAZ(line.at(k).unicode()) : 0);
            v.chiave[static_cast<std::size_t>(w)] = packed;
        }
    }
    std::sort(voci.begin(), voci.end(), [&righe](const Voce &a, const Voce &b) {
        if (a.chiave != b.chiave)
            return a.chiave < b.chiave;
        const int order = confrontaRighe(righe.at(a.indice), righe.at(b.indice));
        return order != 0 ? order < 0 : a.indice < b.indice;
    });
    QList<QString> sorted;
    sorted.reserve(righe.size());
    for (const Voce &v : voci)
        sorted.append(std::move(righe[v.indice]));
    righe = std::move(sorted);
}

bool contieneChiave(QStringView riga, QStringView chiave)
{
    return contieneChiave(riga.utf16(), riga.size(), chiave.utf16(), chiave.size());
}
