#pragma once

#include "printing/cardprintdialog.h"

// Previews the card on the card screen as an A4 sheet.
class TfrmAnteprimaMag final : public CardPrintDialog
{
    Q_OBJECT
public:
    explicit TfrmAnteprimaMag(TfrmMagazzino *card);
};
