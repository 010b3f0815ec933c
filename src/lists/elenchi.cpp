#include "lists/elenchi.h"

#include "common/numbertext.h"
#include "common/storedtext.h"
#include "warehouse/archivio.h"

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

std::optional<double> numero(const char *record, S::Index index)
{
    const std::string_view raw = grezzo(record, index);
    // Stock and threshold are whole numbers of a few digits: read those at once. The value
    // is exactly the one the full rule gives; anything else goes through the full rule.
    if (!raw.empty() && raw.size() <= 10) {
        std::size_t i = (raw[0] == '-' || raw[0] == '+') ? 1 : 0;
        if (i < raw.size()) {
            long long value = 0;
            for (; i < raw.size() && raw[i] >= '0' && raw[i] <= '9'; ++i)
                value = value * 10 + (raw[i] - '0');
            if (i == raw.size())
                return static_cast<double>(raw[0] == '-' ? -value : value);
        }
    }
    // Every character of a number is plain ASCII, so the bytes stand for the text.
    return NumberText::parse(QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size())));
}

// Reads the archive whole; `visita` returns false to stop. Reports the archive's failure.
// `righe`, when given, gets room for a line per card at once.
template<typename Visita> bool leggiArchivio(Visita &&visita, QList<QString> *righe = nullptr)
{
    ArchivioMagazzino archive;
    if (!archive.open())
        return false;
    if (righe)
        righe->reserve(archive.count());
    const bool ok = archive.readAll(visita);
    archive.close();
    return ok;
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
Righe righeDove(FormatoRiga formato, const std::function<Scelta(const char *record)> &scelta)
{
    Righe out;
    const bool ok = leggiArchivio(
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
            QString line;
            RigaElenco(record, formato, {}, line);
            out.righe.append(std::move(line));
            return true;
        },
        &out.righe);
    if (!ok)
        out.esito = Esito::ErroreArchivio;
    return out;
}

} // namespace

Righe ricerca(const std::vector<Criterio> &criteri)
{
    return righeDove(FormatoRiga::Standard, [&](const char *record) {
        for (const Criterio &c : criteri) {
            if (!c.corrisponde(record))
                return Scelta::Salta;
        }
        return Scelta::Tieni;
    });
}

Righe sottoscorta()
{
    return righeDove(FormatoRiga::Standard, [](const char *record) {
        const std::optional<double> stock = numero(record, S::iGiacenza);
        const std::optional<double> threshold = numero(record, S::iAvviso);
        if (!stock || !threshold)
            return Scelta::Interrompi;
        return *stock <= *threshold ? Scelta::Tieni : Scelta::Salta;
    });
}

Righe daSaldare()
{
    return righeDove(FormatoRiga::DaSaldare, [](const char *record) {
        return grezzo(record, S::iPagato) == std::string_view("No") ? Scelta::Tieni : Scelta::Salta;
    });
}

Inventario inventario(const QString &filtro)
{
    Inventario out;
    const bool tutti = StoredText::trimBlanks(filtro).isEmpty();
    const Criterio categoria(S::iTipologia, filtro);
    const bool ok = leggiArchivio(
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
            QString line;
            RigaElenco(record, FormatoRiga::Inventario, NumberText::shortest(value), line);
            out.righe.append(std::move(line));
            out.totale += value;
            return true;
        },
        &out.righe);
    if (!ok)
        out.esito = Esito::ErroreArchivio;
    return out;
}

QString elencoIncompleto(const SchedaNonNumerica &scheda)
{
    return u"Attenzione: la scheda "_s + QString::number(scheda.posizione) + u" (codice "_s +
           scheda.codice + u") contiene un valore non numerico: l'elenco è incompleto."_s;
}

std::optional<Scheda> schedaDaRiga(const QString &riga, FormatoRiga formato)
{
    // The last equal card in file order is the one that stays shown, so the archive is
    // read from its end and the first equal card found there is the answer.
    const QStringView cercata = StoredText::trimmedView(riga);
    std::optional<Scheda> found;
    QString line;
    ArchivioMagazzino archive;
    if (!archive.open())
        return std::nullopt;
    const bool ok = archive.readAllBackward([&](qint64 position, const char *record) {
        RigaElenco(record, formato, {}, line);
        if (StoredText::trimmedView(line) != cercata)
            return true;
        found = Scheda{position, S::decode(record)};
        return false;
    });
    archive.close();
    return ok ? found : std::nullopt;
}

int trovaRiga(const QList<QString> &righe, QStringView chiave, int selezionata, bool stessaChiave)
{
    const int n = static_cast<int>(righe.size());
    if (!stessaChiave) {
        for (int i = 0; i < n; ++i) {
            if (contieneChiave(righe.at(i), chiave))
                return i;
        }
        return -1;
    }
    // After the selected line to the end, then from the top round to the selected line.
    for (int step = 1; step <= n; ++step) {
        const int i = (selezionata + step) % n;
        if (contieneChiave(righe.at(i), chiave))
            return i;
    }
    return -1;
}

} // namespace Elenchi
