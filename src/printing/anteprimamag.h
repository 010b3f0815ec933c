#pragma once

#include "printing/cardprintdialog.h"

// Previews the card on the card screen as an A4 sheet.
class TfrmAnteprimaMag final : public CardPrintDialog
{
    Q_OBJECT
public:
    TfrmAnteprimaMag(QWidget *parent, const QImage &photo, Source source);
};
