#pragma once

#include "printing/printdialogframe.h"

#include <QImage>

#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
struct CardSheetData;

// The card sheet screen: the user chooses the sheet with or without the photo and
// confirms; the sheet is made from the data its source gives at that moment, then
// previewed or printed, and the screen closes.
class CardPrintDialog : public PrintDialogFrame
{
    Q_OBJECT
public:
    // The card's data, asked for when the user confirms; its photo is left out, the sheet
    // prints the one the screen was opened with.
    using Source = std::function<CardSheetData()>;

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
    CardPrintDialog(QWidget *parent, const QImage &photo, Source source, Output output,
                    const Texts &texts);

    void showEvent(QShowEvent *event) override;

private:
    void optUnoClick();
    void optDueClick();
    void btnStampaClick();
    // Puts the card's photo into imgLogo, or the placeholder when there is none.
    void takePhoto();

    QImage m_photo;
    Source m_source;
    Output m_output;
};
