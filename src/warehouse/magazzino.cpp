#include "warehouse/magazzino.h"

#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/enterchain.h"
#include "common/fieldtext.h"
#include "common/focushighlight.h"
#include "common/guida.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/statusline.h"
#include "common/storedtext.h"
#include "common/keyfilter.h"
#include "common/leavewatch.h"
#include "common/numbertext.h"
#include "warehouse/allegacartella.h"
#include "warehouse/archivio.h"
#include "warehouse/calendario.h"
#include "warehouse/giacenza.h"
#include "warehouse/photodialogs.h"
#include "warehouse/webcam.h"
#include "warehouse/zoom.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kPanel(1100, 620);
constexpr QSize kPhoto(366, 274);
constexpr QSize kCommand(150, 40);
constexpr QSize kPhotoCommand(118, 36);
constexpr QSize kArrow(36, 36);

QLabel *caption(QWidget *parent, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, parent);
    label->move(at);
    label->adjustSize();
    return label;
}

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
}

QLineEdit *TfrmMagazzino::addField(const QString &name, const QString &text, int maxLength,
                                   QRect box, QPoint labelAt)
{
    QLabel *label = caption(panel(), text, labelAt);
    label->setObjectName(u"lbl"_s + name.mid(3));
    auto *field = new QLineEdit(panel());
    field->setObjectName(name);
    field->setMaxLength(maxLength);
    field->setGeometry(box);
    label->setBuddy(field);
    FocusHighlight::attach(field, u"eff"_s + name.mid(3));
    m_hints->blank(label);
    return field;
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
    cmdIndietro =
        new PictureButton(p, u"cmdIndietro"_s, u"indietro"_s, kArrow, u"Scheda precedente"_s);
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
    btnAcquisisciFoto = new PictureButton(p, u"btnAcquisisciFoto"_s, u"btn_webcam"_s,
                                          kPhotoCommand, u"WebCam"_s);
    btnSalvaFoto = new PictureButton(p, u"btnSalvaFoto"_s, u"btn_salvafoto"_s, kPhotoCommand,
                                     u"Salva foto"_s);
    btnCaricaFoto->move(10, 362);
    btnAcquisisciFoto->move(134, 362);
    btnSalvaFoto->move(258, 362);

    // The card's fields, in reading order.
    txtCodice = addField(u"txtCodice"_s, u"Codice articolo:"_s, 25, {392, 98, 300, 24}, {392, 80});
    txtCosto = addField(u"txtCosto"_s, u"Costo unitario:"_s, 12, {712, 98, 150, 24}, {712, 80});
    txtNome = addField(u"txtNome"_s, u"Nome prodotto:"_s, 50, {392, 146, 470, 24}, {392, 128});
    txtGiacenza = addField(u"txtGiacenza"_s, u"Giacenza:"_s, 4, {392, 194, 70, 24}, {392, 176});
    btnAggiungi = new QPushButton(u"+"_s, p);
    btnAggiungi->setObjectName(u"btnAggiungi"_s);
    btnAggiungi->setGeometry(470, 194, 28, 24);
    btnAggiungi->setAccessibleName(u"Aggiungi alla giacenza"_s);
    btnSottrai = new QPushButton(u"-"_s, p);
    btnSottrai->setObjectName(u"btnSottrai"_s);
    btnSottrai->setGeometry(502, 194, 28, 24);
    btnSottrai->setAccessibleName(u"Sottrai dalla giacenza"_s);
    txtAvviso = addField(u"txtAvviso"_s, u"Avviso n."_s, 3, {618, 194, 50, 24}, {556, 198});
    QLabel *rimasti = caption(p, u"pezzi rimasti."_s, {676, 198});
    // The field stands between its two captions; a screen reader says them together.
    txtAvviso->setAccessibleName(u"Avviso n. pezzi rimasti"_s);
    m_hints->blank(rimasti);
    txtUM = addField(u"txtUM"_s, u"Aspetto esteriore del bene:"_s, 120, {392, 242, 230, 24},
                     {392, 224});
    txtTipologia = addField(u"txtTipologia"_s, u"Categoria merceologica:"_s, 50,
                            {632, 242, 230, 24}, {632, 224});
    txtCaratteristiche = addField(u"txtCaratteristiche"_s, u"Caratteristiche:"_s, 250,
                                  {392, 290, 470, 24}, {392, 272});
    txtCollocazione = addField(u"txtCollocazione"_s, u"Collocazione in magazzino:"_s, 50,
                               {392, 338, 470, 24}, {392, 320});
    txtDitta = addField(u"txtDitta"_s, u"Ditta fornitrice:"_s, 50, {10, 430, 300, 24}, {10, 412});
    txtAgente = addField(u"txtAgente"_s, u"Agente:"_s, 50, {326, 430, 300, 24}, {326, 412});
    txtRecapito = addField(u"txtRecapito"_s, u"Recapito telefonico:"_s, 30, {642, 430, 220, 24},
                           {642, 412});
    txtDocumento = addField(u"txtDocumento"_s, u"Documento di acquisto:"_s, 50,
                            {10, 478, 300, 24}, {10, 460});
    txtPagamento = addField(u"txtPagamento"_s, u"Modalità di pagamento:"_s, 50,
                            {326, 478, 300, 24}, {326, 460});
    chkPagato = new QCheckBox(u"Pagato"_s, p);
    chkPagato->setObjectName(u"chkPagato"_s);
    chkPagato->setGeometry(642, 478, 120, 24);
    txtDataSca = addField(u"txtDataSca"_s, u"Data scadenza:"_s, 10, {10, 526, 110, 24}, {10, 508});
    txtDataSca->setReadOnly(true);
    delDataSca = new PictureButton(p, u"delDataSca"_s, u"cancdata"_s, QSize(22, 22),
                                   u"Cancella la data"_s);
    delDataSca->move(126, 527);
    txtNote = addField(u"txtNote"_s, u"Note:"_s, 250, {160, 526, 540, 24}, {160, 508});
    txtPrezzo = addField(u"txtPrezzo"_s, u"Prezzo di vendita:"_s, 12, {716, 526, 146, 24},
                         {716, 508});

    for (QLineEdit *amount : {txtCosto, txtPrezzo}) {
        amount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        KeyFilter::install(amount, KeyFilter::Keys::Amount);
        LeaveWatch::install(amount, [this, amount] { amountExit(amount); });
    }
    for (QLineEdit *quantity : {txtGiacenza, txtAvviso}) {
        quantity->setAlignment(Qt::AlignCenter);
        KeyFilter::install(quantity, KeyFilter::Keys::Quantity);
        LeaveWatch::install(quantity, [this, quantity] { quantityExit(quantity); });
    }
    txtDataSca->installEventFilter(this);

    // The hidden attachment labels.
    QLabel **attachments[] = {&lblFile01, &lblFile02, &lblFile03,
                              &lblDesc01, &lblDesc02, &lblDesc03};
    const QString names[] = {u"lblFile01"_s, u"lblFile02"_s, u"lblFile03"_s,
                             u"lblDesc01"_s, u"lblDesc02"_s, u"lblDesc03"_s};
    for (int i = 0; i < 6; ++i) {
        *attachments[i] = new QLabel(p);
        (*attachments[i])->setObjectName(names[i]);
        (*attachments[i])->hide();
    }

    // Enter moves along the fields; the chain closes from the price back to the code.
    auto *chain = new EnterChain(this);
    const QList<QLineEdit *> order = {txtCodice,   txtCosto,     txtNome,      txtGiacenza,
                                      txtAvviso,   txtUM,        txtTipologia, txtCaratteristiche,
                                      txtCollocazione, txtDitta, txtAgente,    txtRecapito,
                                      txtDocumento, txtPagamento, txtDataSca};
    for (int i = 0; i + 1 < order.size(); ++i)
        chain->link(order[i], order[i + 1]);
    chain->link(txtNote, txtPrezzo);
    chain->link(txtPrezzo, txtCodice);

    // The fixed Tab order; every picture button stays out of it.
    const QList<QWidget *> tabs = {txtCodice,    txtCosto,    txtNome,      txtGiacenza,
                                   btnAggiungi,  btnSottrai,  txtAvviso,    txtUM,
                                   txtTipologia, txtCaratteristiche, txtCollocazione, txtDitta,
                                   txtAgente,    txtRecapito, txtDocumento, txtPagamento,
                                   chkPagato,    txtDataSca,  txtNote,      txtPrezzo};
    for (int i = 0; i + 1 < tabs.size(); ++i)
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
    for (QWidget *area : {static_cast<QWidget *>(this), panel(),
                          static_cast<QWidget *>(imgIntestazione), static_cast<QWidget *>(imgFoto),
                          static_cast<QWidget *>(lblPosizione)})
        m_hints->blank(area);
}

QImage TfrmMagazzino::placeholder() const { return imgBianco->pixmap().toImage(); }

void TfrmMagazzino::MostraScheda(const TSchedaProdotto &card, qint64 position)
{
    QLineEdit *const edits[] = {txtCodice,    txtCosto,     txtNome,      txtGiacenza,
                                txtAvviso,    txtUM,        txtTipologia, txtCaratteristiche,
                                txtCollocazione, txtDitta,  txtAgente,    txtRecapito,
                                txtDocumento, txtPagamento, txtDataSca,   txtNote,
                                txtPrezzo};
    const QString *const texts[] = {&card.Codice,    &card.Costo,     &card.Nome,
                                    &card.Giacenza,  &card.Avviso,    &card.UM,
                                    &card.Tipologia, &card.Caratteristiche, &card.Collocazione,
                                    &card.Ditta,     &card.Agente,    &card.Recapito,
                                    &card.Documento, &card.Pagamento, &card.DataSca,
                                    &card.Note,      &card.Prezzo};
    for (std::size_t i = 0; i < std::size(edits); ++i)
        FieldText::fill(edits[i], StoredText::trimBlanks(*texts[i]));

    // A paid flag that is neither value leaves the box as the previous card left it.
    if (card.Pagato == TSchedaProdotto::paidYes())
        chkPagato->setChecked(true);
    else if (card.Pagato == TSchedaProdotto::paidNo())
        chkPagato->setChecked(false);

    lblFile01->setText(card.File01);
    lblFile02->setText(card.File02);
    lblFile03->setText(card.File03);
    lblDesc01->setText(card.Desc01);
    lblDesc02->setText(card.Desc02);
    lblDesc03->setText(card.Desc03);
    lblPosizione->setText(QString::number(position));

    const std::optional<QImage> photo = ArchivioMagazzino::loadPhoto(position);
    imgFoto->setPicture(photo ? *photo : placeholder());
}

void TfrmMagazzino::PulisciScheda()
{
    for (QLineEdit *field :
         {txtCodice, txtNome, txtUM, txtTipologia, txtCaratteristiche, txtCollocazione, txtDitta,
          txtAgente, txtRecapito, txtDocumento, txtPagamento, txtDataSca, txtNote})
        field->clear();
    txtCosto->setText(u"0,00"_s);
    txtPrezzo->setText(u"0,00"_s);
    txtGiacenza->setText(u"0"_s);
    txtAvviso->setText(u"0"_s);
    chkPagato->setChecked(false);
    for (QLabel *label : {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03})
        label->clear();
    imgFoto->setPicture(placeholder());
    lblPosizione->clear();
    txtCodice->setFocus(Qt::OtherFocusReason);
}

TSchedaProdotto TfrmMagazzino::cardFromScreen() const
{
    TSchedaProdotto card;
    card.Codice = txtCodice->text();
    card.Costo = txtCosto->text();
    card.Nome = txtNome->text();
    card.Giacenza = txtGiacenza->text();
    card.Avviso = txtAvviso->text();
    card.UM = txtUM->text();
    card.Tipologia = txtTipologia->text();
    card.Caratteristiche = txtCaratteristiche->text();
    card.Collocazione = txtCollocazione->text();
    card.Ditta = txtDitta->text();
    card.Agente = txtAgente->text();
    card.Recapito = txtRecapito->text();
    card.Documento = txtDocumento->text();
    card.Pagamento = txtPagamento->text();
    card.DataSca = txtDataSca->text();
    card.Note = txtNote->text();
    card.Prezzo = txtPrezzo->text();
    card.Pagato = chkPagato->isChecked() ? TSchedaProdotto::paidYes() : TSchedaProdotto::paidNo();
    card.File01 = lblFile01->text();
    card.File02 = lblFile02->text();
    card.File03 = lblFile03->text();
    card.Desc01 = lblDesc01->text();
    card.Desc02 = lblDesc02->text();
    card.Desc03 = lblDesc03->text();
    return card;
}

void TfrmMagazzino::showEvent(QShowEvent *event)
{
    WorkScreen::showEvent(event);
    // Each time the hub opens the screen it starts on a new card.
    if (!event->spontaneous())
        PulisciScheda();
}

qint64 TfrmMagazzino::shownPosition() const
{
    return StoredText::trimBlanks(lblPosizione->text()).toLongLong();
}

void TfrmMagazzino::showCard(ArchivioMagazzino &archive, qint64 position)
{
    const std::optional<TSchedaProdotto> card = archive.readAt(position);
    archive.close();
    if (!card) {
        Dialogs::error(this, accessError());
        return;
    }
    MostraScheda(*card, position);
}

void TfrmMagazzino::cmdPrimoClick() { navigate(Step::First); }
void TfrmMagazzino::cmdIndietroClick() { navigate(Step::Previous); }
void TfrmMagazzino::cmdAvantiClick() { navigate(Step::Next); }
void TfrmMagazzino::cmdUltimoClick() { navigate(Step::Last); }

void TfrmMagazzino::navigate(Step step)
{
    const QString shown = StoredText::trimBlanks(lblPosizione->text());
    ArchivioMagazzino archive;
    if (!archive.open()) {
        Dialogs::error(this, accessError());
        return;
    }
    // Nothing comes before the first card; the archive is not even counted.
    if (step == Step::Previous && shown == u"1"_s) {
        archive.close();
        return;
    }
    const qint64 count = archive.count();
    if (count == 0) {
        if (step == Step::Next)
            lblPosizione->clear();
        archive.close();
        Dialogs::information(this, emptyArchiveMessage());
        return;
    }
    // An empty position (a new card) counts as 0 going forward; going back it shows card 1.
    const qint64 position = shown.toLongLong();
    qint64 target = 0;
    switch (step) {
    case Step::First:
        target = 1;
        break;
    case Step::Last:
        target = count;
        break;
    case Step::Next:
        target = position < count ? position + 1 : 0;
        break;
    case Step::Previous:
        // A position past the end (the archive shrank outside the program) steps to the
        // last card.
        target = shown.isEmpty() ? 1 : std::min(position - 1, count);
        break;
    }
    if (target == 0) {
        archive.close();
        return;
    }
    showCard(archive, target);
}

void TfrmMagazzino::btnNuovoClick() { PulisciScheda(); }

void TfrmMagazzino::btnSalvaClick()
{
    for (QLineEdit *quantity : {txtGiacenza, txtAvviso}) {
        if (StoredText::trimBlanks(quantity->text()).isEmpty())
            quantity->setText(u"0"_s);
    }

    const std::pair<QLineEdit *, QString> required[] = {
        {txtCodice, u"Attenzione: per salvare la scheda è necessario indicare il codice "
                    u"articolo."_s},
        {txtCosto, u"Attenzione: per salvare la scheda è necessario indicare il costo "
                   u"unitario."_s},
        {txtNome, u"Attenzione: per salvare la scheda è necessario indicare il nome del "
                  u"prodotto."_s},
        {txtUM, u"Attenzione: per salvare la scheda è necessario indicare l'aspetto esteriore "
                u"del bene."_s},
        {txtTipologia, u"Attenzione: per salvare la scheda è necessario indicare la categoria "
                       u"merceologica."_s},
        {txtCaratteristiche, u"Attenzione: per salvare la scheda è necessario indicare le "
                             u"caratteristiche del prodotto."_s},
        {txtPrezzo, u"Attenzione: per salvare la scheda è necessario indicare il prezzo di "
                    u"vendita."_s},
    };
    for (const auto &[field, warning] : required) {
        if (StoredText::trimBlanks(field->text()).isEmpty()) {
            Dialogs::warning(this, warning);
            field->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    // A number too large for its record field (typed, or pasted as "1e20" and refused when
    // its field was left) would be stored cut short or as an exponent: the save refuses it.
    for (QLineEdit *amount : {txtCosto, txtPrezzo}) {
        if (!NumberText::amountRuleWithin(amount->text(), amount->maxLength())) {
            Dialogs::warning(this, tooLargeAmount());
            amount->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    for (QLineEdit *quantity : {txtGiacenza, txtAvviso}) {
        if (!NumberText::quantityRuleWithin(quantity->text(), quantity->maxLength())) {
            Dialogs::warning(this, tooLargeQuantity());
            quantity->setFocus(Qt::OtherFocusReason);
            return;
        }
    }

    ArchivioMagazzino archive;
    if (!archive.open()) {
        Dialogs::error(this, accessError());
        return;
    }
    const TSchedaProdotto card = cardFromScreen();
    const bool existing = !StoredText::trimBlanks(lblPosizione->text()).isEmpty();
    qint64 position = shownPosition();
    if (existing) {
        if (!archive.writeAt(position, card)) {
            archive.close();
            Dialogs::error(this, accessError());
            return;
        }
    } else {
        const std::optional<qint64> appended = archive.append(card);
        if (!appended) {
            archive.close();
            Dialogs::error(this, accessError());
            return;
        }
        position = *appended;
        lblPosizione->setText(QString::number(position));
    }
    archive.close();

    const bool photoStored = ArchivioMagazzino::storePhoto(position, imgFoto->picture());
    Dialogs::information(this,
                         existing ? u"Le modifiche apportate alla scheda corrente sono state "
                                    u"salvate in archivio."_s
                                  : u"La scheda corrente è stata inserita in archivio."_s);
    // The frame keeps the user's picture, so that a later save can still store it.
    if (!photoStored)
        Dialogs::warning(this, u"Attenzione: la scheda è stata salvata, ma non è stato possibile "
                               u"salvare la foto."_s);
}

void TfrmMagazzino::btnDuplicaClick()
{
    if (StoredText::trimBlanks(lblPosizione->text()).isEmpty()) {
        Dialogs::warning(this, u"Attenzione: la duplicazione di una scheda può avvenire "
                               u"soltanto dopo che questa è stata inserita in archivio."_s);
        return;
    }
    for (QLabel *label : {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03})
        label->clear();
    lblPosizione->clear();
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
    const std::optional<QString> money = NumberText::amountRuleWithin(field->text(), field->maxLength());
    if (!money) {
        Dialogs::warning(this, tooLargeAmount());
        return;
    }
    field->setText(*money);
}

void TfrmMagazzino::quantityExit(QLineEdit *field)
{
    const std::optional<QString> whole =
        NumberText::quantityRuleWithin(field->text(), field->maxLength());
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
