#include "lists/riepilogo.h"

#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/enterchain.h"
#include "common/guida.h"
#include "common/helptexts.h"
#include "common/memoryreturn.h"
#include "common/numbertext.h"
#include "common/picturebutton.h"
#include "common/progresswindow.h"
#include "common/screens.h"
#include "common/storedtext.h"
#include "common/workscreen.h"
#include "lists/dialogoelenco.h"
#include "lists/elenchi.h"
#include "lists/listarighe.h"
#include "lists/menuriepilogo.h"
#include "lists/stampaelenco.h"
#include "lists/trovainelenco.h"
#include "store/store.h"

#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kPanel(1100, 680);
// The narrowest the panel gets before it scrolls.
constexpr int kMinWidth = 900;

QLabel *label(QWidget *parent, const QString &name, const QString &text, QRect box, QColor colour)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(box);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    l->setPalette(pal);
    return l;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, QRect box)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(box);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TfrmRiepilogo::TfrmRiepilogo(QWidget *parent, const QString &filtro)
    : QDialog(parent), m_filtro(filtro)
{
    setObjectName(u"TfrmRiepilogo"_s);
    setWindowTitle(u" Scaffaria - Inventario Merce"_s);
    setModal(true);
    setWindowState(Qt::WindowMaximized);
    setAutoFillBackground(true);
    QPalette back = palette();
    back.setColor(QPalette::Window, QColor(0x1F, 0x4E, 0x8C));
    setPalette(back);
    QFont base(u"Arial"_s);
    base.setPointSize(10);
    setFont(base);

    panRiepilogo = new QWidget(this);
    panRiepilogo->setObjectName(u"panRiepilogo"_s);
    panRiepilogo->setFixedSize(kPanel);
    QWidget *p = panRiepilogo;

    imgIntestazione = label(p, u"imgIntestazione"_s, {}, {0, 0, 560, 56}, Qt::white);
    imgIntestazione->setPixmap(Artwork::pixmap(u"intestazione_inventario"_s, QSize(560, 56)));
    imgIntestazione->setAccessibleName(u"Inventario merci"_s);
    imgGuida = new PictureButton(p, u"imgGuida"_s, u"guida"_s, QSize(48, 48), u"Guida"_s);
    imgGuida->move(kPanel.width() - 48, 4);
    imgGuida->setToolTip(u"Visualizza la pagina della guida sensibile al contesto."_s);
    imgGuida->setAccessibleDescription(imgGuida->toolTip());
    imgGuida->setKey(QKeySequence(Qt::Key_F1));

    QFont bold = base;
    bold.setBold(true);
    bold.setPointSize(11);
    lblTipologia = label(p, u"lblTipologia"_s, u"Categoria selezionata:"_s, {0, 70, 190, 22},
                         Qt::white);
    lblTipologia->setFont(bold);
    titTipologia = label(p, u"titTipologia"_s, tuttiGliArticoli(), {196, 70, 900, 22},
                         QColor(0xF2, 0x9B, 0x30));
    titTipologia->setFont(bold);
    lblTipologia->setBuddy(titTipologia);

    lblRigo01 = label(p, u"lblRigo01"_s,
                      u"Immettere una o più parole consecutive presenti nella scheda in elenco "
                      u"da cercare e premere il pulsante Trova."_s,
                      {0, 102, 1100, 18}, Qt::white);
    lblRigo02 = label(p, u"lblRigo02"_s,
                      u"Per spostarsi sulla voce successiva contenente la stessa chiave di "
                      u"ricerca, fare di nuovo clic su Trova."_s,
                      {0, 120, 1100, 18}, Qt::white);
    txtTrova = new QLineEdit(p);
    txtTrova->setObjectName(u"txtTrova"_s);
    txtTrova->setGeometry(0, 144, 940, 28);
    txtTrova->setFont(bold);
    txtTrova->setAccessibleName(u"Testo da trovare nell'elenco"_s);
    lblRigo01->setBuddy(txtTrova);
    // Enter in the find field does nothing here.
    auto *chain = new EnterChain(this);
    chain->link(txtTrova, txtTrova);
    btnTrova = button(p, u"btnTrova"_s, u"Trova"_s, {950, 143, 150, 30});

    lstRecords = new ListaRighe(p, u"lstRecords"_s, u"Inventario"_s);
    lstRecords->setGeometry(0, 182, 1100, 396);

    // The bar of the total, below the list.
    auto *bar = new QLabel(p);
    bar->setObjectName(u"barTotale"_s);
    bar->setGeometry(0, 582, 1100, 36);
    bar->setAutoFillBackground(true);
    QPalette barPal = bar->palette();
    barPal.setColor(QPalette::Window, QColor(0xE8, 0xEE, 0xF6));
    bar->setPalette(barPal);
    QFont verdana(u"Verdana"_s);
    verdana.setPointSize(12);
    verdana.setBold(true);
    infValore = label(p, u"infValore"_s, u"Valore totale:"_s, {10, 588, 300, 24}, Qt::black);
    infValore->setFont(verdana);
    lblTotale = label(p, u"lblTotale"_s, u"0,00"_s, {320, 588, 770, 24}, QColor(0x80, 0, 0));
    lblTotale->setFont(verdana);
    lblTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    infValore->setBuddy(lblTotale);

    btnStampa = button(p, u"btnStampa"_s, u"Stampa inventario"_s, {770, 634, 170, 36});
    btnEsci = button(p, u"btnEsci"_s, u"Esci"_s, {950, 634, 150, 36});

    panInfo = new QLabel(u"Il presente inventario contiene 0 articoli."_s, this);
    panInfo->setObjectName(u"panInfo"_s);
    panInfo->setAutoFillBackground(true);
    QPalette info = panInfo->palette();
    info.setColor(QPalette::Window, QColor(0x19, 0x19, 0x70));
    info.setColor(QPalette::WindowText, Qt::white);
    panInfo->setPalette(info);
    QFont tahoma(u"Tahoma"_s);
    tahoma.setPointSize(12);
    panInfo->setFont(tahoma);
    panInfo->setContentsMargins(8, 0, 8, 0);
    panInfo->setFixedHeight(28);
    panInfo->setAccessibleDescription(u"Barra di stato"_s);

    m_trova = std::make_unique<TrovaInElenco>(this, txtTrova, lstRecords,
                                              TrovaInElenco::Avviso::Informazione);
    connect(btnTrova, &QPushButton::clicked, this, [this] { m_trova->esegui(); });
    connect(btnStampa, &QPushButton::clicked, this, &TfrmRiepilogo::btnStampaClick);
    connect(imgGuida, &PictureButton::clicked, this, &TfrmRiepilogo::imgGuidaClick);
    connect(btnEsci, &QPushButton::clicked, this, &QDialog::accept);
    m_scroll = scrollingPanel(this, panRiepilogo);
    resize(kPanel + QSize(40, 80));
}

TfrmRiepilogo::~TfrmRiepilogo() = default;

void TfrmRiepilogo::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int status = panInfo->height();
    // On a narrow screen (1024 pixels) the panel narrows instead of scrolling, so the
    // total, Trova, Esci and the help picture stay in sight: the list and the find field
    // give up the width, the controls on the right keep their distance from the edge.
    arrange(std::clamp(width() - 20, kMinWidth, kPanel.width()));
    m_scroll->setGeometry(0, 0, width(), height() - status);
    panInfo->setGeometry(0, height() - status, width(), status);
}

void TfrmRiepilogo::arrange(int panelWidth)
{
    if (panRiepilogo->width() == panelWidth)
        return;
    const int shrink = kPanel.width() - panelWidth;
    panRiepilogo->setFixedSize(panelWidth, kPanel.height());
    imgGuida->move(panelWidth - 48, 4);
    for (QWidget *w : std::initializer_list<QWidget *>{lblRigo01, lblRigo02, lstRecords,
                                                       findChild<QWidget *>(u"barTotale"_s)})
        w->resize(panelWidth, w->height());
    titTipologia->resize(900 - shrink, titTipologia->height());
    txtTrova->resize(940 - shrink, txtTrova->height());
    btnTrova->move(950 - shrink, btnTrova->y());
    lblTotale->resize(770 - shrink, lblTotale->height());
    btnStampa->move(770 - shrink, btnStampa->y());
    btnEsci->move(950 - shrink, btnEsci->y());
}

void TfrmRiepilogo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        riempi();
}

void TfrmRiepilogo::riempi()
{
    m_trova->azzera();
    txtTrova->clear();
    lblTotale->setText(u"0,00"_s);
    const QString shown = StoredText::trimBlanks(m_filtro);
    titTipologia->setText(shown.isEmpty() ? tuttiGliArticoli() : shown);

    Elenchi::Inventario inventory;
    qsizetype count = 0;
    {
        ProgressWindow progress(this, leggendoArchivio());
        inventory = Elenchi::inventario(m_filtro, [&progress](qint64 done, qint64 total) {
            progress.setTotal(total);
            progress.tick(done);
        });
        count = inventory.righe.size();
        lstRecords->imposta(std::move(inventory.righe));
    }
    if (inventory.esito == Elenchi::Esito::Interrotto) {
        // A card whose stock or cost is not a number: the lines before it stay, but a
        // total and a count of part of the archive would read as the whole inventory.
        lblTotale->clear();
        panInfo->clear();
        txtTrova->setFocus(Qt::OtherFocusReason);
        Dialogs::warning(this, Elenchi::elencoIncompleto(inventory.interruzione));
        return;
    }
    if (inventory.esito != Elenchi::Esito::Completo) {
        // The archive failed: the total shows what it reached, without the euro sign,
        // and the count keeps its text.
        if (count > 0)
            lblTotale->setText(NumberText::shortest(inventory.totale));
        // The folder's inventory says nothing more; the shared store's failure is said.
        if (!Store::failureText(QString()).isEmpty())
            Dialogs::error(this, Store::failureText(QString()));
        return;
    }
    lblTotale->setText(NumberText::totalText(inventory.totale));
    panInfo->setText(u"Il presente inventario contiene %1 articoli."_s.arg(count));
    txtTrova->setFocus(Qt::OtherFocusReason);
}

void TfrmRiepilogo::done(int result)
{
    lstRecords->svuota();
    MemoryReturn::giveBack();
    if (TfrmMenuRiepilogo *menu = screens().menuRiepilogo)
        menu->lblAttendere->hide();
    QDialog::done(result);
}

QString TfrmRiepilogo::titoloStampa() const
{
    return u"Inventario merce - Categoria: "_s + StoredText::trimBlanks(titTipologia->text());
}

QStringList TfrmRiepilogo::righeStampa() const
{
    QStringList lines = lstRecords->righe().toList();
    lines.append(QString(26, u'-'));
    lines.append(u"VALORE TOTALE: "_s + StoredText::trimBlanks(lblTotale->text()));
    return lines;
}

void TfrmRiepilogo::btnStampaClick() { StampaElenco::stampa(this, titoloStampa(), righeStampa()); }

void TfrmRiepilogo::imgGuidaClick() { TfrmGuida::showTopic(this, HelpTexts::Topic::Inventario); }
