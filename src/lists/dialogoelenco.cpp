#include "lists/dialogoelenco.h"

#include "common/memoryreturn.h"
#include "common/progresswindow.h"
#include "common/screens.h"
#include "lists/listarighe.h"
#include "lists/pannelloelenco.h"
#include "lists/stampaelenco.h"
#include "warehouse/magazzino.h"

#include <QPushButton>

DialogoElenco::DialogoElenco(QWidget *parent, const QString &name, const QString &caption,
                             QSize size, FormatoRiga formato)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_formato(formato)
{
    setObjectName(name);
    setWindowTitle(caption);
    setFixedSize(size);
    setModal(true);
    QFont base(QStringLiteral("Arial"));
    base.setPointSize(10);
    setFont(base);
}

void DialogoElenco::done(int result)
{
    if (m_elenco)
        m_elenco->lstRecords->svuota();
    MemoryReturn::giveBack();
    QDialog::done(result);
}

// Esc, Alt+F4 and the title bar's close do what the screen's Chiudi (or the search
// criteria's Annulla) does: close the screen, handing nothing over.
void DialogoElenco::reject() { accept(); }

void DialogoElenco::ApriSchedaDaRiga(PannelloElenco *elenco)
{
    const QString riga = elenco->lstRecords->testoSelezionato();
    if (elenco->lstRecords->selezionata() >= 0) {
        std::optional<Elenchi::Scheda> scheda;
        {
            ProgressWindow progress(this, leggendoArchivio());
            scheda = Elenchi::schedaDaRiga(riga, m_formato, [&progress](qint64 done, qint64 total) {
                progress.setTotal(total);
                progress.tick(done);
            });
        }
        if (scheda)
            consegna(*scheda);
    }
    accept();
}

void DialogoElenco::adottaElenco(PannelloElenco *elenco)
{
    m_elenco = elenco;
    lblRigo01 = elenco->lblRigo01;
    lblRigo02 = elenco->lblRigo02;
    lblRigo03 = elenco->lblRigo03;
    txtTrova = elenco->txtTrova;
    btnTrova = elenco->btnTrova;
    btnStampa = elenco->btnStampa;
    btnChiudi = elenco->btnChiudi;
    lstRecords = elenco->lstRecords;

    connect(lstRecords, &ListaRighe::dblClick, this, [this] { ApriSchedaDaRiga(m_elenco); });
    connect(btnStampa, &QPushButton::clicked, this, [this] { stampa(m_elenco); });
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
}

void DialogoElenco::stampa(PannelloElenco *elenco)
{
    StampaElenco::stampa(this, titoloStampa(), elenco->lstRecords->righe().toList());
}

QString leggendoArchivio() { return QStringLiteral("Lettura dell'archivio in corso..."); }

void mostraSullaSchedaMagazzino(const Elenchi::Scheda &scheda)
{
    if (TfrmMagazzino *magazzino = screens().magazzino)
        magazzino->MostraScheda(scheda.scheda, scheda.posizione);
}
