#pragma once

#include "printing/cardprintdialog.h"

// Prints the card on the card screen as an A4 sheet.
class TfrmStampaMag final : public CardPrintDialog
{
    Q_OBJECT
public:
    TfrmStampaMag(QWidget *parent, const QImage &photo, Source source);
};
