#pragma once

#include "common/helptexts.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class LinkButton;
class PictureButton;

// The help window: the page of one screen, read-only, and the way to the full user guide.
class TfrmGuida final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmGuida(QWidget *parent);

    // Opens the help window over a screen with that screen's page, modally.
    static void showTopic(QWidget *parent, HelpTexts::Topic topic);
    // The user guide: the one in the program folder, else the installed one.
    static QString pdfPath();

    void setTopic(HelpTexts::Topic topic);

    QLabel *imgLogo;
    QLabel *lblTitolo;
    QPlainTextEdit *txtGuida;
    PictureButton *imgPDF;
    LinkButton *lnkWeb;
    QPushButton *btnChiudi;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void lnkWebClick();
};
