#include "pricelist/creacatalogo.h"

#include "common/artwork.h"
#include "common/picturebutton.h"

#include <QLabel>

using namespace Qt::StringLiterals;

TfrmCreaCatalogo::TfrmCreaCatalogo() : WorkScreen(u"TfrmCreaCatalogo"_s, u" Scaffaria - Creazione listino prezzi"_s, QSize(600, 160))
{
    imgIntestazione = new QLabel(panel());
    imgIntestazione->setObjectName(u"imgIntestazione"_s);
    imgIntestazione->setPixmap(Artwork::pixmap(u"intestazione_creacatalogo"_s, QSize(560, 56)));
    imgIntestazione->setGeometry(20, 0, 560, 56);

    btnEsci = new PictureButton(panel(), u"btnEsci"_s, u"btn_esci"_s, QSize(150, 40), u"Esci"_s);
    btnEsci->move(225, 110);
    connect(btnEsci, &PictureButton::clicked, this, &TfrmCreaCatalogo::btnEsciClick);
}

// Closing returns to the hub, as the window's close box does.
void TfrmCreaCatalogo::btnEsciClick() { close(); }
