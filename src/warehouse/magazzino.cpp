#include "warehouse/magazzino.h"

#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/enterchain.h"
#include "common/fieldtext.h"
#include "common/focushighlight.h"
#include "common/guida.h"
#include "common/numbertext.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/picturefile.h"
#include "common/recordsteps.h"
#include "common/statusline.h"
#include "common/storedtext.h"
#include "store/store.h"
#include "warehouse/allegacartella.h"
#include "warehouse/calendario.h"
#include "warehouse/giacenza.h"
#include "warehouse/photodialogs.h"
#include "warehouse/webcam.h"
#include "warehouse/zoom.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kPanel(1100, 620);

TfrmMagazzino::Openers &openers()
{
    static TfrmMagazzino::Openers installed;
    return installed;
}

void open(const std::function<void(TfrmMagazzino &)> &opener, TfrmMagazzino &screen)
{
    if (opener)
        opener(screen);
}

} // namespace

void TfrmMagazzino::setOpeners(Openers installed) { openers() = std::move(installed); }

QString TfrmMagazzino::accessError()
{
    return u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di "
           u"possedere i privilegi di scrittura nella cartella di installazione del programma."_s;
}

QString TfrmMagazzino::tooLargeAmount() { return NumberText::tooLargeAmount(); }

QString TfrmMagazzino::tooLargeQuantity() { return NumberText::tooLargeQuantity(); }

QString TfrmMagazzino::emptyArchiveMessage()
{
    return u"L'archivio non contiene nessuna scheda."_s;
}

TfrmMagazzino::TfrmMagazzino()
    : WorkScreen(u"TfrmMagazzino"_s, u" Scaffaria - Magazzino Prodotti"_s, kPanel)
{
    panInfo = addStatusLine(u"Pronto per archiviare una nuova scheda..."_s);
    m_hints = new HoverHints(panInfo);
    buildLayout();
    buildCommands();
    wireHints();
    pinToRight({cmdPrimo, cmdIndietro, lblPosizione, cmdAvanti, cmdUltimo, btnNuovo, btnDuplica,
                btnSalva, btnTrova, btnAllegati, btnAnteprima, btnStampa, btnScaduti,
                btnSottoscorta, btnEsporta, btnGuida, btnEsci});
}

QImage TfrmMagazzino::placeholder() const { return imgBianco->pixmap().toImage(); }

void TfrmMagazzino::MostraScheda(const TSchedaProdotto &card, qint64 position)
{
    // The card's version is the archive's when it still holds the card the list read; one
    // saved elsewhere since then takes a version no card has, so that a save asks before
    // overwriting it. No version at all when the archive cannot say.
    std::optional<qint64> version;
    std::optional<QByteArray> photo;
    const std::unique_ptr<Store::Cards> archive = Store::current().cards();
    if (archive->open()) {
        const std::optional<Store::Read<TSchedaProdotto>> read = archive->readAt(position);
        photo = archive->photo(position);
        if (archive->close() && read)
            version = read->record.encode() == card.encode() ? read->version : Store::kNoVersion;
    }
    showRead(card, position, version, photo);
}

void TfrmMagazzino::showRead(const TSchedaProdotto &card, qint64 position,
                             std::optional<qint64> version, const std::optional<QByteArray> &photo)
{
    const auto &layout = TSchedaProdotto::fields();
    for (const CardField &f : cardFields())
        FieldText::fill(this->*f.edit, StoredText::trimBlanks(card.*layout[f.field].member));

    // A paid flag that is neither value leaves the box as the previous card left it.
    if (card.Pagato == TSchedaProdotto::paidYes())
        chkPagato->setChecked(true);
    else if (card.Pagato == TSchedaProdotto::paidNo())
        chkPagato->setChecked(false);

    for (const AttachmentField &a : attachmentFields())
        (this->*a.label)->setText(card.*layout[a.field].member);
    lblPosizione->setText(QString::number(position));
    m_version = version;

    // Decoded like any picture the user chooses, so that a large photo loaded from disk and
    // saved with the card can be shown again.
    const QImage picture = photo ? PictureFile::fromBytes(*photo) : QImage();
    imgFoto->setPicture(picture.isNull() ? placeholder() : picture);
}

void TfrmMagazzino::PulisciScheda()
{
    // A new card starts with zero amounts and quantities and every other field empty.
    for (const CardField &f : cardFields()) {
        QLineEdit *field = this->*f.edit;
        switch (f.entry) {
        case Entry::Amount:
            field->setText(u"0,00"_s);
            break;
        case Entry::Quantity:
            field->setText(u"0"_s);
            break;
        case Entry::Text:
        case Entry::Date:
            field->clear();
            break;
        }
    }
    chkPagato->setChecked(false);
    clearAttachments();
    imgFoto->setPicture(placeholder());
    lblPosizione->clear();
    m_version.reset();
    txtCodice->setFocus(Qt::OtherFocusReason);
}

void TfrmMagazzino::clearAttachments()
{
    for (const AttachmentField &a : attachmentFields())
        (this->*a.label)->clear();
}

TSchedaProdotto TfrmMagazzino::cardFromScreen() const
{
    const auto &layout = TSchedaProdotto::fields();
    TSchedaProdotto card;
    for (const CardField &f : cardFields())
        card.*layout[f.field].member = (this->*f.edit)->text();
    card.Pagato = chkPagato->isChecked() ? TSchedaProdotto::paidYes() : TSchedaProdotto::paidNo();
    for (const AttachmentField &a : attachmentFields())
        card.*layout[a.field].member = (this->*a.label)->text();
    return card;
}

TSchedaProdotto TfrmMagazzino::sheetCard()
{
    if (StoredText::trimBlanks(txtGiacenza->text()).isEmpty())
        txtGiacenza->setText(u"0"_s);
    if (StoredText::trimBlanks(txtCosto->text()).isEmpty())
        txtCosto->setText(u"0,00"_s);
    return cardFromScreen();
}

void TfrmMagazzino::showEvent(QShowEvent *event)
{
    WorkScreen::showEvent(event);
    // Each time the hub opens the screen it starts on a new card.
    if (!event->spontaneous())
        PulisciScheda();
}

void TfrmMagazzino::showCard(Store::Cards &archive, qint64 position)
{
    std::optional<Store::Read<TSchedaProdotto>> card = archive.readAt(position);
    const std::optional<QByteArray> photo = card ? archive.photo(position) : std::nullopt;
    if (!archive.close() || !card) {
        Dialogs::error(this, Store::failureText(accessError()));
        return;
    }
    showRead(card->record, position, card->version, photo);
}

void TfrmMagazzino::cmdPrimoClick() { navigate(Navigation::Step::First); }
void TfrmMagazzino::cmdIndietroClick() { navigate(Navigation::Step::Previous); }
void TfrmMagazzino::cmdAvantiClick() { navigate(Navigation::Step::Next); }
void TfrmMagazzino::cmdUltimoClick() { navigate(Navigation::Step::Last); }

RecordSteps::Texts TfrmMagazzino::stepTexts()
{
    return {accessError(), emptyArchiveMessage(),
            u"Attenzione: la scheda è stata salvata, ma non è stato possibile salvare la "
            u"foto."_s};
}

void TfrmMagazzino::navigate(Navigation::Step step)
{
    const std::unique_ptr<Store::Cards> archive = Store::current().cards();
    RecordSteps::navigate(this, *archive, step, lblPosizione, stepTexts(),
                          [this](Store::Cards &file, qint64 position) {
                              showCard(file, position);
                          });
}

void TfrmMagazzino::btnNuovoClick() { PulisciScheda(); }

void TfrmMagazzino::btnSalvaClick()
{
    for (const CardField &f : cardFields()) {
        QLineEdit *quantity = this->*f.edit;
        if (f.entry == Entry::Quantity && StoredText::trimBlanks(quantity->text()).isEmpty())
            quantity->setText(u"0"_s);
    }
    for (const CardField &f : cardFields()) {
        QLineEdit *field = this->*f.edit;
        if (!f.missing.isEmpty() && StoredText::trimBlanks(field->text()).isEmpty()) {
            Dialogs::warning(this, f.missing.toString());
            field->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    // A number too large for its record field (typed, or pasted as "1e20" and refused when
    // its field was left) would be stored cut short or as an exponent: the save refuses it.
    for (const Entry kind : {Entry::Amount, Entry::Quantity}) {
        for (const CardField &f : cardFields()) {
            QLineEdit *number = this->*f.edit;
            if (f.entry != kind)
                continue;
            const bool fits =
                kind == Entry::Amount
                    ? bool(NumberText::amountRuleWithin(number->text(), number->maxLength()))
                    : bool(NumberText::quantityRuleWithin(number->text(), number->maxLength()));
            if (!fits) {
                Dialogs::warning(this,
                                 kind == Entry::Amount ? tooLargeAmount() : tooLargeQuantity());
                number->setFocus(Qt::OtherFocusReason);
                return;
            }
        }
    }

    // The frame keeps the user's picture when it cannot be stored, so that a later save can
    // still store it. The photo is encoded before the archive is opened.
    const QByteArray photo = PictureFile::encode(imgFoto->picture());
    const std::unique_ptr<Store::Cards> archive = Store::current().cards();
    RecordSteps::save(this, *archive, cardFromScreen(), lblPosizione, m_version, stepTexts(),
                      [&](qint64 position) { return archive->storePhoto(position, photo); });
}

void TfrmMagazzino::btnDuplicaClick()
{
    if (StoredText::trimBlanks(lblPosizione->text()).isEmpty()) {
        Dialogs::warning(this, u"Attenzione: la duplicazione di una scheda può avvenire "
                               u"soltanto dopo che questa è stata inserita in archivio."_s);
        return;
    }
    clearAttachments();
    lblPosizione->clear();
    m_version.reset();
    imgFoto->setPicture(placeholder());
    txtCodice->setFocus(Qt::OtherFocusReason);
    Dialogs::information(this, u"E' ora possibile apportare le proprie modifiche alla scheda "
                               u"corrente.\n\r\n\rAl termine premere Salva per inserire la "
                               u"scheda in archivio."_s);
}

void TfrmMagazzino::amountExit(QLineEdit *field)
{
    // A pasted "1e20" is a number too, but its 21 digits would not fit the record field
    // and the field would silently keep only the first of them.
    const std::optional<QString> money = NumberText::amountRuleWithin(field->text(),
                                                                      field->maxLength());
    if (!money) {
        Dialogs::warning(this, tooLargeAmount());
        return;
    }
    field->setText(*money);
}

void TfrmMagazzino::quantityExit(QLineEdit *field)
{
    const std::optional<QString> whole = NumberText::quantityRuleWithin(field->text(),
                                                                        field->maxLength());
    if (!whole) {
        Dialogs::warning(this, tooLargeQuantity());
        return;
    }
    field->setText(*whole);
}

void TfrmMagazzino::openStockDialog(const QString &operation)
{
    if (StoredText::trimBlanks(txtGiacenza->text()).isEmpty())
        txtGiacenza->setText(u"0"_s);
    TfrmGiacenza dialog(this);
    dialog.lblAggiunta->setText(operation);
    const QString stock = StoredText::trimBlanks(txtGiacenza->text());
    dialog.txtGiacenza->setText(stock);
    dialog.txtTotale->setText(stock);
    dialog.txtAggiunta->setText(u"0"_s);
    dialog.exec();
}

void TfrmMagazzino::btnAggiungiClick() { openStockDialog(TfrmGiacenza::addCaption()); }

void TfrmMagazzino::btnSottraiClick() { openStockDialog(TfrmGiacenza::subtractCaption()); }

void TfrmMagazzino::btnEsportaClick() { open(openers().exporter, *this); }

void TfrmMagazzino::btnGuidaClick() { TfrmGuida::showTopic(this, HelpTexts::Topic::Magazzino); }

void TfrmMagazzino::txtDataScaKeyDown()
{
    TfrmCalendario calendar(this);
    calendar.lblMemory->setText(u"datasca"_s);
    calendar.exec();
}

bool TfrmMagazzino::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtDataSca && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        switch (key) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            txtDataSca->clear();
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;
        // A modifier pressed on its own (Shift before Shift+Tab, say) is no key to act on.
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
            return true;
        default:
            txtDataScaKeyDown();
            return true;
        }
    }
    return WorkScreen::eventFilter(watched, event);
}

void TfrmMagazzino::delDataScaClick() { txtDataSca->clear(); }

// The search and the two lists are dialogs of a higher layer, opened through the installed
// openers; a card chosen in one of them comes back through MostraScheda.
void TfrmMagazzino::btnTrovaClick() { open(openers().search, *this); }

void TfrmMagazzino::btnScadutiClick() { open(openers().unpaid, *this); }

void TfrmMagazzino::btnSottoscortaClick() { open(openers().lowStock, *this); }

void TfrmMagazzino::btnCaricaFotoClick()
{
    const std::optional<QImage> chosen = PhotoDialogs::choosePicture(this);
    if (!chosen)
        return;
    imgFoto->setPicture(*chosen);
}

// A failed write leaves the picture in the frame, so that the card's next save still
// stores the user's photo rather than the placeholder.
void TfrmMagazzino::btnSalvaFotoClick() { PhotoDialogs::savePicture(this, imgFoto->picture()); }

void TfrmMagazzino::btnCancFotoClick() { imgFoto->setPicture(placeholder()); }

void TfrmMagazzino::btnZoomFotoClick()
{
    TfrmZoom zoom(this);
    zoom.imgFoto->setPicture(imgFoto->picture());
    zoom.exec();
}

void TfrmMagazzino::btnAcquisisciFotoClick()
{
    TfrmWebCam webcam(this, FrameSource::create());
    webcam.exec();
}

void TfrmMagazzino::btnAllegatiClick()
{
    TfrmAllegaCartella attachments(this);
    attachments.lblMemory->setText(u"magazzino"_s);
    const std::pair<QLabel *, QLineEdit *> pairs[] = {
        {lblFile01, attachments.txtFile01}, {lblFile02, attachments.txtFile02},
        {lblFile03, attachments.txtFile03}, {lblDesc01, attachments.txtDesc01},
        {lblDesc02, attachments.txtDesc02}, {lblDesc03, attachments.txtDesc03},
    };
    for (const auto &[label, field] : pairs)
        FieldText::fill(field, StoredText::trimBlanks(label->text()));
    attachments.exec();
}

// The card sheet screens, opened through the installed openers.
void TfrmMagazzino::btnAnteprimaClick() { open(openers().preview, *this); }

void TfrmMagazzino::btnStampaClick() { open(openers().print, *this); }
