#pragma once

#include "printing/printdialogframe.h"

#include <functional>

class QLabel;
class QPushButton;
struct PriceSheetData;

// The price-list sheet screen: on confirmation it reads the page as the page screen
// shows it at that moment, fills the sheet, previews or prints it and closes.
class PricePrintDialog : public PrintDialogFrame
{
    Q_OBJECT
public:
    using Source = std::function<PriceSheetData()>;

    QPushButton *btnAnnulla, *btnStampa;

protected:
    enum class Output { Preview, Print };
    PricePrintDialog(QWidget *pageScreen, Source source, Output output, const QString &name,
                     const QString &caption, const QString &confirm);

    // A decoration picture of the screen's artwork.
    QLabel *addPicture(const QString &name, const QString &art, QRect box,
                       const QString &accessibleName);

private:
    void btnStampaClick();

    Source m_source;
    Output m_output;
};
