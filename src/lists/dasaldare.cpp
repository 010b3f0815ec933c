#include "lists/dasaldare.h"

using namespace Qt::StringLiterals;

TfrmDaSaldare::TfrmDaSaldare(QWidget *parent)
    : ElencoSchede(parent, u"TfrmDaSaldare"_s, u" Riepilogo pagamenti non saldati"_s,
                   u"elenco_dasaldare"_s, FormatoRiga::DaSaldare)
{
}

QString TfrmDaSaldare::titoloStampa() const { return u"Riepilogo pagamenti non saldati"_s; }
