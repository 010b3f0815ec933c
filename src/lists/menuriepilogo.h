#pragma once

#include "common/workscreen.h"

class QLabel;
class QLineEdit;
class QPushButton;
class PictureButton;

// The inventory menu: values the goods in stock, for the whole archive or for the
// categories that contain the text typed.
class TfrmMenuRiepilogo final : public WorkScreen
{
    Q_OBJECT
public:
    TfrmMenuRiepilogo();

    QLabel *imgIntestazione, *lblApri, *lblInformazioni, *lblAttendere;
    QLineEdit *txtTipologia;
    QPushButton *btnVisualizza;
    PictureButton *imgEsci, *imgGuida;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void btnVisualizzaMouseDown();
    void btnVisualizzaClick();
    void imgEsciClick();
    void imgGuidaClick();
};
