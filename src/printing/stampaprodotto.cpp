#include "printing/stampaprodotto.h"

using namespace Qt::StringLiterals;

TfrmStampaProdotto::TfrmStampaProdotto(QWidget *pageScreen, Source source)
    : PricePrintDialog(pageScreen, std::move(source), Output::Print, u"TfrmStampaProdotto"_s,
                       u" Stampa scheda"_s, u"Stampa"_s)
{
    addPicture(u"imgSpiega01"_s, u"printing_stampa_listino"_s, QRect(12, 12, 340, 90),
               u"Stampa del listino"_s);
}
