#pragma once

#include "lists/dialogoelenco.h"

class QLabel;
class QLineEdit;
class QPushButton;
class ListaRighe;

// A card list filled when it is shown, under a banner: the low-stock and the unpaid lists.
// A double-click shows the chosen card on the card screen.
class ElencoSchede : public DialogoElenco
{
    Q_OBJECT
public:
    QLabel *imgIntestazione;

protected:
    ElencoSchede(QWidget *parent, const QString &name, const QString &caption,
                 const QString &banner, FormatoRiga formato);

    // The lines of the cards this list selects, in archive order.
    virtual Elenchi::Righe righe(const Elenchi::Avanzamento &avanzamento) const = 0;

    void showEvent(QShowEvent *event) override;
    void consegna(const Elenchi::Scheda &scheda) override;

private:
    void riempi();
};
