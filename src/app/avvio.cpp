#include "app/avvio.h"

#include "app/addresses.h"
#include "app/archiviocondiviso.h"
#include "app/copie.h"
#include "app/info.h"
#include "app/splash.h"
#include "common/artwork.h"
#include "common/guida.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "common/tmisc.h"
#include "lists/menuriepilogo.h"
#include "pricelist/apricatalogo.h"
#include "pricelist/creacatalogo.h"
#include "store/store.h"
#include "warehouse/magazzino.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {
constexpr QSize kPanel(880, 650);
constexpr QSize kTile(300, 170);
constexpr QSize kTileButton(300, 40);
constexpr QSize kCorner(48, 48);
} // namespace

TfrmAvvio::TfrmAvvio() : QWidget(nullptr), panel(new QWidget(this))
{
    setObjectName(u"TfrmAvvio"_s);
    setWindowTitle(u" Scaffaria"_s);
    setWindowIcon(Artwork::programIcon());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xE2, 0xEB, 0xF6));
    setPalette(pal);

    panel->setObjectName(u"panel"_s);
    panel->setFixedSize(kPanel);

    // Title row: the information and help icons flank the title banner.
    imgInfo = corner(u"imgInfo"_s, u"info"_s, u"Informazioni"_s, u"Informazioni sul programma"_s,
                     QPoint(0, 21));
    imgTitolo = new QLabel(panel);
    imgTitolo->setObjectName(u"imgTitolo"_s);
    imgTitolo->setPixmap(Artwork::pixmap(u"titolo"_s, QSize(760, 90)));
    imgTitolo->setGeometry(60, 0, 760, 90);
    imgGuida = corner(u"imgGuida"_s, u"guida"_s, u"Guida"_s, u"Guida all'utilizzo del software"_s,
                      QPoint(kPanel.width() - kCorner.width(), 21));
    icoSottotitolo = new QLabel(panel);
    icoSottotitolo->setObjectName(u"icoSottotitolo"_s);
    icoSottotitolo->setPixmap(Artwork::pixmap(u"sottotitolo"_s, QSize(760, 30)));
    icoSottotitolo->setGeometry(60, 96, 760, 30);

    addTile(1, QPoint(120, 150), u"Magazzino prodotti"_s,
            u"Apre l'archivio delle schede dei prodotti in magazzino"_s, &TfrmAvvio::imgApp01Click,
            imgApp01, btnApp01);
    addTile(2, QPoint(460, 150), u"Inventario merci"_s,
            u"Calcola il valore della merce in magazzino"_s, &TfrmAvvio::imgApp02Click, imgApp02,
            btnApp02);
    addTile(3, QPoint(120, 380), u"Crea nuovo listino"_s, u"Crea un nuovo listino prezzi"_s,
            &TfrmAvvio::imgApp03Click, imgApp03, btnApp03);
    addTile(4, QPoint(460, 380), u"Apri listino esistente"_s,
            u"Apre, modifica o elimina un listino prezzi esistente"_s, &TfrmAvvio::imgApp04Click,
            imgApp04, btnApp04);

    // Foot row: credits and exit icons flank the web-site strip.
    const int footTop = kPanel.height() - kCorner.height();
    imgCopyright = corner(u"imgCopyright"_s, u"copyright"_s, u"Crediti"_s, u"Crediti e sito web"_s,
                          QPoint(0, footTop));
    icoSito = new PictureButton(panel, u"icoSito"_s, u"sito"_s, QSize(760, 28), u"Sito web"_s);
    icoSito->move(60, footTop + (kCorner.height() - 28) / 2);
    icoSito->setToolTip(siteAddress());
    icoSito->setAccessibleDescription(u"Apre il sito web "_s + siteAddress());
    connect(icoSito, &PictureButton::clicked, this, &TfrmAvvio::icoSitoClick);
    imgEsci = corner(u"imgEsci"_s, u"esci"_s, u"Esci"_s, u"Chiude il programma"_s,
                     QPoint(kPanel.width() - kCorner.width(), footTop));
    connect(imgEsci, &PictureButton::clicked, this, &TfrmAvvio::imgEsciClick);
    connect(imgInfo, &PictureButton::clicked, this, &TfrmAvvio::imgInfoClick);
    connect(imgGuida, &PictureButton::clicked, this, &TfrmAvvio::imgGuidaClick);
    connect(imgCopyright, &PictureButton::clicked, this, &TfrmAvvio::imgCopyrightClick);
    imgGuida->setKey(QKeySequence(Qt::Key_F1));
    imgInfo->setKey(QKeySequence(Qt::CTRL | Qt::Key_I));
    imgCopyright->setKey(QKeySequence(Qt::CTRL | Qt::Key_R));

    // The backup copies: the command at the left edge between the tiles, and the date of
    // the newest copy under the subtitle, in its left half.
    imgCopie = corner(u"imgCopie"_s, u"copie"_s, u"Copie di sicurezza"_s,
                      u"Copie di sicurezza dei dati."_s,
                      QPoint(0, (kPanel.height() - kCorner.height()) / 2));
    connect(imgCopie, &PictureButton::clicked, this, &TfrmAvvio::imgCopieClick);
    imgCopie->setKey(QKeySequence(Qt::Key_F6));
    lblUltimaCopia = new QLabel(panel);
    lblUltimaCopia->setObjectName(u"lblUltimaCopia"_s);
    lblUltimaCopia->setAlignment(Qt::AlignCenter);
    lblUltimaCopia->setGeometry(60, 127, 380, 20);

    // The shared archive: the command at the right edge, facing the copies, and the store
    // in use in the right half of the line under the subtitle.
    imgArchivio =
        corner(u"imgArchivio"_s, u"archivio"_s, u"Archivio condiviso"_s,
               u"Archivio condiviso tra più postazioni."_s,
               QPoint(kPanel.width() - kCorner.width(), (kPanel.height() - kCorner.height()) / 2));
    connect(imgArchivio, &PictureButton::clicked, this, &TfrmAvvio::imgArchivioClick);
    imgArchivio->setKey(QKeySequence(Qt::Key_F7));
    lblArchivio = new QLabel(panel);
    lblArchivio->setObjectName(u"lblArchivio"_s);
    lblArchivio->setAlignment(Qt::AlignCenter);
    lblArchivio->setGeometry(440, 127, 380, 20);
    lblArchivio->setAccessibleName(u"Archivio in uso"_s);

    // The hub has no edit field whose leave rule a focused picture could disturb, so Tab
    // and Shift+Tab go through its commands in reading order, and Enter or Space presses
    // the one with the focus mark.
    const QList<PictureButton *> commands = {btnApp01,     btnApp02,    btnApp03, btnApp04,
                                             imgCopie,     imgArchivio, imgInfo,  imgGuida,
                                             imgCopyright, icoSito,     imgEsci};
    for (PictureButton *command : commands)
        command->setFocusable(true);
    for (qsizetype i = 0; i + 1 < commands.size(); ++i)
        setTabOrder(commands[i], commands[i + 1]);

    resize(kPanel + QSize(40, 40));
}

QString TfrmAvvio::siteAddress() { return Addresses::webSite(); }

PictureButton *TfrmAvvio::corner(const QString &name, const QString &art, const QString &caption,
                                 const QString &hint, QPoint at)
{
    auto *icon = new PictureButton(panel, name, art, kCorner, caption);
    icon->move(at);
    icon->setToolTip(hint);
    icon->setAccessibleDescription(hint);
    return icon;
}

void TfrmAvvio::addTile(int index, QPoint at, const QString &caption, const QString &hint,
                        void (TfrmAvvio::*click)(), PictureButton *&picture, PictureButton *&button)
{
    const QString number = QString::number(index).rightJustified(2, u'0');
    picture = new PictureButton(panel, u"imgApp"_s + number, u"app"_s + number, kTile, caption);
    picture->move(at);
    button = new PictureButton(panel, u"btnApp"_s + number, u"btnapp"_s + number, kTileButton,
                               caption);
    button->move(at + QPoint(0, kTile.height() + 4));
    // F2 to F5 open the tiles in their order on screen.
    button->setKey(QKeySequence(Qt::Key(Qt::Key_F1 + index)));
    for (PictureButton *b : {picture, button}) {
        b->setToolTip(hint);
        b->setAccessibleDescription(hint);
        connect(b, &PictureButton::clicked, this, click);
    }
}

void TfrmAvvio::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    panel->move(std::max(0, (width() - panel->width()) / 2),
                std::max(0, (height() - panel->height()) / 2));
}

void TfrmAvvio::refreshLines()
{
    lblUltimaCopia->setText(TfrmCopie::lastCopyText());
    // A long server or database name is shortened in the middle and read whole as the
    // hint and the description.
    const QString store = Store::current().description();
    lblArchivio->setText(
        lblArchivio->fontMetrics().elidedText(store, Qt::ElideMiddle, lblArchivio->width()));
    lblArchivio->setToolTip(store);
    lblArchivio->setAccessibleDescription(store);
}

void TfrmAvvio::showEvent(QShowEvent *event)
{
    refreshLines();
    QWidget::showEvent(event);
    // Each showing starts on the first tile, so a screen reader names a command at once.
    if (!event->spontaneous())
        btnApp01->setFocus(Qt::OtherFocusReason);
}

void TfrmAvvio::closeEvent(QCloseEvent *event)
{
    // Closing the hub ends the program, though the login screen still exists hidden.
    event->accept();
    qApp->quit();
}

void TfrmAvvio::openWorkScreen(QWidget *screen)
{
    if (!screen)
        return;
    screen->showMaximized();
    hide();
}

void TfrmAvvio::imgApp01Click() { openWorkScreen(screens().magazzino); }

void TfrmAvvio::imgApp02Click() { openWorkScreen(screens().menuRiepilogo); }
void TfrmAvvio::imgApp03Click() { openWorkScreen(screens().creaCatalogo); }
void TfrmAvvio::imgApp04Click() { openWorkScreen(screens().apriCatalogo); }

void TfrmAvvio::icoSitoClick() { TMisc::Open(siteAddress()); }

void TfrmAvvio::imgInfoClick()
{
    TfrmInfo info(this);
    info.exec();
}

void TfrmAvvio::imgGuidaClick() { TfrmGuida::showTopic(this, HelpTexts::Topic::Avvio); }

void TfrmAvvio::imgCopyrightClick()
{
    TfrmSplash splash(this);
    splash.exec();
}

void TfrmAvvio::imgEsciClick() { close(); }

void TfrmAvvio::imgCopieClick()
{
    TfrmCopie copies(this);
    copies.exec();
    refreshLines();
}

void TfrmAvvio::imgArchivioClick()
{
    TfrmArchivioCondiviso choice(this);
    choice.exec();
    refreshLines();
}
