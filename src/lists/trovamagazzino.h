#pragma once

#include "lists/ricercamagazzino.h"

// The product search opened by the card screen. A double-click shows the chosen card on
// the card screen, when the card screen opened the search (tag "magazzino").
class TfrmTrovaMagazzino final : public RicercaMagazzino
{
    Q_OBJECT
public:
    explicit TfrmTrovaMagazzino(QWidget *parent);

    static QString tagMagazzino() { return QStringLiteral("magazzino"); }

protected:
    void consegna(const Elenchi::Scheda &scheda) override;
};
