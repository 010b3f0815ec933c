#include "lists/elencoschede.h"

#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/progresswindow.h"
#include "lists/listarighe.h"
#include "lists/pannelloelenco.h"
#include "lists/trovainelenco.h"
#include "store/store.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

using namespace Qt::StringLiterals;

ElencoSchede::ElencoSchede(QWidget *parent, const QString &name, const QString &caption,
                           const QString &banner, FormatoRiga formato)
    : DialogoElenco(parent, name, caption, QSize(1000, 590), formato)
{
    imgIntestazione = new QLabel(this);
    imgIntestazione->setObjectName(u"imgIntestazione"_s);
    imgIntestazione->setPixmap(Artwork::pixmap(banner, QSize(560, 56)));
    imgIntestazione->setGeometry(20, 12, 560, 56);
    imgIntestazione->setAccessibleName(caption.trimmed());

    adottaElenco(new PannelloElenco(this, u"panElenco"_s));
    m_elenco->move(10, 80);
}

void ElencoSchede::showEvent(QShowEvent *event)
{
    DialogoElenco::showEvent(event);
    if (!event->spontaneous())
        riempi();
}

void ElencoSchede::riempi()
{
    m_elenco->trova().azzera();
    txtTrova->clear();
    // A card whose numbers are not numbers, or an archive that cannot be read, ends the
    // filling there: the lines found before it stay. The first is said, in the plain box
    // these screens use for their other messages, so the user knows the list is partial.
    Elenchi::Righe found;
    {
        ProgressWindow progress(this, leggendoArchivio());
        found = righe([&progress](qint64 done, qint64 total) {
            progress.setTotal(total);
            progress.tick(done);
        });
        lstRecords->imposta(std::move(found.righe));
    }
    txtTrova->setFocus(Qt::OtherFocusReason);
    if (found.esito == Elenchi::Esito::Interrotto)
        Dialogs::plain(this, Elenchi::elencoIncompleto(found.interruzione));
    // The folder's list says nothing of a failed reading; the shared store's failure is said.
    else if (found.esito == Elenchi::Esito::ErroreArchivio &&
             !Store::failureText(QString()).isEmpty())
        Dialogs::error(this, Store::failureText(QString()));
}

void ElencoSchede::consegna(const Elenchi::Scheda &scheda) { mostraSullaSchedaMagazzino(scheda); }
