#pragma once

#include "lists/elencoschede.h"

// The purchases not yet paid: every card whose paid flag is "No".
class TfrmDaSaldare final : public ElencoSchede
{
    Q_OBJECT
public:
    explicit TfrmDaSaldare(QWidget *parent);

protected:
    Elenchi::Righe righe(const Elenchi::Avanzamento &avanzamento) const override
    {
        return Elenchi::daSaldare(avanzamento);
    }
    QString titoloStampa() const override;
};
