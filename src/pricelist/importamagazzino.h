#pragma once

#include "lists/ricercamagazzino.h"

// The product search opened by a price-list slot's import arrow. A double-click copies
// the chosen card's code, name, appearance, features, sale price and photo into the slot
// named by the tag ("prodotto_A" ... "prodotto_H"); nothing is saved until the page is.
class TfrmImportaMagazzino final : public RicercaMagazzino
{
    Q_OBJECT
public:
    explicit TfrmImportaMagazzino(QWidget *parent);

    // The tag of slot k (A = 0 ... H = 7).
    static QString tagProdotto(int slot);

protected:
    void consegna(const Elenchi::Scheda &scheda) override;
};
