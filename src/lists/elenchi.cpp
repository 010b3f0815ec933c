#include "lists/elenchi.h"

#include "common/numbertext.h"
#include "common/storedtext.h"
#include "store/store.h"

#include <cmath>
#include <functional>
#include <string_view>

using namespace Qt::StringLiterals;

namespace Elenchi {

namespace {

using S = TSchedaProdotto;

// A field's used bytes as stored, trimmed of blanks and control characters.
std::string_view grezzo(const char *record, S::Index index)
{
    const S::Field &f = S::fields()[static_cast<std::size_t>(index)];
    const char *in = record + f.offset;
    std::size_t used = std::min<std::size_t>(static_cast<unsigned char>(in[0]),
                                             static_cast<std::size_t>(f.capacity));
    const char *begin = in + 1;
    while (used > 0 && static_cast<unsigned char>(*begin) <= 0x20) {
        ++begin;
        --used;
    }
    while (used > 0 && static_cast<unsigned char>(begin[used - 1]) <= 0x20)
        --used;
    return {begin, used};
}

// A text and its folded bytes in the archive's code page; nothing when the text holds a
// character the code page cannot hold, which no stored field can then contain.
std::optional<QByteArray> chiave1252(const QString &testo)
{
    const QByteArray bytes = StoredText::toCp1252(testo);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '?' && testo.at(i) != u'?')
            return std::nullopt;
    }
    QByteArray folded = bytes;
    for (char &c : folded)
        c = minuscolaAZ(c);
    return folded;
}

// A text's bytes in the archive's code page, unfolded; nothing when it holds a character
// the code page cannot hold.
std::optional<QByteArray> chiave1252Esatta(const QString &testo)
{
    const QByteArray bytes = StoredText::toCp1252(testo);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '?' && testo.at(i) != u'?')
            return std::nullopt;
    }
    return bytes;
}

std::optional<double> numero(const char *record, S::Index index)
{
    const std::string_view raw = grezzo(record, index);
    // Stock, threshold and cost are whole numbers or decimals of a few digits: read those
    // at once. Up to 15 digits the digits make an exact integer m, and m / 10^k (k the
    // decimals) is correctly rounded as the full rule's reading is, so the value is exactly
    // the one the full rule gives; anything else goes through the full rule.
    if (!raw.empty() && raw.size() <= 17) {
        const bool negative = raw[0] == '-';
        std::size_t i = (negative || raw[0] == '+') ? 1 : 0;
        long long value = 0;
        int digits = 0;
        int decimals = -1;
        for (; i < raw.size(); ++i) {
            const char c = raw[i];
            if (c >= '0' && c <= '9') {
                value = value * 10 + (c - '0');
                ++digits;
                if (decimals >= 0)
                    ++decimals;
            } else if (c == ',' && decimals < 0) {
                decimals = 0;
            } else {
                break;
            }
        }
        if (i == raw.size() && digits > 0 && digits <= 15) {
            static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
            double number = static_cast<double>(value);
            if (decimals > 0)
                number /= kTens[decimals];
            // A whole number keeps the sign the integer reading gave it before.
            if (decimals < 0)
                return static_cast<double>(negative ? -value : value);
            return negative ? -number : number;
        }
    }
    // Every character of a number is plain ASCII, so the bytes stand for the text.
    return NumberText::parse(QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size())));
}

// Reads the cards the selection may keep, in archive order; `visita` still checks each
// one and returns false to stop. Reports the archive's failure. `righe`, when given, gets
// room for a line of `longest` bytes per card at once (only the room the lines fill is
// taken from the system).
template<typename Visita>
bool leggiArchivio(const Store::Selection &selezione, Visita &&visita,
                   const Avanzamento &avanzamento, CompactLines *righe = nullptr,
                   qsizetype longest = 0)
{
    const std::unique_ptr<Store::Cards> archive = Store::current().cards();
    if (!archive->open())
        return false;
    if (righe)
        righe->reserve(archive->count(), longest);
    const bool ok = archive->readSelected(selezione, visita, avanzamento);
    // A list only reads: a failed close loses nothing, but the lines may not be whole.
    return archive->close() && ok;
}

// The selection of the cards matching every criterion. A criterion no card can match
// leaves the choice to the list, which then keeps no card.
Store::Selection selezioneDi(Store::Selection::Kind kind, const std::vector<Criterio> &criteri)
{
    Store::Selection selezione;
    for (const Criterio &c : criteri) {
        if (!c.possibile())
            return {};
        selezione.criteria.emplace_back(c.campo(), c.chiave());
    }
    selezione.kind = selezione.criteria.empty() ? Store::Selection::Kind::All : kind;
    return selezione;
}

// A field's trimmed bytes, for a line compared as bytes.
QByteArrayView trimmedBytes(QByteArrayView bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 0x20)
        --end;
    return bytes.sliced(begin, end - begin);
}

} // namespace

Criterio::Criterio(TSchedaProdotto::Index campo, const QString &testo) : m_campo(campo)
{
    const std::optional<QByteArray> key = chiave1252(testo);
    m_possibile = key.has_value();
    if (key)
        m_chiave = *key;
}

bool Criterio::corrisponde(const char *record) const
{
    const std::string_view campo = grezzo(record, m_campo);
    return m_possibile && contieneChiave(campo.data(), static_cast<qsizetype>(campo.size()),
                                         m_chiave.constData(), m_chiave.size());
}

std::vector<Criterio> criteriInUso(const QList<std::pair<TSchedaProdotto::Index, QString>> &campi)
{
    std::vector<Criterio> criteri;
    for (const auto &[index, testo] : campi) {
        // A blank-only field is not in use; a field in use counts as typed, untrimmed.
        if (!StoredText::trimBlanks(testo).isEmpty())
            criteri.emplace_back(index, testo);
    }
    return criteri;
}

namespace {

enum class Scelta { Salta, Tieni, Interrompi };

SchedaNonNumerica nonNumerica(qint64 position, const char *record)
{
    return {position, StoredText::trimBlanks(S::field(record, S::iCodice))};
}

// The lines, in one format, of the cards a choice keeps, in archive order. A card the
// choice cannot read stops the reading with the lines found so far.
Righe righeDove(const Store::Selection &selezione, FormatoRiga formato,
                const std::function<Scelta(const char *record)> &scelta,
                const Avanzamento &avanzamento)
{
    Righe out;
    const bool ok = leggiArchivio(
        selezione,
        [&](qint64 position, const char *record) {
            switch (scelta(record)) {
            case Scelta::Salta:
                return true;
            case Scelta::Interrompi:
                out.esito = Esito::Interrotto;
                out.interruzione = nonNumerica(position, record);
                return false;
            case Scelta::Tieni:
                break;
            }
            RigaElenco(record, formato, QByteArrayView(), out.righe);
            return true;
        },
        avanzamento, &out.righe, lunghezzaMassima(formato));
    if (!ok)
        out.esito = Esito::ErroreArchivio;
    return out;
}

} // namespace

Righe ricerca(const std::vector<Criterio> &criteri, const Avanzamento &avanzamento)
{
    return righeDove(
        selezioneDi(Store::Selection::Kind::Search, criteri), FormatoRiga::Standard,
        [&](const char *record) {
            for (const Criterio &c : criteri) {
                if (!c.corrisponde(record))
                    return Scelta::Salta;
            }
            return Scelta::Tieni;
        },
        avanzamento);
}

Righe sottoscorta(const Avanzamento &avanzamento)
{
    return righeDove(
        {Store::Selection::Kind::LowStock, {}}, FormatoRiga::Standard,
        [](const char *record) {
            const std::optional<double> stock = numero(record, S::iGiacenza);
            const std::optional<double> threshold = numero(record, S::iAvviso);
            if (!stock || !threshold)
                return Scelta::Interrompi;
            return *stock <= *threshold ? Scelta::Tieni : Scelta::Salta;
        },
        avanzamento);
}

Righe daSaldare(const Avanzamento &avanzamento)
{
    return righeDove(
        {Store::Selection::Kind::Unpaid, {}}, FormatoRiga::DaSaldare,
        [](const char *record) {
            return grezzo(record, S::iPagato) == std::string_view("No") ? Scelta::Tieni
                                                                        : Scelta::Salta;
        },
        avanzamento);
}

Inventario inventario(const QString &filtro, const Avanzamento &avanzamento)
{
    Inventario out;
    const bool tutti = StoredText::trimBlanks(filtro).isEmpty();
    const Criterio categoria(S::iTipologia, filtro);
    const Store::Selection selezione =
        tutti ? Store::Selection{} : selezioneDi(Store::Selection::Kind::Category, {categoria});
    const bool ok = leggiArchivio(
        selezione,
        [&](qint64 position, const char *record) {
            if (!tutti && !categoria.corrisponde(record))
                return true;
            const std::optional<double> stock = numero(record, S::iGiacenza);
            const std::optional<double> cost = numero(record, S::iCosto);
            if (!stock || !cost) {
                out.esito = Esito::Interrotto;
                out.interruzione = nonNumerica(position, record);
                return false;
            }
            const double value = *stock * *cost;
            // The value's characters are plain ASCII: its bytes stand for the text.
            const QString text = NumberText::shortest(value);
            char bytes[64];
            qsizetype n = 0;
            for (; n < text.size() && n < qsizetype(sizeof bytes); ++n)
                bytes[n] = static_cast<char>(text.at(n).unicode());
            if (text.size() <= qsizetype(sizeof bytes))
                RigaElenco(record, FormatoRiga::Inventario, QByteArrayView(bytes, n), out.righe);
            else
                RigaElenco(record, FormatoRiga::Inventario, StoredText::toCp1252(text), out.righe);
            out.totale += value;
            return true;
        },
        avanzamento, &out.righe, lunghezzaMassima(FormatoRiga::Inventario, 24));
    if (!ok)
        out.esito = Esito::ErroreArchivio;
    return out;
}

QString elencoIncompleto(const SchedaNonNumerica &scheda)
{
    return u"Attenzione: la scheda "_s + QString::number(scheda.posizione) + u" (codice "_s +
           scheda.codice + u") contiene un valore non numerico: l'elenco è incompleto."_s;
}

std::optional<Scheda> schedaDaRiga(const QString &riga, FormatoRiga formato,
                                   const Avanzamento &avanzamento)
{
    // The last equal card in file order is the one that stays shown, so the archive is
    // read from its end and the first equal card found there is the answer. Each card's
    // line is laid out as bytes in one reused place and compared with the chosen line's
    // bytes, both trimmed: every character of a line is one of the code page's, so equal
    // bytes are equal texts.
    const QString cercata = StoredText::trimBlanks(riga);
    const std::optional<QByteArray> bytes = chiave1252Esatta(cercata);
    const std::unique_ptr<Store::Cards> archive = Store::current().cards();
    if (!archive->open())
        return std::nullopt;
    std::optional<Scheda> found;
    CompactLines line;
    line.reserve(1, lunghezzaMassima(formato));
    bool ok = archive->readAllBackward(
        [&](qint64 position, const char *record) {
            if (!bytes)
                return true;
            line.clearKeepingRoom();
            RigaElenco(record, formato, QByteArrayView(), line);
            if (trimmedBytes(line.bytes(0)) != QByteArrayView(*bytes))
                return true;
            found = Scheda{position, S::decode(record)};
            return false;
        },
        avanzamento);
    ok = archive->close() && ok;
    return ok ? found : std::nullopt;
}

int trovaRiga(const CompactLines &righe, QStringView chiave, int selezionata, bool stessaChiave)
{
    // The key in the lines' code page; a key with a character no line can hold matches none.
    const std::optional<QByteArray> key = chiave1252Esatta(chiave.toString());
    if (!key || key->isEmpty())
        return -1;
    const int n = static_cast<int>(righe.size());
    auto contiene = [&](int i) {
        const QByteArrayView line = righe.bytes(i);
        return contieneChiave(line.data(), line.size(), key->constData(), key->size());
    };
    if (!stessaChiave) {
        for (int i = 0; i < n; ++i) {
            if (contiene(i))
                return i;
        }
        return -1;
    }
    // After the selected line to the end, then from the top round to the selected line.
    for (int step = 1; step <= n; ++step) {
        const int i = (selezionata + step) % n;
        if (contiene(i))
            return i;
    }
    return -1;
}

} // namespace Elenchi
