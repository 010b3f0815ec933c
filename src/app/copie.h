#pragma once

#include "app/backupcopy.h"

#include <QDialog>

class QLabel;
class QListView;
class QPushButton;
class QStringListModel;
class HoverHints;
class PictureButton;

// The backup screen: the copies kept in Copie_di_sicurezza, a copy written now or to a
// place the user chooses (a USB stick, a network folder), and the restore of a copy.
class TfrmCopie final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCopie(QWidget *parent);

    static QString automaticFailure();
    static QString saveFailure();
    static QString invalidCopy();
    static QString noRoom();
    static QString safetyCopyFailure();
    static QString restoreFailure();
    static QString restored();
    // A restore asked for while the shared archive is in use: restores are the folder's.
    static QString restoreFolderOnly();
    static QString restoreQuestion(const BackupCopy::Summary &copy);
    // One line of the list: date and time, cards, price lists, size in MB.
    static QString lineFor(const BackupCopy::Listed &copy);
    // The hub's line about the newest copy of the program folder.
    static QString lastCopyText();

    // The copy of every start, run over the screen that is showing; a copy that cannot be
    // written is reported once, and the program goes on. None with the shared archive.
    static void automaticCopy(QWidget *parent);

    // Reads the copies folder again into the list.
    void refresh();

    QLabel *lblTitolo;
    QLabel *lblCartella;
    QListView *lstCopie;
    QPushButton *btnSalvaCopia;
    QPushButton *btnCopiaIn;
    QPushButton *btnRipristina;
    QPushButton *btnRipristinaDa;
    QPushButton *btnChiudi;
    PictureButton *imgGuida;
    QLabel *panInfo;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void btnSalvaCopiaClick();
    void btnCopiaInClick();
    void btnRipristinaClick();
    void btnRipristinaDaClick();
    void imgGuidaClick();
    void selectionChange();

    // Writes a copy of the data to target over this screen; false after telling the user.
    bool saveTo(const QString &target);
    void restoreFrom(const QString &path);

    QStringListModel *m_model;
    QList<BackupCopy::Listed> m_copies;
    HoverHints *m_hints;
};
