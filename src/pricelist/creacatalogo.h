#pragma once

#include "common/workscreen.h"

class QLabel;
class QLineEdit;
class PictureButton;

// Creates a new, empty price list from a name typed by the user, then returns to the hub.
class TfrmCreaCatalogo final : public WorkScreen
{
    Q_OBJECT
public:
    TfrmCreaCatalogo();

    // The thirteen characters a list name cannot hold.
    static bool isForbidden(QChar c);
    // The warning for a name that cannot name the list's files.
    static QString unusableName();
    // The message when the folder does not take the new list file.
    static QString creationFailed();

    QLabel *imgIntestazione;
    QLabel *icoIstruzioni;
    PictureButton *imgGuida;
    QLabel *lblNomeListino;
    QLineEdit *txtFile;
    PictureButton *btnApplica;
    PictureButton *btnAnnulla;
    QLabel *lblFile;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void btnApplicaClick();
};
