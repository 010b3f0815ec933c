#pragma once

#include "lists/elencoschede.h"

// The purchases not yet paid: every card whose paid flag is "No".
class TfrmDaSaldare final : public ElencoSchede
{
    Q_OBJECT
public:
    explicit TfrmDaSaldare(QWidget *parent);

protected:
    Elenchi::Righe righe() const override { return Elenchi::daSaldare(); }
    QString titoloStampa() const override;
};
