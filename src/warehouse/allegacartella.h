#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class PictureButton;

// The attachments dialog: up to three documents for the card on the card screen, each a
// file name in Documenti_Allegati and a description. Choosing a file copies it into the
// folder at once; the six texts go back to the card screen only with "Applica e chiudi",
// and reach the archive with the card's next save.
class TfrmAllegaCartella final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAllegaCartella(QWidget *parent);

    static QString folderName() { return QStringLiteral("Documenti_Allegati"); }
    static QString overwriteQuestion();
    static QString copyFailed();
    static QString refusedName();
    static QString invalidStoredName();
    // True when the name is a bare file name, one that can only mean a file inside
    // Documenti_Allegati: not empty, no path separator of any system, not "." or "..".
    // An archive written elsewhere can hold any text in the name field.
    static bool insideFolder(const QString &name);

    QLabel *lblCampo01, *lblCampo02, *lblCampo03, *lblCampo04, *lblCampo05, *lblCampo06;
    QLineEdit *txtFile01, *txtFile02, *txtFile03;
    QLineEdit *txtDesc01, *txtDesc02, *txtDesc03;
    PictureButton *imgCancella01, *imgCancella02, *imgCancella03;
    QPushButton *btnSfoglia01, *btnSfoglia02, *btnSfoglia03;
    QPushButton *btnApri01, *btnApri02, *btnApri03;
    QPushButton *btnAnnulla, *btnApplica;
    QLabel *lblMemory;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildGroup(int index, QLabel *&nameCaption, QLineEdit *&name, PictureButton *&remove,
                    QPushButton *&browse, QPushButton *&open, QLabel *&descCaption,
                    QLineEdit *&desc);
    void txtFileChange(QLineEdit *name, QPushButton *open);
    void btnSfogliaClick(QLineEdit *name);
    void btnApriClick(QLineEdit *name);
    void btnApplicaClick();
};
