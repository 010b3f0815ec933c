#pragma once

#include "common/workscreen.h"

class QLabel;
class PictureButton;

// The pages of one price list, browsed, filled and saved one at a time.
class TfrmListinoPrezzi final : public WorkScreen
{
    Q_OBJECT
public:
    TfrmListinoPrezzi();

    QLabel *imgIntestazione;
    PictureButton *btnEsci;

private:
    void btnEsciClick();
};
