#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class FocusHighlight;

// The login screen, the program's main window: only the right password opens the hub.
class TfrmPassword final : public QWidget
{
    Q_OBJECT
public:
    TfrmPassword();

    // Back from the change-password screen: empties the password and the working
    // variable, shows the screen again and puts the focus on the password.
    void returnFromChange();

    static QString wrongPassword();
    static QString readFailure();

    QLabel *imgLogo;
    QLabel *lblRigo05;
    QLineEdit *txtPassword;
    FocusHighlight *effPassword;
    QPushButton *cmdOK;
    QPushButton *cmdEsci;
    QPushButton *btnCambiaPassword;
    QLabel *lblMemory;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void txtPasswordChange();
    void txtPasswordReturn();
    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();
};
