#pragma once

#include "common/workscreen.h"

class QLabel;
class PictureButton;

// Creates a new, empty price list from a name typed by the user.
class TfrmCreaCatalogo final : public WorkScreen
{
    Q_OBJECT
public:
    TfrmCreaCatalogo();

    QLabel *imgIntestazione;
    PictureButton *btnEsci;

private:
    void btnEsciClick();
};
