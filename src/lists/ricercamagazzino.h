#pragma once

#include "lists/dialogoelenco.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class ListaRighe;

// Finds warehouse cards by words typed into up to ten of their fields. The criteria panel
// shows first; a search replaces it for good with the results panel, whose lines can be
// searched again, printed or double-clicked. The product search and the import into a
// price-list slot are this screen with their own caption and double-click.
class RicercaMagazzino : public DialogoElenco
{
    Q_OBJECT
public:
    static QString titolo() { return QStringLiteral("Riepilogo prodotti in magazzino"); }

    // The caller's tag, written by the opener before showing the screen.
    QLabel *lblMemory;

    // Criteria panel.
    QWidget *panAvvio;
    QLabel *imgRicerca, *lblRigo04, *lblRigo05, *lblRigo06, *lblAttendere;
    QLineEdit *txtCodice, *txtCosto, *txtNome, *txtTipologia, *txtCaratteristiche, *txtCollocazione,
        *txtDitta, *txtAgente, *txtDocumento, *txtNote;
    QPushButton *btnAnnulla, *btnCerca;

    // Results panel, holding the list panel.
    QWidget *panContainer;
    QLabel *lblTrovate;

    void done(int result) override;

protected:
    RicercaMagazzino(QWidget *parent, const QString &name, const QString &caption);

    void showEvent(QShowEvent *event) override;
    QString titoloStampa() const override { return titolo(); }

private:
    void buildCriteria();
    void buildResults();
    void btnCercaMouseDown();
    void btnCercaClick();
};
