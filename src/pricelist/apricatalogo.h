#pragma once

#include "common/workscreen.h"

class QLabel;
class QListView;
class QStringListModel;
class PictureButton;

// Lists the price-list files of the program folder, to open one in the page screen or to
// delete it. The tag in lblMemory decides where closing leads: "avvio" back to the hub,
// "listino" to the page screen with the selected list.
class TfrmApriCatalogo final : public WorkScreen
{
    Q_OBJECT
public:
    TfrmApriCatalogo();

    // Rebuilds the list from the folder and sets the count line.
    void RiempiElenco();
    // Shows the stored lists and their count.
    void showLists();
    // The selected item's text, or an empty text when nothing is selected.
    QString selectedItem() const;
    // The count line for a number of lists.
    static QString countLine(qsizetype lists);

    QLabel *imgIntestazione;
    QLabel *icoIstruzioni;
    PictureButton *imgGuida;
    PictureButton *btnElimina;
    QListView *lstFiles;
    QLabel *lblCreati;
    PictureButton *btnApri;
    PictureButton *btnAnnulla;
    QLabel *lblFile;
    QLabel *lblMemory;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void btnApriClick();
    void btnEliminaClick();

    QStringListModel *m_files;
};
