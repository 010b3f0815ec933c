#include "lists/menuriepilogo.h"

#include "common/artwork.h"
#include "common/focushighlight.h"
#include "common/guida.h"
#include "common/helptexts.h"
#include "common/picturebutton.h"
#include "common/waitnotice.h"
#include "lists/riepilogo.h"

#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kPanel(760, 420);

QLabel *whiteLabel(QWidget *parent, const QString &name, const QString &text, QRect box)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(box);
    l->setWordWrap(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(pal);
    return l;
}

} // namespace

TfrmMenuRiepilogo::TfrmMenuRiepilogo()
    : WorkScreen(u"TfrmMenuRiepilogo"_s, u" Scaffaria - Inventario Merce"_s, kPanel)
{
    QWidget *p = panel();
    p->setAutoFillBackground(true);
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, QColor(0x1F, 0x4E, 0x8C));
    p->setPalette(pal);
    QFont base(u"Arial"_s);
    base.setPointSize(11);
    p->setFont(base);

    imgIntestazione = new QLabel(p);
    imgIntestazione->setObjectName(u"imgIntestazione"_s);
    imgIntestazione->setPixmap(Artwork::pixmap(u"intestazione_inventario"_s, QSize(560, 56)));
    imgIntestazione->setGeometry(20, 20, 560, 56);
    imgIntestazione->setAccessibleName(u"Inventario merci"_s);
    imgGuida = new PictureButton(p, u"imgGuida"_s, u"guida"_s, QSize(48, 48), u"Guida"_s);
    imgGuida->move(630, 24);
    imgGuida->setToolTip(u"Visualizza la pagina della guida sensibile al contesto."_s);
    imgGuida->setAccessibleDescription(imgGuida->toolTip());
    imgGuida->setKey(QKeySequence(Qt::Key_F1));
    imgEsci = new PictureButton(p, u"imgEsci"_s, u"esci"_s, QSize(48, 48), u"Esci"_s);
    imgEsci->move(690, 24);
    imgEsci->setToolTip(u"Esci da questa schermata di lavoro."_s);
    imgEsci->setAccessibleDescription(imgEsci->toolTip());

    lblApri = whiteLabel(p, u"lblApri"_s,
                         u"Indicare una categoria merceologica e premere il pulsante "
                         u"Visualizza."_s,
                         {40, 110, 680, 24});
    txtTipologia = new QLineEdit(p);
    txtTipologia->setObjectName(u"txtTipologia"_s);
    txtTipologia->setGeometry(40, 142, 500, 46);
    QFont big(u"Verdana"_s);
    big.setPointSize(22);
    big.setBold(true);
    txtTipologia->setFont(big);
    lblApri->setBuddy(txtTipologia);
    FocusHighlight::attach(txtTipologia, u"effTipologia"_s);
    btnVisualizza = new QPushButton(u"Visualizza"_s, p);
    btnVisualizza->setObjectName(u"btnVisualizza"_s);
    btnVisualizza->setGeometry(560, 142, 160, 46);
    lblInformazioni = whiteLabel(p, u"lblInformazioni"_s,
                                 u"Per ottenere l'inventario di tutti gli articoli in magazzino, "
                                 u"premere il pulsante Visualizza senza indicare alcuna "
                                 u"categoria merceologica."_s,
                                 {40, 210, 680, 48});
    lblAttendere = new QLabel(u"Caricamento inventario in corso. Attendere..."_s, p);
    lblAttendere->setObjectName(u"lblAttendere"_s);
    lblAttendere->setGeometry(40, 290, 680, 32);
    lblAttendere->setAlignment(Qt::AlignCenter);
    lblAttendere->setAutoFillBackground(true);
    QPalette wait = lblAttendere->palette();
    wait.setColor(QPalette::Window, Qt::white);
    wait.setColor(QPalette::WindowText, QColor(0x00, 0x8B, 0x8B));
    lblAttendere->setPalette(wait);
    QFont waitFont = base;
    waitFont.setBold(true);
    lblAttendere->setFont(waitFont);
    lblAttendere->hide();

    connect(btnVisualizza, &QPushButton::pressed, this, &TfrmMenuRiepilogo::btnVisualizzaMouseDown);
    // A press released outside the button reads nothing: the notice goes again.
    WaitNotice::hideOnRelease(btnVisualizza, lblAttendere);
    connect(btnVisualizza, &QPushButton::clicked, this, &TfrmMenuRiepilogo::btnVisualizzaClick);
    connect(imgEsci, &PictureButton::clicked, this, &TfrmMenuRiepilogo::imgEsciClick);
    connect(imgGuida, &PictureButton::clicked, this, &TfrmMenuRiepilogo::imgGuidaClick);
}

void TfrmMenuRiepilogo::showEvent(QShowEvent *event)
{
    WorkScreen::showEvent(event);
    // Each time the hub opens the menu it starts with no category.
    if (!event->spontaneous()) {
        txtTipologia->clear();
        txtTipologia->setFocus(Qt::OtherFocusReason);
    }
}

// The wait notice shows as soon as the button goes down, before the inventory is read.
void TfrmMenuRiepilogo::btnVisualizzaMouseDown()
{
    lblAttendere->show();
    lblAttendere->repaint();
}

void TfrmMenuRiepilogo::btnVisualizzaClick()
{
    // The release took the notice away; it stays while the inventory is read.
    btnVisualizzaMouseDown();
    TfrmRiepilogo inventory(this, txtTipologia->text());
    inventory.exec();
}

void TfrmMenuRiepilogo::imgGuidaClick()
{
    TfrmGuida::showTopic(this, HelpTexts::Topic::Inventario);
}

// Closing returns to the hub, as the window's close box does.
void TfrmMenuRiepilogo::imgEsciClick() { close(); }
