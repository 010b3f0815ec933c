#pragma once

#include "common/dialogs.h"

#include <QDateTime>
#include <QImage>
#include <QString>

#include <memory>

class TReport;

// What a card sheet prints: the card as the card screen shows it.
struct CardSheetData {
    QString codice, costo, nome, giacenza, um, tipologia, caratteristiche, collocazione, ditta,
        agente, recapito, documento, pagamento, dataSca, note, prezzo;
    bool pagato = false;
    QImage photo;
};

// A stock or cost text that is not a number with the decimal comma; its text names it,
// in Italian, for the user.
class NotANumber final : public UserFailure
{
public:
    explicit NotANumber(const QString &text);
};

namespace CardSheet {

// The stock value: cost times stock, both read with the decimal comma (stock first).
// Throws NotANumber naming the first text that is not a number.
double totalValue(const QString &cost, const QString &stock);

// "Costo unitario (€ cost) x giacenza (stock pezzi) = € total", the total in shortest form.
QString costLine(const QString &cost, const QString &stock);

// "Stampa eseguita in data dd/mm/yyyy alle ore hh:mm:ss".
QString footerLine(const QDateTime &when);

// The card sheet filled from the data: repFoto with the photo, repScheda without.
// Throws NotANumber before anything is filled when the stock or the cost is not a number.
std::unique_ptr<TReport> build(const CardSheetData &card, bool withPhoto, const QDateTime &when);

} // namespace CardSheet
