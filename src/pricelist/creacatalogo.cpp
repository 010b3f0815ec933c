#include "pricelist/creacatalogo.h"
#include "pricelist/catalogheader.h"

#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/guida.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/storedtext.h"
#include "pricelist/elencolistini.h"
#include "store/store.h"

#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QShowEvent>
#include <QValidator>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kPanel(620, 330);
constexpr QSize kButton(170, 40);

// Refuses any input holding a character that a list name cannot hold, typed or pasted, so
// no name can lead out of the program folder.
class NameValidator final : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        for (QChar c : input) {
            if (TfrmCreaCatalogo::isForbidden(c))
                return Invalid;
        }
        return Acceptable;
    }
};

} // namespace

bool TfrmCreaCatalogo::isForbidden(QChar c)
{
    static const QString forbidden = u"\"*/:<>?\\°ÇÑçñ"_s;
    return forbidden.contains(c);
}

QString TfrmCreaCatalogo::unusableName()
{
    return u"Attenzione: il nome del listino prezzi è troppo lungo o contiene caratteri non "
           u"ammessi."_s;
}

QString TfrmCreaCatalogo::creationFailed()
{
    return u"Attenzione: il sistema non permette di creare il listino prezzi.\r\n\r\nAccertarsi "
           u"di possedere i privilegi di scrittura nella cartella di installazione del "
           u"programma."_s;
}

TfrmCreaCatalogo::TfrmCreaCatalogo()
    : WorkScreen(u"TfrmCreaCatalogo"_s, u" Scaffaria - Creazione listino prezzi"_s, kPanel)
{
    useGradientBackground();
    QWidget *p = panel();

    const CatalogHeader header(
        p, u"intestazione_creacatalogo"_s, u"Creazione listino prezzi"_s,
        u"Digitare il nome del nuovo listino prezzi e premere il pulsante "
        u"Applica e chiudi.\nIl nome comparirà nell'elenco dei listini "
        u"esistenti.\nPremere Annulla per uscire senza creare il listino."_s);
    imgIntestazione = header.imgIntestazione;
    imgGuida = header.imgGuida;
    icoIstruzioni = header.icoIstruzioni;

    lblNomeListino = new QLabel(u"Nome del nuovo listino prezzi:"_s, p);
    lblNomeListino->setObjectName(u"lblNomeListino"_s);
    lblNomeListino->setGeometry(14, 152, 592, 20);
    QFont caption(u"Verdana"_s);
    caption.setPointSize(10);
    caption.setBold(true);
    lblNomeListino->setFont(caption);

    // The name field in its gradient frame.
    auto *cornice = new QFrame(p);
    cornice->setObjectName(u"shpCornice"_s);
    cornice->setGeometry(10, 176, 600, 56);
    cornice->setStyleSheet(u"QFrame#shpCornice { border: 1px solid #1F4E8C; border-radius: 6px;"
                           u" background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                           u" stop:0 #3C8DDE, stop:1 #1F4E8C); }"_s);
    txtFile = new QLineEdit(cornice);
    txtFile->setObjectName(u"txtFile"_s);
    txtFile->setGeometry(10, 10, 580, 36);
    txtFile->setMaxLength(250);
    QFont big(u"Verdana"_s);
    big.setPointSize(16);
    big.setBold(true);
    txtFile->setFont(big);
    // Alice blue while waiting, yellow while focused, sky blue border in both.
    txtFile->setStyleSheet(u"QLineEdit { background-color: #F0F8FF; border: 1px solid #87CEEB;"
                           u" padding: 0px 4px; }"
                           u" QLineEdit:focus { background-color: #FFFF00; }"_s);
    txtFile->setValidator(new NameValidator(txtFile));
    lblNomeListino->setBuddy(txtFile);
    txtFile->setAccessibleName(u"Nome del nuovo listino prezzi"_s);

    btnApplica = new PictureButton(p, u"btnApplica"_s, u"listino_applica"_s, kButton,
                                   u"Applica e chiudi"_s);
    btnAnnulla = new PictureButton(p, u"btnAnnulla"_s, u"listino_annulla"_s, kButton, u"Annulla"_s);
    btnApplica->move(120, 260);
    btnAnnulla->move(330, 260);

    lblFile = new QLabel(p);
    lblFile->setObjectName(u"lblFile"_s);
    lblFile->hide();

    connect(btnApplica, &QAbstractButton::clicked, this, &TfrmCreaCatalogo::btnApplicaClick);
    connect(btnAnnulla, &QAbstractButton::clicked, this, &QWidget::close);
    btnAnnulla->setKey(QKeySequence(Qt::Key_Escape));
    // Enter in the name field creates the list, as Applica e chiudi does; so does the
    // keypad's Enter.
    btnApplica->setKey(QKeySequence(Qt::Key_Return));
    auto *keypadEnter = new QShortcut(QKeySequence(Qt::Key_Enter), this);
    connect(keypadEnter, &QShortcut::activated, btnApplica, &QAbstractButton::animateClick);
}

void TfrmCreaCatalogo::showEvent(QShowEvent *event)
{
    WorkScreen::showEvent(event);
    if (!event->spontaneous()) {
        txtFile->clear();
        txtFile->setFocus(Qt::OtherFocusReason);
    }
}

void TfrmCreaCatalogo::btnApplicaClick()
{
    lblFile->clear();
    const QString name = StoredText::trimBlanks(txtFile->text());
    if (name.isEmpty()) {
        Dialogs::warning(this, u"Attenzione: per creare l'archivio è necessario indicare il nome "
                               u"del nuovo listino prezzi."_s);
        txtFile->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!ElencoListini::isUsableName(name)) {
        Dialogs::warning(this, unusableName());
        txtFile->setFocus(Qt::OtherFocusReason);
        return;
    }
    lblFile->setText(ProgramFolder::file(name + u".lis"_s));

    switch (Store::current().priceLists().create(name + u".lis"_s, nullptr)) {
    case Store::PriceLists::Creation::Exists:
        Dialogs::warning(this,
                         u"Attenzione: il nome del listino prezzi indicato è già stato utilizzato "
                         u"in precedenza.\r\n\r\nInserire un nome diverso oppure, se si desidera "
                         u"aprire un listino prezzi già creato, premere il pulsante Apri listino "
                         u"esistente."_s);
        return;
    case Store::PriceLists::Creation::Failed:
        // Reported in the plain box of failures the program did not foresee, in words of
        // its own rather than the system's; the screen keeps the name.
        Dialogs::plain(this, creationFailed());
        return;
    case Store::PriceLists::Creation::Created:
        break;
    }
    Dialogs::information(this, u"Il file di archivio relativo al nuovo listino prezzi è stato "
                               u"creato con successo.\r\n\r\nE' ora possibile visualizzarlo "
                               u"nell'elenco dei listini esistenti."_s);
    close();
}
