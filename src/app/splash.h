#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class LinkButton;
class PictureButton;

// The credits window: a large picture of the program and a link to its web site.
class TfrmSplash final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *parent);

    QLabel *imgLogo;
    PictureButton *imgWeb;
    LinkButton *lnkWeb;
    QPushButton *btnChiudi;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void lnkWebClick();
};
