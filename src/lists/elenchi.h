#pragma once

#include "lists/compactlines.h"
#include "lists/rigaelenco.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// What the list screens ask of the warehouse archive. Each call opens Magazzino.pro
// (created empty when missing), reads it whole in large pieces, decodes only the fields it
// needs and closes it again. The lines come back in archive order as compact text; the list
// box sorts them.
namespace Elenchi {

// Hears now and then how many cards have been read of how many, so that a screen can show
// how far a long list has come.
using Avanzamento = std::function<void(qint64 done, qint64 total)>;

enum class Esito {
    Completo,       // every card was read
    Interrotto,     // a card's number was not a number: the lines before it stand
    ErroreArchivio, // the archive could not be opened or read
};

// The card at which a list stopped because its stock, threshold or cost is not a number.
struct SchedaNonNumerica {
    qint64 posizione = 0; // 1-based, as the card screen shows it
    QString codice;       // its code, trimmed
};

// The warning that names that card: the list shows only the lines before it.
QString elencoIncompleto(const SchedaNonNumerica &scheda);

struct Righe {
    CompactLines righe;
    Esito esito = Esito::Completo;
    SchedaNonNumerica interruzione; // when esito is Interrotto
};

// One search criterion: a text as typed, looked for in one card field. A-Z are folded,
// other characters compare as they are.
class Criterio
{
public:
    Criterio(TSchedaProdotto::Index campo, const QString &testo);
    bool corrisponde(const char *record) const;

    TSchedaProdotto::Index campo() const { return m_campo; }
    const QByteArray &chiave() const { return m_chiave; }
    bool possibile() const { return m_possibile; }

private:
    TSchedaProdotto::Index m_campo;
    QByteArray m_chiave; // the folded text in the archive's code page
    bool m_possibile;    // false when the text holds a character no card can hold
};

// The criteria in use among the given ones: those not blank once trimmed.
std::vector<Criterio> criteriInUso(const QList<std::pair<TSchedaProdotto::Index, QString>> &campi);

// The cards matching every criterion (all cards when there is none), as standard lines.
Righe ricerca(const std::vector<Criterio> &criteri, const Avanzamento &avanzamento = {});
// The cards whose stock is at or below their threshold, as standard lines.
Righe sottoscorta(const Avanzamento &avanzamento = {});
// The cards whose paid flag is exactly "No", as unpaid lines.
Righe daSaldare(const Avanzamento &avanzamento = {});

struct Inventario {
    CompactLines righe;
    double totale = 0; // the sum of the values listed so far
    Esito esito = Esito::Completo;
    SchedaNonNumerica interruzione; // when esito is Interrotto
};
// The cards whose category contains the filter (every card when the filter is blank),
// with their values stock x cost.
Inventario inventario(const QString &filtro, const Avanzamento &avanzamento = {});

// The card whose line in the given format equals the given line, both trimmed; with
// several, the last in file order. Nothing when none matches or the archive fails.
struct Scheda {
    qint64 posizione = 0;
    TSchedaProdotto scheda;
};
std::optional<Scheda> schedaDaRiga(const QString &riga, FormatoRiga formato,
                                   const Avanzamento &avanzamento = {});

// The next line to select for a find: `chiave` is the folded key; with `stessaChiave`
// the search starts after `selezionata` and wraps round to it, otherwise it starts at the
// first line. -1 when no line matches.
int trovaRiga(const CompactLines &righe, QStringView chiave, int selezionata, bool stessaChiave);

} // namespace Elenchi
