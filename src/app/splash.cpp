#include "app/splash.h"

#include "app/addresses.h"
#include "common/artwork.h"
#include "common/linkbutton.h"
#include "common/picturebutton.h"
#include "common/tmisc.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

using namespace Qt::StringLiterals;

TfrmSplash::TfrmSplash(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"TfrmSplash"_s);
    setWindowTitle(u" Scaffaria - Crediti"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(661, 467);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xE2, 0xEB, 0xF6));
    setPalette(pal);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(u"imgLogo"_s);
    imgLogo->setPixmap(Artwork::pixmap(u"info_splash"_s, QSize(625, 380)));
    imgLogo->setGeometry(18, 14, 625, 380);

    imgWeb = new PictureButton(this, u"imgWeb"_s, u"info_web"_s, QSize(32, 32), u"Sito web"_s);
    imgWeb->move(18, 414);
    lnkWeb = new LinkButton(this, u"lnkWeb"_s, Addresses::webSite());
    lnkWeb->move(60, 430 - lnkWeb->height() / 2);
    lnkWeb->tie(imgWeb);
    const QString hint = u"Apre il sito web del programma"_s;
    for (QWidget *w : {static_cast<QWidget *>(imgWeb), static_cast<QWidget *>(lnkWeb)}) {
        w->setToolTip(hint);
        w->setAccessibleDescription(hint);
    }
    connect(lnkWeb, &QAbstractButton::clicked, this, &TfrmSplash::lnkWebClick);

    btnChiudi = new QPushButton(u"Chiudi"_s, this);
    btnChiudi->setObjectName(u"btnChiudi"_s);
    btnChiudi->setGeometry(523, 411, 120, 38);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
    btnChiudi->setDefault(true);
    btnChiudi->setFocus();
}

void TfrmSplash::lnkWebClick()
{
    lnkWeb->setColour(LinkButton::restColour());
    TMisc::Open(Addresses::webSite());
}

void TfrmSplash::showEvent(QShowEvent *event)
{
    // Centred on the window that opened it.
    if (QWidget *opener = parentWidget()) {
        const QRect area = opener->window()->geometry();
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), area));
    }
    QDialog::showEvent(event);
}
