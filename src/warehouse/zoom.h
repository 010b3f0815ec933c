#pragma once

#include <QDialog>

class PhotoFrame;

// The zoom window: the card's photo as large as the screen allows, in a maximised window.
// A click on the picture or on its panel closes it.
class TfrmZoom final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmZoom(QWidget *parent);

    QWidget *panel;
    PhotoFrame *imgFoto;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void imgFotoClick();
    void place();
};
