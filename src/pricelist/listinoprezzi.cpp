#include "pricelist/listinoprezzi.h"

#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/enterchain.h"
#include "common/guida.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/picturefile.h"
#include "common/programfolder.h"
#include "common/recordsteps.h"
#include "common/statusline.h"
#include "common/storedtext.h"
#include "pricelist/fotolistino.h"
#include "pricelist/importamagazzino.h"
#include "pricelist/slotlistino.h"
#include "printing/anteprimaprodotto.h"
#include "printing/pricesheet.h"
#include "printing/stampaprodotto.h"
#include "store/store.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kPanel(994, 640);
constexpr QSize kSquare(37, 39);
constexpr QSize kWide(110, 39);

// Top-left corners of the slot frames on the panel: A to D on the left, E to H on the right.
QPoint slotPlace(int slot) { return {slot < 4 ? 24 : 502, 120 + 128 * (slot % 4)}; }

} // namespace

QString TfrmListinoPrezzi::accessError()
{
    return u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di "
           u"possedere i privilegi di scrittura nella cartella di installazione del programma."_s;
}

QString TfrmListinoPrezzi::emptyListMessage()
{
    return u"L'archivio non contiene nessuna scheda."_s;
}

QString TfrmListinoPrezzi::photoDialogTitle()
{
    return u"Selezionare un file di immagine in formato Jpeg o Bitmap."_s;
}

QString TfrmListinoPrezzi::photoDialogFilter()
{
    // Qt separates the patterns of one filter by blanks; a semicolon would become part of
    // the pattern and hide every .jpg file.
    return u"Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)"_s;
}

TfrmListinoPrezzi::TfrmListinoPrezzi()
    : WorkScreen(u"TfrmListinoPrezzi"_s, u" Scaffaria - Gestione Listino Prezzi"_s, kPanel)
{
    panInfo = addStatusLine(u"Pronto per archiviare una nuova scheda..."_s);
    QPalette status = panInfo->palette();
    status.setColor(QPalette::Window, QColor(0x30, 0x30, 0xDD));
    status.setColor(QPalette::WindowText, Qt::white);
    panInfo->setPalette(status);
    QFont tahoma(u"Tahoma"_s);
    tahoma.setPointSize(12);
    panInfo->setFont(tahoma);
    m_hints = new HoverHints(panInfo);

    QWidget *p = panel();

    lblFile = new QLabel(p);
    lblFile->setObjectName(u"lblFile"_s);
    lblFile->hide();
    lblRecord = new QLabel(p);
    lblRecord->setObjectName(u"lblRecord"_s);
    lblRecord->hide();
    imgBianco = new QLabel(p);
    imgBianco->setObjectName(u"imgBianco"_s);
    imgBianco->setPixmap(Artwork::pixmap(u"listino_bianco"_s, SlotListino::PictureSize));
    imgBianco->hide();

    // The black title bar with the list name.
    lblNome = new QLabel(u"Titolo listino prezzi"_s, p);
    lblNome->setObjectName(u"lblNome"_s);
    lblNome->setGeometry(24, 72, 946, 36);
    lblNome->setAlignment(Qt::AlignCenter);
    lblNome->setAutoFillBackground(true);
    QPalette title = lblNome->palette();
    title.setColor(QPalette::Window, Qt::black);
    title.setColor(QPalette::WindowText, Qt::white);
    lblNome->setPalette(title);
    QFont verdana(u"Verdana"_s);
    verdana.setPointSize(12);
    lblNome->setFont(verdana);

    buildCommands();
    buildSlots();
    wireHints();
    PulisciPagina();
}

void TfrmListinoPrezzi::buildCommands()
{
    shpComandi = new QFrame(panel());
    shpComandi->setObjectName(u"shpComandi"_s);
    shpComandi->setGeometry(24, 8, 946, 56);
    shpComandi->setStyleSheet(u"QFrame#shpComandi { border: 1px solid #1F4E8C; border-radius: 6px;"
                              u" background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                              u" stop:0 #FFFFFF, stop:1 #CFE2F7); }"_s);
    QWidget *bar = shpComandi;
    const int y = 8;
    cmdNuovo = new PictureButton(bar, u"cmdNuovo"_s, u"listino_nuovo"_s, kSquare,
                                 u"Nuova pagina"_s);
    cmdSalva = new PictureButton(bar, u"cmdSalva"_s, u"listino_salva"_s, kSquare, u"Salva"_s);
    cmdAnteprima = new PictureButton(bar, u"cmdAnteprima"_s, u"listino_anteprima"_s, kWide,
                                     u"Anteprima"_s);
    cmdStampa = new PictureButton(bar, u"cmdStampa"_s, u"listino_stampa"_s, kWide, u"Stampa"_s);
    cmdPrimo = new PictureButton(bar, u"cmdPrimo"_s, u"listino_primo"_s, kSquare,
                                 u"Prima pagina"_s);
    cmdIndietro = new PictureButton(bar, u"cmdIndietro"_s, u"listino_indietro"_s, kSquare,
                                    u"Pagina precedente"_s);
    lblPosizione = new QLabel(bar);
    lblPosizione->setObjectName(u"lblPosizione"_s);
    lblPosizione->setAccessibleDescription(u"Posizione della pagina"_s);
    lblPosizione->setAlignment(Qt::AlignCenter);
    QFont bold(u"Verdana"_s);
    bold.setPointSize(12);
    bold.setBold(true);
    lblPosizione->setFont(bold);
    cmdAvanti = new PictureButton(bar, u"cmdAvanti"_s, u"listino_avanti"_s, kSquare,
                                  u"Pagina successiva"_s);
    cmdUltimo = new PictureButton(bar, u"cmdUltimo"_s, u"listino_ultimo"_s, kSquare,
                                  u"Ultima pagina"_s);
    cmdGuida = new PictureButton(bar, u"cmdGuida"_s, u"listino_guida"_s, kSquare, u"Guida"_s);
    cmdEsci = new PictureButton(bar, u"cmdEsci"_s, u"listino_esci"_s, kSquare, u"Esci"_s);

    cmdNuovo->move(12, y);
    cmdSalva->move(56, y);
    cmdAnteprima->move(108, y);
    cmdStampa->move(224, y);
    cmdPrimo->move(386, y);
    cmdIndietro->move(428, y);
    lblPosizione->setGeometry(470, y, 80, kSquare.height());
    cmdAvanti->move(555, y);
    cmdUltimo->move(597, y);
    cmdGuida->move(852, y);
    cmdEsci->move(896, y);
    const std::pair<PictureButton *, QKeySequence> keys[] = {
        {cmdSalva, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {cmdNuovo, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {cmdStampa, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {cmdIndietro, QKeySequence(Qt::Key_PageUp)},
        {cmdAvanti, QKeySequence(Qt::Key_PageDown)},
        {cmdPrimo, QKeySequence(Qt::CTRL | Qt::Key_Home)},
        {cmdUltimo, QKeySequence(Qt::CTRL | Qt::Key_End)},
        {cmdGuida, QKeySequence(Qt::Key_F1)},
        {cmdAnteprima, QKeySequence(Qt::Key_F3)},
    };
    for (const auto &[button, key] : keys)
        button->setKey(key);

    connect(cmdNuovo, &QAbstractButton::clicked, this, &TfrmListinoPrezzi::cmdNuovoClick);
    connect(cmdAnteprima, &QAbstractButton::clicked, this, &TfrmListinoPrezzi::cmdAnteprimaClick);
    connect(cmdStampa, &QAbstractButton::clicked, this, &TfrmListinoPrezzi::cmdStampaClick);
    connect(cmdSalva, &QAbstractButton::clicked, this, &TfrmListinoPrezzi::cmdSalvaClick);
    connect(cmdPrimo, &QAbstractButton::clicked, this, &TfrmListinoPrezzi::cmdPrimoClick);
    connect(cmdIndietro, &QAbstractButton::clicked, this, &TfrmListinoPrezzi::cmdIndietroClick);
    connect(cmdAvanti, &QAbstractButton::clicked, this, &TfrmListinoPrezzi::cmdAvantiClick);
    connect(cmdUltimo, &QAbstractButton::clicked, this, &TfrmListinoPrezzi::cmdUltimoClick);
    connect(cmdEsci, &QAbstractButton::clicked, this, &QWidget::close);
    connect(cmdGuida, &QAbstractButton::clicked, this,
            [this] { TfrmGuida::showTopic(this, HelpTexts::Topic::Listino); });
}

void TfrmListinoPrezzi::buildSlots()
{
    for (int k = 0; k < TPaginaListino::SlotCount; ++k) {
        auto *slot = new SlotListino(panel(), k);
        slot->move(slotPlace(k));
        m_slots[static_cast<std::size_t>(k)] = slot;
        connect(slot->imgFoto, &PhotoFrame::clicked, this, [this, k] { imgFotoClick(k); });
        connect(slot->impProdotto, &QAbstractButton::clicked, this,
                [this, k] { impProdottoClick(k); });
    }

    // Enter and Tab run through each slot's fields, then on to the next slot's name; from
    // slot H's price back to slot A's name.
    auto *chain = new EnterChain(this);
    QList<QLineEdit *> order;
    for (SlotListino *slot : m_slots)
        order += slot->fieldsInOrder();
    for (qsizetype i = 0; i < order.size(); ++i) {
        QLineEdit *next = order[(i + 1) % order.size()];
        chain->link(order[i], next);
        if (i + 1 < order.size())
            setTabOrder(order[i], next);
    }
}

void TfrmListinoPrezzi::wireHints()
{
    const std::pair<QWidget *, QString> hints[] = {
        {cmdNuovo, u"Prepara la schermata per l'inserimento di una nuova scheda."_s},
        {cmdSalva, u"Salva la scheda corrente."_s},
        {cmdAnteprima, u"Visualizza l'anteprima di stampa."_s},
        {cmdStampa, u"Stampa la scheda corrente."_s},
        {cmdPrimo, u"Visualizza la prima scheda in archivio."_s},
        {cmdIndietro, u"Visualizza la scheda precedente in archivio."_s},
        {cmdAvanti, u"Visualizza la scheda successiva in archivio."_s},
        {cmdUltimo, u"Visualizza l'ultima scheda in archivio."_s},
        {cmdGuida, u"Visualizza la pagina della guida sensibile al contesto."_s},
        {cmdEsci, u"Esci da questa schermata di lavoro."_s},
    };
    for (const auto &[control, hint] : hints)
        m_hints->add(control, hint);
    for (SlotListino *slot : m_slots) {
        m_hints->add(slot->imgFoto, u"Carica una foto esistente."_s);
        m_hints->add(slot->impProdotto, u"Importa l'articolo dal magazzino."_s);
        m_hints->blank(slot);
    }
    for (QWidget *area : {static_cast<QWidget *>(this), panel(), static_cast<QWidget *>(shpComandi),
                          static_cast<QWidget *>(lblNome), static_cast<QWidget *>(lblPosizione)})
        m_hints->blank(area);
}

// The path exactly as the open screen wrote it: a list file's name may begin or end with
// blanks.
QString TfrmListinoPrezzi::listPath() const { return lblFile->text(); }

QString TfrmListinoPrezzi::listFileName() const
{
    return QDir(ProgramFolder::path()).relativeFilePath(listPath());
}

QString TfrmListinoPrezzi::listName() const { return StoredText::trimBlanks(lblNome->text()); }

QImage TfrmListinoPrezzi::placeholder() const { return imgBianco->pixmap().toImage(); }

void TfrmListinoPrezzi::PulisciPagina()
{
    const QImage blank = placeholder();
    for (SlotListino *slot : m_slots)
        slot->clear(blank);
    lblPosizione->clear();
    m_version.reset();
    m_slots[0]->txtNome->setFocus(Qt::OtherFocusReason);
}

void TfrmListinoPrezzi::MostraPagina(const TPaginaListino &page, qint64 position)
{
    showRead(page, position, std::nullopt);
}

void TfrmListinoPrezzi::showRead(const TPaginaListino &page, qint64 position,
                                 std::optional<qint64> version)
{
    for (int k = 0; k < TPaginaListino::SlotCount; ++k)
        m_slots[static_cast<std::size_t>(k)]->showVoce(page.Voci[static_cast<std::size_t>(k)]);
    lblPosizione->setText(QString::number(position));
    m_version = version;
    const QImage blank = placeholder();
    Store::PriceLists &lists = Store::current().priceLists();
    for (SlotListino *slot : m_slots) {
        const std::optional<QByteArray> bytes = lists.pagePhoto(listName(), slot->slot(), position);
        const std::optional<QImage> photo = bytes ? FotoListino::decode(*bytes) : std::nullopt;
        slot->setPicture(photo ? *photo : blank);
    }
}

TPaginaListino TfrmListinoPrezzi::paginaFromScreen() const
{
    TPaginaListino page;
    for (int k = 0; k < TPaginaListino::SlotCount; ++k)
        page.Voci[static_cast<std::size_t>(k)] = m_slots[static_cast<std::size_t>(k)]->voce();
    return page;
}

void TfrmListinoPrezzi::showEvent(QShowEvent *event)
{
    WorkScreen::showEvent(event);
    // Each opening of a list starts on a new, empty page.
    if (!event->spontaneous())
        PulisciPagina();
}

void TfrmListinoPrezzi::cmdNuovoClick() { PulisciPagina(); }

void TfrmListinoPrezzi::showPage(Store::Pages &file, qint64 position)
{
    const std::optional<Store::Read<TPaginaListino>> page = file.readAt(position);
    if (!file.close() || !page) {
        Dialogs::error(this, Store::failureText(accessError()));
        return;
    }
    showRead(page->record, position, page->version);
}

RecordSteps::Texts TfrmListinoPrezzi::stepTexts()
{
    return {accessError(), emptyListMessage(),
            u"Attenzione: la scheda è stata salvata, ma non è stato possibile salvare alcune "
            u"foto."_s};
}

void TfrmListinoPrezzi::navigate(Navigation::Step step)
{
    const std::unique_ptr<Store::Pages> file = Store::current().priceLists().pages(listFileName());
    RecordSteps::navigate(this, *file, step, lblPosizione, stepTexts(),
                          [this](Store::Pages &open, qint64 position) {
                              showPage(open, position);
                          });
}

void TfrmListinoPrezzi::cmdPrimoClick() { navigate(Navigation::Step::First); }
void TfrmListinoPrezzi::cmdIndietroClick() { navigate(Navigation::Step::Previous); }
void TfrmListinoPrezzi::cmdAvantiClick() { navigate(Navigation::Step::Next); }
void TfrmListinoPrezzi::cmdUltimoClick() { navigate(Navigation::Step::Last); }

void TfrmListinoPrezzi::cmdSalvaClick()
{
    // Slot A must be complete; the other slots may be empty.
    const std::pair<QLineEdit *, QString> checks[] = {
        {m_slots[0]->txtNome, u"il nome del primo prodotto."_s},
        {m_slots[0]->txtUM, u"l'aspetto esteriore del primo prodotto."_s},
        {m_slots[0]->txtCaratteristiche, u"le caratteristiche del primo prodotto."_s},
        {m_slots[0]->txtCodice, u"il codice articolo del primo prodotto."_s},
        {m_slots[0]->txtPrezzo, u"il prezzo di vendita del primo prodotto."_s},
    };
    for (const auto &[field, what] : checks) {
        if (StoredText::trimBlanks(field->text()).isEmpty()) {
            Dialogs::warning(this,
                             u"Attenzione: per salvare la scheda è necessario indicare "_s + what);
            field->setFocus(Qt::OtherFocusReason);
            return;
        }
    }

    // The slots keep their pictures when they cannot be stored, so the user can try the
    // save again. The photos are encoded before the list is opened.
    std::array<QByteArray, TPaginaListino::SlotCount> photos;
    for (SlotListino *slot : m_slots)
        photos[static_cast<std::size_t>(slot->slot())] = FotoListino::encode(slot->picture());
    const std::unique_ptr<Store::Pages> file = Store::current().priceLists().pages(listFileName());
    RecordSteps::save(this, *file, paginaFromScreen(), lblPosizione, m_version, stepTexts(),
                      [&](qint64 position) { return storePhotos(position, photos); });
}

bool TfrmListinoPrezzi::storePhotos(qint64 position,
                                    const std::array<QByteArray, TPaginaListino::SlotCount> &photos)
{
    Store::PriceLists &lists = Store::current().priceLists();
    bool all = true;
    for (int slot = 0; slot < TPaginaListino::SlotCount; ++slot)
        all = lists.storePagePhoto(listName(), slot, position,
                                   photos[static_cast<std::size_t>(slot)]) &&
              all;
    return all;
}

// The import screen fills the slot itself when the user double-clicks a card.
void TfrmListinoPrezzi::impProdottoClick(int slot)
{
    TfrmImportaMagazzino import(this);
    import.lblMemory->setText(TfrmImportaMagazzino::tagProdotto(slot));
    import.exec();
}

void TfrmListinoPrezzi::imgFotoClick(int slot)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString chosen = Dialogs::seam().openFileName(this, photoDialogTitle(), folder,
                                                        photoDialogFilter());
    if (chosen.isEmpty())
        return;
    // A file that is not a picture leaves the slot's picture as it was, so that the next
    // save cannot put the placeholder over a real photo.
    const std::optional<QImage> picture = FotoListino::loadChosen(chosen);
    if (!picture) {
        Dialogs::warning(this, PictureFile::unreadableMessage());
        return;
    }
    voce(slot)->setPicture(*picture);
}

// The printed sheet: the thumbnails first, then the screen that reads the page when the
// user confirms.
void TfrmListinoPrezzi::cmdAnteprimaClick()
{
    writeThumbnails();
    TfrmAnteprimaProdotto dialog(this, [this] { return printData(); });
    dialog.exec();
}

void TfrmListinoPrezzi::cmdStampaClick()
{
    writeThumbnails();
    TfrmStampaProdotto dialog(this, [this] { return printData(); });
    dialog.exec();
}

void TfrmListinoPrezzi::writeThumbnails()
{
    std::array<QImage, 8> shown;
    for (int slot = 0; slot < 8; ++slot)
        shown[static_cast<std::size_t>(slot)] = voce(slot)->picture();
    // A slot whose thumbnail could not be written (a full disk, a read-only folder) keeps
    // its own picture, and the sheet shows that one.
    const int written = PriceThumbnails::write(lblNome->text(), shown);
    const QList<QImage> thumbnails = PriceThumbnails::read(lblNome->text(), written);
    for (int slot = 0; slot < thumbnails.size(); ++slot)
        voce(slot)->setPicture(thumbnails.at(slot));
}

PriceSheetData TfrmListinoPrezzi::printData() const
{
    PriceSheetData page;
    page.listName = lblNome->text();
    page.pageNumber = lblPosizione->text();
    for (int slot = 0; slot < 8; ++slot) {
        const SlotListino &from = *voce(slot);
        PriceSlotData &to = page.products[static_cast<std::size_t>(slot)];
        to.picture = from.picture();
        to.nome = from.txtNome->text();
        to.um = from.txtUM->text();
        to.caratteristiche = from.txtCaratteristiche->text();
        to.codice = from.txtCodice->text();
        to.prezzo = from.txtPrezzo->text();
    }
    return page;
}
