#pragma once

#include "common/workscreen.h"

class QLabel;
class PictureButton;

// Lists the price lists in the program folder, to open or delete one.
class TfrmApriCatalogo final : public WorkScreen
{
    Q_OBJECT
public:
    TfrmApriCatalogo();

    QLabel *imgIntestazione;
    PictureButton *btnEsci;

private:
    void btnEsciClick();
};
