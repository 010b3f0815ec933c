#pragma once

#include <QWidget>

class QLabel;
class PictureButton;

// The start hub: four tiles open the work environments; corner icons open information,
// help and credits, or end the program.
class TfrmAvvio final : public QWidget
{
    Q_OBJECT
public:
    TfrmAvvio();

    static QString siteAddress();

    QWidget *panel;
    QLabel *imgTitolo;
    QLabel *icoSottotitolo;
    PictureButton *imgApp01, *imgApp02, *imgApp03, *imgApp04;
    PictureButton *btnApp01, *btnApp02, *btnApp03, *btnApp04;
    PictureButton *imgInfo, *imgGuida, *imgCopyright, *imgEsci;
    PictureButton *icoSito;
    PictureButton *imgCopie;
    QLabel *lblUltimaCopia;
    PictureButton *imgArchivio; // the choice of the shared archive
    QLabel *lblArchivio;        // the store in use

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    PictureButton *corner(const QString &name, const QString &art, const QString &caption,
                          const QString &hint, QPoint at);
    void addTile(int index, QPoint at, const QString &caption, const QString &hint,
                 void (TfrmAvvio::*click)(), PictureButton *&picture, PictureButton *&button);

    // Shows a work screen maximised, then hides the hub.
    void openWorkScreen(QWidget *screen);
    void imgApp01Click();
    void imgApp02Click();
    void imgApp03Click();
    void imgApp04Click();
    void icoSitoClick();
    void imgInfoClick();
    void imgGuidaClick();
    void imgCopyrightClick();
    void imgEsciClick();
    void imgCopieClick();
    void imgArchivioClick();
    // The lines under the subtitle: the newest backup copy and the store in use.
    void refreshLines();
};
