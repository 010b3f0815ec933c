#pragma once

#include "common/workscreen.h"

class QLabel;
class PictureButton;

// The inventory menu: values the goods in stock, for the whole archive or one category.
class TfrmMenuRiepilogo final : public WorkScreen
{
    Q_OBJECT
public:
    TfrmMenuRiepilogo();

    QLabel *imgIntestazione;
    PictureButton *btnEsci;

private:
    void btnEsciClick();
};
