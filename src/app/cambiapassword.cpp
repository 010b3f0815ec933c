#include "app/cambiapassword.h"

#include "app/crypt.h"
#include "app/password.h"
#include "app/passwordstore.h"
#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/enterchain.h"
#include "common/focushighlight.h"
#include "common/loginlook.h"
#include "common/screens.h"
#include "common/storedtext.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

TfrmCambiaPassword::TfrmCambiaPassword() : QWidget(nullptr)
{
    setObjectName(u"TfrmCambiaPassword"_s);
    LoginLook::setUpWindow(this, u" Cambia password"_s, 411, 418);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(u"imgLogo"_s);
    imgLogo->setPixmap(Artwork::pixmap(u"logo_cambiapassword"_s, QSize(391, 100)));
    imgLogo->setGeometry(10, 10, 391, 100);

    lblRigo05 = LoginLook::label(this, u"lblRigo05"_s, u"Vecchia password:"_s);
    lblRigo06 = LoginLook::label(this, u"lblRigo06"_s, u"Nuova password:"_s);
    lblRigo07 = LoginLook::label(this, u"lblRigo07"_s, u"Conferma nuova password:"_s);
    txtPasswordOld = addField(u"txtPasswordOld"_s, u"Vecchia password"_s, lblRigo05, 122);
    txtPasswordNew = addField(u"txtPasswordNew"_s, u"Nuova password"_s, lblRigo06, 190);
    txtConferma = addField(u"txtConferma"_s, u"Conferma nuova password"_s, lblRigo07, 258);
    effPasswordOld = FocusHighlight::attach(txtPasswordOld, u"effPasswordOld"_s);
    effPasswordNew = FocusHighlight::attach(txtPasswordNew, u"effPasswordNew"_s);
    effConferma = FocusHighlight::attach(txtConferma, u"effConferma"_s);

    cmdOK = LoginLook::button(this, u"cmdOK"_s, u"OK"_s);
    cmdOK->setGeometry(25, 350, 170, 38);
    cmdOK->setEnabled(false);
    cmdEsci = LoginLook::button(this, u"cmdEsci"_s, u"Chiudi"_s);
    cmdEsci->setGeometry(216, 350, 170, 38);

    lblMemory = LoginLook::memory(this);

    // Enter only moves along the fields; it never performs the change.
    auto *chain = new EnterChain(this);
    chain->link(txtPasswordOld, txtPasswordNew);
    chain->link(txtPasswordNew, txtConferma);
    chain->link(txtConferma, txtPasswordOld);

    connect(cmdOK, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdEsciClick);
    setTabOrder(txtPasswordOld, txtPasswordNew);
    setTabOrder(txtPasswordNew, txtConferma);
    setTabOrder(txtConferma, cmdOK);
    setTabOrder(cmdOK, cmdEsci);
}

QLineEdit *TfrmCambiaPassword::addField(const QString &name, const QString &accessibleName,
                                        QLabel *caption, int top)
{
    caption->setGeometry(25, top, 361, 22);
    QLineEdit *edit = LoginLook::passwordField(this, name, accessibleName);
    edit->setGeometry(25, top + 24, 361, 36);
    caption->setBuddy(edit);
    connect(edit, &QLineEdit::textChanged, this, &TfrmCambiaPassword::fieldsChange);
    edit->installEventFilter(this);
    return edit;
}

QString TfrmCambiaPassword::wrongOldPassword() { return u"Attenzione: vecchia password errata."_s; }

QString TfrmCambiaPassword::notConfirmed()
{
    return u"Attenzione: la nuova password non è stata confermata correttamente. E' "
           u"necessario reinserire entrambi i valori."_s;
}

QString TfrmCambiaPassword::notStorable()
{
    return u"Attenzione: la nuova password può contenere al massimo 255 caratteri, scelti tra "
           u"lettere, cifre e simboli dell'alfabeto latino."_s;
}

QString TfrmCambiaPassword::changeFailure()
{
    return u"Attenzione: si è verificato un errore durante la procedura di modifica della "
           u"password. Si consiglia di reinstallare il software."_s;
}

QString TfrmCambiaPassword::changed()
{
    return u"Modifica della password completata con successo."_s;
}

void TfrmCambiaPassword::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    LoginLook::centre(this);
    txtPasswordOld->clear();
    txtPasswordNew->clear();
    txtConferma->clear();
    lblMemory->clear();
    activateWindow();
    txtPasswordOld->setFocus(Qt::OtherFocusReason);
}

void TfrmCambiaPassword::closeEvent(QCloseEvent *event)
{
    event->accept();
    // Hidden first, so that the login screen comes back as the active window.
    hide();
    if (TfrmPassword *login = screens().password)
        login->returnFromChange();
}

bool TfrmCambiaPassword::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease &&
        (watched == txtPasswordOld || watched == txtPasswordNew || watched == txtConferma))
        fieldsChange();
    return QWidget::eventFilter(watched, event);
}

void TfrmCambiaPassword::fieldsChange()
{
    auto filled = [](const QLineEdit *edit) {
        return !StoredText::trimBlanks(edit->text()).isEmpty();
    };
    cmdOK->setEnabled(filled(txtPasswordOld) && filled(txtPasswordNew) && filled(txtConferma));
}

void TfrmCambiaPassword::restartNewPassword()
{
    txtPasswordNew->clear();
    txtConferma->clear();
    txtPasswordNew->setFocus(Qt::OtherFocusReason);
}

void TfrmCambiaPassword::cmdOKClick()
{
    const std::optional<QString> stored = PasswordStore::read();
    if (!stored) {
        Dialogs::plain(this, changeFailure());
        return;
    }
    lblMemory->setText(*stored);
    const std::optional<QString> deciphered = Crypt::Decrypt(lblMemory->text());
    if (!deciphered) {
        Dialogs::plain(this, changeFailure());
        return;
    }
    lblMemory->setText(*deciphered);

    if (StoredText::trimBlanks(lblMemory->text()) != Crypt::Normalise(txtPasswordOld->text())) {
        Dialogs::plain(this, wrongOldPassword());
        txtPasswordOld->clear();
        txtPasswordOld->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The confirmation must match as typed, letter case included.
    if (StoredText::trimBlanks(txtPasswordNew->text()) !=
        StoredText::trimBlanks(txtConferma->text())) {
        Dialogs::plain(this, notConfirmed());
        restartNewPassword();
        return;
    }
    // Every character is stored as one byte, with a one-byte length: refuse what the
    // store cannot hold rather than store a different password.
    const QString newPassword = Crypt::Normalise(txtPasswordNew->text());
    if (!Crypt::Storable(newPassword)) {
        Dialogs::plain(this, notStorable());
        restartNewPassword();
        return;
    }
    lblMemory->setText(newPassword);
    lblMemory->setText(StoredText::trimBlanks(Crypt::Encrypt(lblMemory->text())));
    if (!PasswordStore::write(lblMemory->text())) {
        Dialogs::plain(this, changeFailure());
        return;
    }
    Dialogs::plain(this, changed());
    close();
}

void TfrmCambiaPassword::cmdEsciClick() { close(); }
