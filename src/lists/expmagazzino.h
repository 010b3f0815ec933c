#pragma once

#include <QDialog>
#include <QTableView>

class QFrame;
class QLabel;
class ExportGridModel;
class HoverHints;
class PictureButton;

// The grid of the export screen. It can hand an edit still open in a cell to the model,
// so that an export started from a picture (which never takes the focus) sees it.
class ExportGridView final : public QTableView
{
    Q_OBJECT
public:
    explicit ExportGridView(QWidget *parent);
    void commitOpenEditor();
};

// The export screen: the whole warehouse archive in a grid, written on request to
// Magazzino.xls in the program folder.
class TfrmExpMagazzino final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmExpMagazzino(QWidget *parent);
    ~TfrmExpMagazzino() override;

    static QString firstQuestion();
    static QString doneQuestion();
    static QString exportError();
    static QString filePath();

    QFrame *panTop;
    QLabel *imgLogo;
    QLabel *icoHand;
    PictureButton *cmdEsporta;
    PictureButton *cmdGuida;
    PictureButton *cmdEsci;
    ExportGridView *grdRecords;
    QLabel *panInfo;
    ExportGridModel *model;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cmdEsportaClick();
    void cmdGuidaClick();

    HoverHints *m_hints;
    bool m_filled = false;
};
