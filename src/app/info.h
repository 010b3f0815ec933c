#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class LinkButton;
class PictureButton;

// The information window: what the program is, the folder it keeps its files in, the
// archive in use, and a link that writes to support.
class TfrmInfo final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget *parent);

    // The mail the link opens: the support address with the subject and the opening line.
    static QString mailTarget();

    QLabel *imgLogo;
    QLabel *lblCartella; // the program folder in use
    QLabel *lblArchivio; // the store in use: the folder's archive or the shared one
    PictureButton *imgEmail;
    LinkButton *lnkWeb;
    QPushButton *btnChiudi;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void lnkWebClick();
};
