#pragma once

#include "printing/priceprintdialog.h"

// Previews the page on the price-list page screen as an A4 sheet.
class TfrmAnteprimaProdotto final : public PricePrintDialog
{
    Q_OBJECT
public:
    TfrmAnteprimaProdotto(QWidget *pageScreen, Source source);
};
