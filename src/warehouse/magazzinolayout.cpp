#include "warehouse/magazzino.h"

#include "common/artwork.h"
#include "common/enterchain.h"
#include "common/focushighlight.h"
#include "common/keyfilter.h"
#include "common/leavewatch.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/statusline.h"

#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>

using namespace Qt::StringLiterals;

namespace {

using S = TSchedaProdotto;
using M = TfrmMagazzino;
using Entry = M::Entry;

constexpr QSize kPhoto(366, 274);
constexpr QSize kCommand(150, 40);
constexpr QSize kPhotoCommand(118, 36);
constexpr QSize kArrow(36, 36);

// One row a field: its layout reads best as a table.
// clang-format off
constexpr std::array<M::CardField, 17> kCardFields = {{
    {&M::txtCodice, S::iCodice, u"Codice articolo:", {392, 98, 300, 24}, {392, 80}, Entry::Text,
     u"Attenzione: per salvare la scheda è necessario indicare il codice articolo."},
    {&M::txtCosto, S::iCosto, u"Costo unitario:", {712, 98, 150, 24}, {712, 80}, Entry::Amount,
     u"Attenzione: per salvare la scheda è necessario indicare il costo unitario."},
    {&M::txtNome, S::iNome, u"Nome prodotto:", {392, 146, 470, 24}, {392, 128}, Entry::Text,
     u"Attenzione: per salvare la scheda è necessario indicare il nome del prodotto."},
    {&M::txtGiacenza, S::iGiacenza, u"Giacenza:", {392, 194, 70, 24}, {392, 176},
     Entry::Quantity, {}},
    {&M::txtAvviso, S::iAvviso, u"Avviso n.", {618, 194, 50, 24}, {556, 198}, Entry::Quantity,
     {}},
    {&M::txtUM, S::iUM, u"Aspetto esteriore del bene:", {392, 242, 230, 24}, {392, 224},
     Entry::Text,
     u"Attenzione: per salvare la scheda è necessario indicare l'aspetto esteriore del bene."},
    {&M::txtTipologia, S::iTipologia, u"Categoria merceologica:", {632, 242, 230, 24},
     {632, 224}, Entry::Text,
     u"Attenzione: per salvare la scheda è necessario indicare la categoria merceologica."},
    {&M::txtCaratteristiche, S::iCaratteristiche, u"Caratteristiche:", {392, 290, 470, 24},
     {392, 272}, Entry::Text,
     u"Attenzione: per salvare la scheda è necessario indicare le caratteristiche del "
     u"prodotto."},
    {&M::txtCollocazione, S::iCollocazione, u"Collocazione in magazzino:", {392, 338, 470, 24},
     {392, 320}, Entry::Text, {}},
    {&M::txtDitta, S::iDitta, u"Ditta fornitrice:", {10, 430, 300, 24}, {10, 412}, Entry::Text,
     {}},
    {&M::txtAgente, S::iAgente, u"Agente:", {326, 430, 300, 24}, {326, 412}, Entry::Text, {}},
    {&M::txtRecapito, S::iRecapito, u"Recapito telefonico:", {642, 430, 220, 24}, {642, 412},
     Entry::Text, {}},
    {&M::txtDocumento, S::iDocumento, u"Documento di acquisto:", {10, 478, 300, 24}, {10, 460},
     Entry::Text, {}},
    {&M::txtPagamento, S::iPagamento, u"Modalità di pagamento:", {326, 478, 300, 24},
     {326, 460}, Entry::Text, {}},
    {&M::txtDataSca, S::iDataSca, u"Data scadenza:", {10, 526, 110, 24}, {10, 508}, Entry::Date,
     {}},
    {&M::txtNote, S::iNote, u"Note:", {160, 526, 540, 24}, {160, 508}, Entry::Text, {}},
    {&M::txtPrezzo, S::iPrezzo, u"Prezzo di vendita:", {716, 526, 146, 24}, {716, 508},
     Entry::Amount,
     u"Attenzione: per salvare la scheda è necessario indicare il prezzo di vendita."},
}};
// clang-format on

// Every record field from the code to the price has its edit field, in record order.
constexpr bool inRecordOrder()
{
    for (std::size_t i = 0; i < kCardFields.size(); ++i) {
        if (kCardFields[i].field != static_cast<S::Index>(i))
            return false;
    }
    return true;
}
static_assert(inRecordOrder(), "the card screen's fields follow the record");

constexpr std::array<M::AttachmentField, 6> kAttachmentFields = {{
    {&M::lblFile01, S::iFile01},
    {&M::lblFile02, S::iFile02},
    {&M::lblFile03, S::iFile03},
    {&M::lblDesc01, S::iDesc01},
    {&M::lblDesc02, S::iDesc02},
    {&M::lblDesc03, S::iDesc03},
}};

QString recordName(S::Index field)
{
    return QString::fromLatin1(S::fields()[static_cast<std::size_t>(field)].name);
}

QLabel *caption(QWidget *parent, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, parent);
    label->move(at);
    label->adjustSize();
    return label;
}

} // namespace

std::span<const TfrmMagazzino::CardField> TfrmMagazzino::cardFields() { return kCardFields; }

std::span<const TfrmMagazzino::AttachmentField> TfrmMagazzino::attachmentFields()
{
    return kAttachmentFields;
}

QLineEdit *TfrmMagazzino::addField(const CardField &f)
{
    const QString name = recordName(f.field);
    QLabel *label = caption(panel(), f.caption.toString(), f.labelAt);
    label->setObjectName(u"lbl"_s + name);
    auto *field = new QLineEdit(panel());
    field->setObjectName(u"txt"_s + name);
    field->setMaxLength(TSchedaProdotto::fields()[static_cast<std::size_t>(f.field)].capacity);
    field->setGeometry(f.box);
    label->setBuddy(field);
    FocusHighlight::attach(field, u"eff"_s + name);
    m_hints->blank(label);
    switch (f.entry) {
    case Entry::Text:
        break;
    case Entry::Amount:
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        KeyFilter::install(field, KeyFilter::Keys::Amount);
        LeaveWatch::install(field, [this, field] { amountExit(field); });
        break;
    case Entry::Quantity:
        field->setAlignment(Qt::AlignCenter);
        KeyFilter::install(field, KeyFilter::Keys::Quantity);
        LeaveWatch::install(field, [this, field] { quantityExit(field); });
        break;
    case Entry::Date:
        field->setReadOnly(true);
        field->installEventFilter(this);
        break;
    }
    return field;
}

QList<QWidget *> TfrmMagazzino::tabCompanions(const QLineEdit *field) const
{
    if (field == txtGiacenza)
        return {btnAggiungi, btnSottrai};
    if (field == txtPagamento)
        return {chkPagato};
    return {};
}

void TfrmMagazzino::buildLayout()
{
    QWidget *p = panel();
    QFont base(u"Arial"_s);
    base.setPointSize(9);
    p->setFont(base);

    // Header: banner on the left, navigation box on the right.
    imgIntestazione = new QLabel(p);
    imgIntestazione->setObjectName(u"imgIntestazione"_s);
    imgIntestazione->setPixmap(Artwork::pixmap(u"intestazione_magazzino"_s, QSize(560, 56)));
    imgIntestazione->setGeometry(10, 8, 560, 56);
    imgIntestazione->setAccessibleName(u"Magazzino Prodotti"_s);

    cmdPrimo = new PictureButton(p, u"cmdPrimo"_s, u"primo"_s, kArrow, u"Prima scheda"_s);
    cmdIndietro = new PictureButton(p, u"cmdIndietro"_s, u"indietro"_s, kArrow,
                                    u"Scheda precedente"_s);
    lblPosizione = new QLabel(p);
    lblPosizione->setObjectName(u"lblPosizione"_s);
    lblPosizione->setAlignment(Qt::AlignCenter);
    QFont bold = base;
    bold.setPointSize(12);
    bold.setBold(true);
    lblPosizione->setFont(bold);
    lblPosizione->setFrameShape(QFrame::StyledPanel);
    lblPosizione->setAccessibleDescription(u"Posizione della scheda"_s);
    cmdAvanti = new PictureButton(p, u"cmdAvanti"_s, u"avanti"_s, kArrow, u"Scheda successiva"_s);
    cmdUltimo = new PictureButton(p, u"cmdUltimo"_s, u"ultimo"_s, kArrow, u"Ultima scheda"_s);
    cmdPrimo->move(856, 18);
    cmdIndietro->move(894, 18);
    lblPosizione->setGeometry(934, 18, 72, 36);
    cmdAvanti->move(1010, 18);
    cmdUltimo->move(1048, 18);

    // Photo column.
    imgFoto = new PhotoFrame(p, u"imgFoto"_s, u"Foto del prodotto"_s);
    imgFoto->setGeometry(QRect(QPoint(10, 80), kPhoto));
    imgBianco = new QLabel(p);
    imgBianco->setObjectName(u"imgBianco"_s);
    imgBianco->setPixmap(Artwork::pixmap(u"foto_bianco"_s, kPhoto));
    imgBianco->hide();
    imgFoto->setPicture(placeholder());
    btnZoomFoto = new PictureButton(p, u"btnZoomFoto"_s, u"zoomfoto"_s, QSize(28, 28),
                                    u"Ingrandisci foto"_s);
    btnCancFoto = new PictureButton(p, u"btnCancFoto"_s, u"cancfoto"_s, QSize(28, 28),
                                    u"Cancella foto"_s);
    btnZoomFoto->move(14, 80 + kPhoto.height() - 32);
    btnCancFoto->move(10 + kPhoto.width() - 32, 80 + kPhoto.height() - 32);
    btnCaricaFoto = new PictureButton(p, u"btnCaricaFoto"_s, u"btn_caricafoto"_s, kPhotoCommand,
                                      u"Carica foto"_s);
    btnAcquisisciFoto = new PictureButton(p, u"btnAcquisisciFoto"_s, u"btn_webcam"_s, kPhotoCommand,
                                          u"WebCam"_s);
    btnSalvaFoto = new PictureButton(p, u"btnSalvaFoto"_s, u"btn_salvafoto"_s, kPhotoCommand,
                                     u"Salva foto"_s);
    btnCaricaFoto->move(10, 362);
    btnAcquisisciFoto->move(134, 362);
    btnSalvaFoto->move(258, 362);

    // The card's fields, in reading order, with the controls that sit among them.
    for (const CardField &f : cardFields()) {
        this->*f.edit = addField(f);
        if (f.edit == &TfrmMagazzino::txtGiacenza) {
            btnAggiungi = new QPushButton(u"+"_s, p);
            btnAggiungi->setObjectName(u"btnAggiungi"_s);
            btnAggiungi->setGeometry(470, 194, 28, 24);
            btnAggiungi->setAccessibleName(u"Aggiungi alla giacenza"_s);
            btnSottrai = new QPushButton(u"-"_s, p);
            btnSottrai->setObjectName(u"btnSottrai"_s);
            btnSottrai->setGeometry(502, 194, 28, 24);
            btnSottrai->setAccessibleName(u"Sottrai dalla giacenza"_s);
        } else if (f.edit == &TfrmMagazzino::txtAvviso) {
            QLabel *rimasti = caption(p, u"pezzi rimasti."_s, {676, 198});
            // The field stands between its two captions; a screen reader says them together.
            txtAvviso->setAccessibleName(u"Avviso n. pezzi rimasti"_s);
            m_hints->blank(rimasti);
        } else if (f.edit == &TfrmMagazzino::txtPagamento) {
            chkPagato = new QCheckBox(u"Pagato"_s, p);
            chkPagato->setObjectName(u"chkPagato"_s);
            chkPagato->setGeometry(642, 478, 120, 24);
        } else if (f.edit == &TfrmMagazzino::txtDataSca) {
            delDataSca = new PictureButton(p, u"delDataSca"_s, u"cancdata"_s, QSize(22, 22),
                                           u"Cancella la data"_s);
            delDataSca->move(126, 527);
        }
    }

    // The hidden attachment labels.
    for (const AttachmentField &a : attachmentFields()) {
        auto *label = new QLabel(p);
        label->setObjectName(u"lbl"_s + recordName(a.field));
        label->hide();
        this->*a.label = label;
    }

    // Enter moves along the fields in record order and from the last back to the first;
    // in the date field a key opens the calendar instead.
    auto *chain = new EnterChain(this);
    const std::span<const CardField> fields = cardFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].entry != Entry::Date)
            chain->link(this->*fields[i].edit, this->*fields[(i + 1) % fields.size()].edit);
    }

    // The fixed Tab order; every picture button stays out of it.
    QList<QWidget *> tabs;
    for (const CardField &f : fields) {
        tabs.append(this->*f.edit);
        tabs.append(tabCompanions(this->*f.edit));
    }
    for (qsizetype i = 0; i + 1 < tabs.size(); ++i)
        setTabOrder(tabs[i], tabs[i + 1]);
}

void TfrmMagazzino::buildCommands()
{
    QWidget *p = panel();
    struct Command {
        PictureButton **button;
        QString name;
        QString art;
        QString caption;
    };
    const Command commands[] = {
        {&btnNuovo, u"btnNuovo"_s, u"btn_nuovo"_s, u"Nuovo"_s},
        {&btnDuplica, u"btnDuplica"_s, u"btn_duplica"_s, u"Duplica"_s},
        {&btnSalva, u"btnSalva"_s, u"btn_salva"_s, u"Salva"_s},
        {&btnTrova, u"btnTrova"_s, u"btn_trova"_s, u"Trova"_s},
        {&btnAllegati, u"btnAllegati"_s, u"btn_allegati"_s, u"Allegati"_s},
        {&btnAnteprima, u"btnAnteprima"_s, u"btn_anteprima"_s, u"Anteprima"_s},
        {&btnStampa, u"btnStampa"_s, u"btn_stampa"_s, u"Stampa"_s},
        {&btnScaduti, u"btnScaduti"_s, u"btn_scaduti"_s, u"Da saldare"_s},
        {&btnSottoscorta, u"btnSottoscorta"_s, u"btn_sottoscorta"_s, u"Sottoscorta"_s},
        {&btnEsporta, u"btnEsporta"_s, u"btn_esporta"_s, u"Esporta"_s},
        {&btnGuida, u"btnGuida"_s, u"btn_guida"_s, u"Guida"_s},
        {&btnEsci, u"btnEsci"_s, u"btn_esci"_s, u"Esci"_s},
    };
    int y = 80;
    for (const Command &c : commands) {
        *c.button = new PictureButton(p, c.name, c.art, kCommand, c.caption);
        (*c.button)->move(930, y);
        y += kCommand.height() + 4;
    }
    const std::pair<PictureButton *, QKeySequence> keys[] = {
        {btnSalva, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {btnNuovo, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {btnDuplica, QKeySequence(Qt::CTRL | Qt::Key_D)},
        {btnTrova, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {btnStampa, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {cmdIndietro, QKeySequence(Qt::Key_PageUp)},
        {cmdAvanti, QKeySequence(Qt::Key_PageDown)},
        {cmdPrimo, QKeySequence(Qt::CTRL | Qt::Key_Home)},
        {cmdUltimo, QKeySequence(Qt::CTRL | Qt::Key_End)},
        {btnGuida, QKeySequence(Qt::Key_F1)},
        // The other commands, by function key in their order on screen: the column below
        // Trova, then the photo's buttons.
        {btnAllegati, QKeySequence(Qt::Key_F2)},
        {btnAnteprima, QKeySequence(Qt::Key_F3)},
        {btnScaduti, QKeySequence(Qt::Key_F4)},
        {btnSottoscorta, QKeySequence(Qt::Key_F5)},
        {btnEsporta, QKeySequence(Qt::Key_F6)},
        {btnCaricaFoto, QKeySequence(Qt::Key_F7)},
        {btnAcquisisciFoto, QKeySequence(Qt::Key_F8)},
        {btnSalvaFoto, QKeySequence(Qt::Key_F9)},
        {btnZoomFoto, QKeySequence(Qt::Key_F11)},
        {btnCancFoto, QKeySequence(Qt::Key_F12)},
    };
    for (const auto &[button, key] : keys)
        button->setKey(key);

    connect(cmdPrimo, &QAbstractButton::clicked, this, &TfrmMagazzino::cmdPrimoClick);
    connect(cmdIndietro, &QAbstractButton::clicked, this, &TfrmMagazzino::cmdIndietroClick);
    connect(cmdAvanti, &QAbstractButton::clicked, this, &TfrmMagazzino::cmdAvantiClick);
    connect(cmdUltimo, &QAbstractButton::clicked, this, &TfrmMagazzino::cmdUltimoClick);
    connect(btnNuovo, &QAbstractButton::clicked, this, &TfrmMagazzino::btnNuovoClick);
    connect(btnSalva, &QAbstractButton::clicked, this, &TfrmMagazzino::btnSalvaClick);
    connect(btnDuplica, &QAbstractButton::clicked, this, &TfrmMagazzino::btnDuplicaClick);
    connect(btnAggiungi, &QPushButton::clicked, this, &TfrmMagazzino::btnAggiungiClick);
    connect(btnSottrai, &QPushButton::clicked, this, &TfrmMagazzino::btnSottraiClick);
    connect(btnEsci, &QAbstractButton::clicked, this, &QWidget::close);
    connect(btnAnteprima, &QAbstractButton::clicked, this, &TfrmMagazzino::btnAnteprimaClick);
    connect(btnStampa, &QAbstractButton::clicked, this, &TfrmMagazzino::btnStampaClick);
    connect(delDataSca, &QAbstractButton::clicked, this, &TfrmMagazzino::delDataScaClick);
    connect(btnTrova, &QAbstractButton::clicked, this, &TfrmMagazzino::btnTrovaClick);
    connect(btnScaduti, &QAbstractButton::clicked, this, &TfrmMagazzino::btnScadutiClick);
    connect(btnSottoscorta, &QAbstractButton::clicked, this, &TfrmMagazzino::btnSottoscortaClick);
    connect(btnEsporta, &QAbstractButton::clicked, this, &TfrmMagazzino::btnEsportaClick);
    connect(btnGuida, &QAbstractButton::clicked, this, &TfrmMagazzino::btnGuidaClick);
    connect(btnCaricaFoto, &QAbstractButton::clicked, this, &TfrmMagazzino::btnCaricaFotoClick);
    connect(btnSalvaFoto, &QAbstractButton::clicked, this, &TfrmMagazzino::btnSalvaFotoClick);
    connect(btnCancFoto, &QAbstractButton::clicked, this, &TfrmMagazzino::btnCancFotoClick);
    connect(btnZoomFoto, &QAbstractButton::clicked, this, &TfrmMagazzino::btnZoomFotoClick);
    connect(btnAcquisisciFoto, &QAbstractButton::clicked, this,
            &TfrmMagazzino::btnAcquisisciFotoClick);
    connect(btnAllegati, &QAbstractButton::clicked, this, &TfrmMagazzino::btnAllegatiClick);
}

void TfrmMagazzino::wireHints()
{
    const std::pair<QWidget *, QString> hints[] = {
        {cmdPrimo, u"Visualizza la prima scheda in archivio."_s},
        {cmdIndietro, u"Visualizza la scheda precedente in archivio."_s},
        {cmdAvanti, u"Visualizza la scheda successiva in archivio."_s},
        {cmdUltimo, u"Visualizza l'ultima scheda in archivio."_s},
        {btnNuovo, u"Prepara la schermata per l'inserimento di una nuova scheda."_s},
        {btnDuplica, u"Prepara la schermata per la registrazione di una nuova scheda duplicando "
                     u"i dati correnti."_s},
        {btnSalva, u"Salva la scheda corrente."_s},
        {btnTrova, u"Trova schede in archivio."_s},
        {btnAllegati, u"Allega file alla scheda corrente."_s},
        {btnAnteprima, u"Visualizza l'anteprima di stampa."_s},
        {btnStampa, u"Stampa la scheda corrente."_s},
        {btnScaduti, u"Visualizza il riepilogo dei pagamenti non ancora saldati."_s},
        {btnSottoscorta, u"Visualizza il riepilogo dei materiali in esaurimento."_s},
        {btnEsporta, u"Esporta l'archivio in un foglio di Microsoft Excel."_s},
        {btnGuida, u"Visualizza la pagina della guida sensibile al contesto."_s},
        {btnEsci, u"Esci da questa schermata di lavoro."_s},
        {btnCaricaFoto, u"Carica una foto esistente."_s},
        {btnAcquisisciFoto, u"Acquisisci la foto da WebCam."_s},
        {btnSalvaFoto, u"Salva la foto su disco."_s},
        {btnZoomFoto, u"Visualizza la foto nelle sue dimensioni reali."_s},
        {btnCancFoto, u"Cancella la foto."_s},
        {btnAggiungi, u"Aggiorna la giacenza aggiungendo una certa quantità."_s},
        {btnSottrai, u"Aggiorna la giacenza sottraendo una certa quantità."_s},
        {chkPagato, u"Contrassegna questa casella per indicare che il pagamento è stato "
                    u"effettuato."_s},
        {txtDataSca, u"Fai clic su questo campo e premi un tasto qualsiasi per importare una "
                     u"data dal calendario."_s},
        {delDataSca, u"Cancella la data."_s},
    };
    for (const auto &[control, hint] : hints)
        m_hints->add(control, hint);
    for (QWidget *area :
         {static_cast<QWidget *>(this), panel(), static_cast<QWidget *>(imgIntestazione),
          static_cast<QWidget *>(imgFoto), static_cast<QWidget *>(lblPosizione)})
        m_hints->blank(area);
}
