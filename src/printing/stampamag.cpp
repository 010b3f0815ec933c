#include "printing/stampamag.h"

using namespace Qt::StringLiterals;

TfrmStampaMag::TfrmStampaMag(TfrmMagazzino *card)
    : CardPrintDialog(card, Output::Print,
                      {u"TfrmStampaMag"_s, u" Stampa scheda"_s, u"printing_stampa"_s,
                       u"Stampa dati con foto."_s, u"Stampa dati senza foto."_s, u"Stampa"_s})
{
}
