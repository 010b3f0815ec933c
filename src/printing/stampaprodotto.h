#pragma once

#include "printing/priceprintdialog.h"

// Prints the page on the price-list page screen as an A4 sheet.
class TfrmStampaProdotto final : public PricePrintDialog
{
    Q_OBJECT
public:
    TfrmStampaProdotto(QWidget *pageScreen, Source source);
};
