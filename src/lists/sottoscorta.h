#pragma once

#include "lists/elencoschede.h"

// The articles running out: every card whose stock is at or below its threshold.
class TfrmSottoscorta final : public ElencoSchede
{
    Q_OBJECT
public:
    explicit TfrmSottoscorta(QWidget *parent);

protected:
    Elenchi::Righe righe(const Elenchi::Avanzamento &avanzamento) const override
    {
        return Elenchi::sottoscorta(avanzamento);
    }
    QString titoloStampa() const override;
};
