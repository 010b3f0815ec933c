#pragma once

#include "printing/printdialogframe.h"

class QLabel;
class QPushButton;
class QRadioButton;
class TfrmMagazzino;
struct CardSheetData;

// The card sheet screen: the user chooses the sheet with or without the photo and
// confirms; the sheet is made from what the card screen shows at that moment, then
// previewed or printed, and the screen closes.
class CardPrintDialog : public PrintDialogFrame
{
    Q_OBJECT
public:
    QLabel *imgLogo02;
    QRadioButton *optUno, *optDue;
    QLabel *lblMemory; // "con" or "senza"
    QLabel *imgLogo;   // the card's photo for the sheet
    QLabel *imgBianco; // the placeholder when the card's photo cannot be taken
    QPushButton *btnAnnulla, *btnStampa;

protected:
    enum class Output { Preview, Print };
    struct Texts {
        QString name, caption, art, withPhoto, withoutPhoto, confirm;
    };
    CardPrintDialog(TfrmMagazzino *card, Output output, const Texts &texts);

    void showEvent(QShowEvent *event) override;

private:
    void optUnoClick();
    void optDueClick();
    void btnStampaClick();
    // Puts the card screen's photo into imgLogo, or the placeholder when there is none.
    void takePhoto();
    CardSheetData cardData() const;

    TfrmMagazzino *m_card;
    Output m_output;
};
