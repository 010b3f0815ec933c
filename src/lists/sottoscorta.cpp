#include "lists/sottoscorta.h"

using namespace Qt::StringLiterals;

TfrmSottoscorta::TfrmSottoscorta(QWidget *parent)
    : ElencoSchede(parent, u"TfrmSottoscorta"_s, u" Materiali in esaurimento"_s,
                   u"elenco_sottoscorta"_s, FormatoRiga::Standard)
{
}

QString TfrmSottoscorta::titoloStampa() const { return u"Materiali in esaurimento"_s; }
