#include "printing/anteprimamag.h"

using namespace Qt::StringLiterals;

TfrmAnteprimaMag::TfrmAnteprimaMag(QWidget *parent, const QImage &photo, Source source)
    : CardPrintDialog(parent, photo, std::move(source), Output::Preview,
                      {u"TfrmAnteprimaMag"_s, u" Anteprima di stampa"_s, u"printing_anteprima"_s,
                       u"Anteprima dati con foto."_s, u"Anteprima dati senza foto."_s,
                       u"Mostra anteprima"_s})
{
}
