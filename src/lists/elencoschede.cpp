#include "lists/elencoschede.h"

#include "common/artwork.h"
#include "lists/listarighe.h"
#include "lists/pannelloelenco.h"
#include "lists/trovainelenco.h"

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

    m_elenco = new PannelloElenco(this, u"panElenco"_s);
    m_elenco->move(10, 80);
    lblRigo01 = m_elenco->lblRigo01;
    lblRigo02 = m_elenco->lblRigo02;
    lblRigo03 = m_elenco->lblRigo03;
    txtTrova = m_elenco->txtTrova;
    btnTrova = m_elenco->btnTrova;
    btnStampa = m_elenco->btnStampa;
    btnChiudi = m_elenco->btnChiudi;
    lstRecords = m_elenco->lstRecords;

    connect(lstRecords, &ListaRighe::dblClick, this, [this] { ApriSchedaDaRiga(m_elenco); });
    connect(btnStampa, &QPushButton::clicked, this, [this] { stampa(m_elenco); });
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
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
    // filling there without a message: the lines found before it stay.
    lstRecords->imposta(righe().righe);
    txtTrova->setFocus(Qt::OtherFocusReason);
}

void ElencoSchede::consegna(const Elenchi::Scheda &scheda) { mostraSullaSchedaMagazzino(scheda); }
