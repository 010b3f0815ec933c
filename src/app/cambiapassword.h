#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class FocusHighlight;

// The change-password screen: replaces the stored password after checking the old one.
// Whenever it closes, the login screen comes back; a change never logs the user in.
class TfrmCambiaPassword final : public QWidget
{
    Q_OBJECT
public:
    TfrmCambiaPassword();

    static QString wrongOldPassword();
    static QString notConfirmed();
    static QString notStorable();
    static QString changeFailure();
    static QString changed();

    QLabel *imgLogo;
    QLabel *lblRigo05, *lblRigo06, *lblRigo07;
    QLineEdit *txtPasswordOld, *txtPasswordNew, *txtConferma;
    FocusHighlight *effPasswordOld, *effPasswordNew, *effConferma;
    QPushButton *cmdOK;
    QPushButton *cmdEsci;
    QLabel *lblMemory;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *addField(const QString &name, const QString &accessibleName, QLabel *caption,
                        int top);
    void fieldsChange();
    void cmdOKClick();
    void cmdEsciClick();
    // Empties both new-password fields and puts the focus on the first.
    void restartNewPassword();
};
