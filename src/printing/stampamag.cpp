#include "printing/stampamag.h"

using namespace Qt::StringLiterals;

TfrmStampaMag::TfrmStampaMag(QWidget *parent, const QImage &photo, Source source)
    : CardPrintDialog(parent, photo, std::move(source), Output::Print,
                      {u"TfrmStampaMag"_s, u" Stampa scheda"_s, u"printing_stampa"_s,
                       u"Stampa dati con foto."_s, u"Stampa dati senza foto."_s, u"Stampa"_s})
{
}
