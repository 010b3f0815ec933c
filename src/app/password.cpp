#include "app/password.h"

#include "app/cambiapassword.h"
#include "app/copie.h"
#include "app/crypt.h"
#include "app/passwordstore.h"
#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/focushighlight.h"
#include "common/loginlook.h"
#include "common/screens.h"
#include "common/storedtext.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

TfrmPassword::TfrmPassword() : QWidget(nullptr)
{
    setObjectName(u"TfrmPassword"_s);
    LoginLook::setUpWindow(this, u" Scaffaria - Accesso"_s, 388, 405);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(u"imgLogo"_s);
    imgLogo->setPixmap(Artwork::pixmap(u"logo_password"_s, QSize(368, 110)));
    imgLogo->setGeometry(10, 15, 368, 110);

    lblRigo05 = LoginLook::label(this, u"lblRigo05"_s, u"Immetti la password e premi OK."_s);
    lblRigo05->setGeometry(20, 146, 348, 24);

    txtPassword = LoginLook::passwordField(this, u"txtPassword"_s, u"Password"_s);
    txtPassword->setAccessibleDescription(lblRigo05->text());
    txtPassword->setGeometry(20, 180, 348, 38);
    effPassword = FocusHighlight::attach(txtPassword, u"effPassword"_s);

    cmdOK = LoginLook::button(this, u"cmdOK"_s, u"OK"_s);
    cmdOK->setGeometry(20, 255, 164, 38);
    cmdOK->setEnabled(false);
    cmdEsci = LoginLook::button(this, u"cmdEsci"_s, u"Esci"_s);
    cmdEsci->setGeometry(204, 255, 164, 38);
    btnCambiaPassword = LoginLook::button(this, u"btnCambiaPassword"_s, u"Cambia password"_s);
    btnCambiaPassword->setGeometry(20, 335, 348, 38);

    lblMemory = LoginLook::memory(this);

    connect(txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::txtPasswordChange);
    connect(txtPassword, &QLineEdit::returnPressed, this, &TfrmPassword::txtPasswordReturn);
    txtPassword->installEventFilter(this);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmPassword::cmdEsciClick);
    connect(btnCambiaPassword, &QPushButton::clicked, this, &TfrmPassword::btnCambiaPasswordClick);
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdEsci);
    setTabOrder(cmdEsci, btnCambiaPassword);
}

QString TfrmPassword::wrongPassword() { return u"Attenzione: password errata."_s; }

QString TfrmPassword::readFailure()
{
    return u"Attenzione: si è verificato un errore durante la procedura di lettura della "
           u"password. Si consiglia di reinstallare il software."_s;
}

void TfrmPassword::returnFromChange()
{
    txtPassword->clear();
    lblMemory->clear();
    show();
    activateWindow();
    txtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrmPassword::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    LoginLook::centre(this);
    txtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrmPassword::closeEvent(QCloseEvent *event)
{
    // Leaving the login screen ends the program.
    event->accept();
    qApp->quit();
}

bool TfrmPassword::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtPassword && event->type() == QEvent::KeyRelease)
        txtPasswordChange();
    return QWidget::eventFilter(watched, event);
}

void TfrmPassword::txtPasswordChange()
{
    cmdOK->setEnabled(!StoredText::trimBlanks(txtPassword->text()).isEmpty());
}

void TfrmPassword::txtPasswordReturn()
{
    if (!StoredText::trimBlanks(txtPassword->text()).isEmpty())
        cmdOKClick();
}

void TfrmPassword::cmdOKClick()
{
    // The store is read afresh for every check.
    const std::optional<QString> stored = PasswordStore::read();
    if (!stored) {
        Dialogs::plain(this, readFailure());
        return;
    }
    lblMemory->setText(*stored);
    const std::optional<QString> deciphered = Crypt::Decrypt(lblMemory->text());
    if (!deciphered) {
        Dialogs::plain(this, readFailure());
        return;
    }
    lblMemory->setText(*deciphered);
    const QString storedPassword = StoredText::trimBlanks(lblMemory->text());
    const QString typed = Crypt::Normalise(txtPassword->text());

    // An empty store matches nothing, since a typed password is never empty.
    if (storedPassword != typed) {
        Dialogs::plain(this, wrongPassword());
        txtPassword->clear();
        txtPassword->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Every start keeps a copy of the data, before the hub shows.
    TfrmCopie::automaticCopy(this);
    if (QWidget *hub = screens().hub)
        hub->showMaximized();
    hide();
}

void TfrmPassword::cmdEsciClick() { close(); }

void TfrmPassword::btnCambiaPasswordClick()
{
    if (auto *change = screens().cambiaPassword) {
        change->show();
        hide();
    }
}
