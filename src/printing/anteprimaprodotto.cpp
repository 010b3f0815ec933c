#include "printing/anteprimaprodotto.h"

using namespace Qt::StringLiterals;

TfrmAnteprimaProdotto::TfrmAnteprimaProdotto(QWidget *pageScreen, Source source)
    : PricePrintDialog(pageScreen, std::move(source), Output::Preview, u"TfrmAnteprimaProdotto"_s,
                       u" Anteprima di stampa"_s, u"Mostra anteprima"_s)
{
    addPicture(u"imgSpiega01"_s, u"printing_anteprima_listino"_s, QRect(12, 12, 340, 90),
               u"Anteprima di stampa"_s);
    addPicture(u"imgBarra"_s, u"printing_barra"_s, QRect(12, 112, 340, 6), QString());
    addPicture(u"imgIcona"_s, u"printing_icona"_s, QRect(20, 134, 56, 56), QString());
    addPicture(u"imgSpiega02"_s, u"printing_anteprima_nota"_s, QRect(84, 130, 268, 64),
               u"Il foglio si può stampare dalla finestra di anteprima"_s);
}
