#include "pricelist/apricatalogo.h"

#include "common/artwork.h"
#include "common/picturebutton.h"

#include <QLabel>

using namespace Qt::StringLiterals;

TfrmApriCatalogo::TfrmApriCatalogo() : WorkScreen(u"TfrmApriCatalogo"_s, u" Scaffaria - Apertura listino prezzi"_s, QSize(600, 160))
{
    imgIntestazione = new QLabel(panel());
    imgIntestazione->setObjectName(u"imgIntestazione"_s);
    imgIntestazione->setPixmap(Artwork::pixmap(u"intestazione_apricatalogo"_s, QSize(560, 56)));
    imgIntestazione->setGeometry(20, 0, 560, 56);

    btnEsci = new PictureButton(panel(), u"btnEsci"_s, u"btn_esci"_s, QSize(150, 40), u"Esci"_s);
    btnEsci->move(225, 110);
    connect(btnEsci, &PictureButton::clicked, this, &TfrmApriCatalogo::btnEsciClick);
}

// Closing returns to the hub, as the window's close box does.
void TfrmApriCatalogo::btnEsciClick() { close(); }
