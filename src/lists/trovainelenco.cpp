#include "lists/trovainelenco.h"

#include "common/dialogs.h"
#include "lists/elenchi.h"
#include "lists/listarighe.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

TrovaInElenco::TrovaInElenco(QWidget *screen, QLineEdit *txtTrova, ListaRighe *lstRecords,
                             Avviso avviso)
    : m_screen(screen), m_txtTrova(txtTrova), m_lista(lstRecords), m_avviso(avviso)
{
}

QString TrovaInElenco::listaVuota()
{
    return u"Ricerca non applicabile: la lista non contiene nessuna voce."_s;
}

void TrovaInElenco::esegui()
{
    if (m_lista->conta() == 0) {
        if (m_avviso == Avviso::Semplice)
            Dialogs::plain(m_screen, listaVuota());
        else
            Dialogs::information(m_screen, listaVuota());
        return;
    }
    if (m_lista->selezionata() < 0)
        m_lista->seleziona(0);
    // The key as typed, not trimmed: only A to Z are folded.
    const QString chiave = minuscoleAZ(m_txtTrova->text());
    const int found = Elenchi::trovaRiga(m_lista->righe(), chiave, m_lista->selezionata(),
                                         chiave == m_ultimaChiave);
    if (found >= 0)
        m_lista->seleziona(found);
    m_ultimaChiave = chiave;
}
