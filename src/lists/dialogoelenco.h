#pragma once

#include "lists/elenchi.h"

#include <QDialog>

class ListaRighe;
class PannelloElenco;
class QLabel;
class QLineEdit;
class QPushButton;

// A card-list screen: a fixed-size modal window centred on the screen, without title-bar
// buttons, closed by its Chiudi button, Esc or the window manager's close. A double-clicked line
// leads back to its card (ApriSchedaDaRiga), which the screen hands to its target.
class DialogoElenco : public QDialog
{
    Q_OBJECT
public:
    // The list of every screen empties when it closes.
    void done(int result) override;

    // The controls of the list panel (find, print, close, the lines).
    QLabel *lblRigo01 = nullptr, *lblRigo02 = nullptr, *lblRigo03 = nullptr;
    QLineEdit *txtTrova = nullptr;
    QPushButton *btnTrova = nullptr, *btnStampa = nullptr, *btnChiudi = nullptr;
    ListaRighe *lstRecords = nullptr;

protected:
    DialogoElenco(QWidget *parent, const QString &name, const QString &caption, QSize size,
                  FormatoRiga formato);

    // Matches the selected line of the list back to its card and hands the card over; the
    // screen then closes. Nothing is handed over when no line is selected or the archive
    // cannot be read.
    void ApriSchedaDaRiga(PannelloElenco *elenco);
    // Receives the card chosen by a double-click.
    virtual void consegna(const Elenchi::Scheda &scheda) = 0;

    void reject() override;

    // The title of the printed list.
    virtual QString titoloStampa() const = 0;
    void stampa(PannelloElenco *elenco);
    // Takes the list panel as this screen's own: its controls, the double-click that opens
    // a card, printing and closing.
    void adottaElenco(PannelloElenco *elenco);

    PannelloElenco *m_elenco = nullptr;

private:
    FormatoRiga m_formato;
};

// The text of the progress window while a list reads the archive.
QString leggendoArchivio();

// Shows a chosen card on the card screen.
void mostraSullaSchedaMagazzino(const Elenchi::Scheda &scheda);
