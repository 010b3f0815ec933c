#include "printing/cardsheet.h"

#include "common/datetext.h"
#include "common/numbertext.h"
#include "common/storedtext.h"
#include "printing/designs.h"
#include "printing/report.h"

using namespace Qt::StringLiterals;

namespace {

double number(const QString &text)
{
    const std::optional<double> value = NumberText::parse(text);
    if (!value)
        throw NotANumber(text);
    return *value;
}

void fill(TReport &report, const QString &memo, const QString &text)
{
    report.findMemo(memo)->setText(StoredText::trimBlanks(text));
}

} // namespace

NotANumber::NotANumber(const QString &text)
    : UserFailure(u"Attenzione: il valore '"_s + text + u"' non è un numero valido."_s)
{
}

namespace CardSheet {

double totalValue(const QString &cost, const QString &stock)
{
    const double pieces = number(stock);
    return number(cost) * pieces;
}

QString costLine(const QString &cost, const QString &stock)
{
    const double total = totalValue(cost, stock);
    return u"Costo unitario (€ "_s + StoredText::trimBlanks(cost) + u") x giacenza ("_s +
           StoredText::trimBlanks(stock) + u" pezzi) = € "_s + NumberText::shortest(total);
}

QString footerLine(const QDateTime &when)
{
    return u"Stampa eseguita in data "_s + DateText::format(when.date()) + u" alle ore "_s +
           when.time().toString(u"HH:mm:ss"_s);
}

std::unique_ptr<TReport> build(const CardSheetData &card, bool withPhoto, const QDateTime &when)
{
    const QString valueLine = costLine(card.costo, card.giacenza);

    auto report = withPhoto ? ReportDesigns::repFoto() : ReportDesigns::repScheda();
    report->Pages(1)->Orientation = poPortrait;
    if (withPhoto)
        report->findPicture(u"imgFoto"_s)->setPicture(card.photo);

    fill(*report, u"txtTitolo"_s, u"SCHEDA PRODOTTO"_s);
    const std::pair<QString, QString> rows[18] = {
        {u"Codice articolo:"_s, card.codice},
        {u"Costo unitario:"_s, card.costo},
        {u"Nome prodotto:"_s, card.nome},
        {u"Giacenza attuale:"_s, card.giacenza},
        {u"Aspetto esteriore del bene:"_s, card.um},
        {u"Categoria merceologica:"_s, card.tipologia},
        {u"Caratteristiche:"_s, card.caratteristiche},
        {u"Collocazione in magazzino:"_s, card.collocazione},
        {u"Ditta fornitrice:"_s, card.ditta},
        {u"Agente:"_s, card.agente},
        {u"Recapito telefonico"_s, card.recapito},
        {u"Documento di acquisto:"_s, card.documento},
        {u"Modalità di pagamento:"_s, card.pagamento},
        {u"Data scadenza:"_s, card.dataSca},
        {u"Note:"_s, card.note},
        {u"Prezzo di vendita:"_s, card.prezzo},
        {u"Valore totale:"_s, valueLine},
        {u"Pagato:"_s, card.pagato ? u"Sì"_s : u"No"_s},
    };
    for (int n = 1; n <= 18; ++n) {
        const QString number = u"%1"_s.arg(n, 2, 10, QChar(u'0'));
        fill(*report, u"titCampo"_s + number, rows[n - 1].first);
        fill(*report, u"txtCampo"_s + number, rows[n - 1].second);
    }
    fill(*report, u"txtCalce"_s, footerLine(when));
    return report;
}

} // namespace CardSheet
