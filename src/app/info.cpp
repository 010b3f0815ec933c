#include "app/info.h"

#include "app/addresses.h"
#include "common/artwork.h"
#include "common/linkbutton.h"
#include "common/loginlook.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/tmisc.h"
#include "store/store.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

using namespace Qt::StringLiterals;

TfrmInfo::TfrmInfo(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"TfrmInfo"_s);
    setWindowTitle(u" Informazioni su Scaffaria"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(473, 579);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(u"imgLogo"_s);
    imgLogo->setPixmap(Artwork::pixmap(u"info_logo"_s, QSize(433, 400)));
    imgLogo->setGeometry(20, 20, 433, 400);

    // The folder in use, on one line between the picture and the contact link; a long
    // path is shortened in the middle and shown whole as hint and description.
    const QString folder = QDir::toNativeSeparators(ProgramFolder::path());
    lblCartella = new QLabel(this);
    lblCartella->setObjectName(u"lblCartella"_s);
    lblCartella->setGeometry(20, 424, 433, 22);
    lblCartella->setFont(QFont(u"Tahoma"_s, 9));
    lblCartella->setText(lblCartella->fontMetrics().elidedText(u"Cartella dei dati: "_s + folder,
                                                               Qt::ElideMiddle,
                                                               lblCartella->width()));
    lblCartella->setToolTip(folder);
    lblCartella->setAccessibleName(u"Cartella dei dati"_s);
    lblCartella->setAccessibleDescription(folder);

    // The archive in use, under the contact link: the folder's or the shared one.
    const QString store = Store::current().description();
    lblArchivio = new QLabel(this);
    lblArchivio->setObjectName(u"lblArchivio"_s);
    lblArchivio->setGeometry(20, 486, 433, 22);
    lblArchivio->setFont(QFont(u"Tahoma"_s, 9));
    lblArchivio->setText(
        lblArchivio->fontMetrics().elidedText(store, Qt::ElideMiddle, lblArchivio->width()));
    lblArchivio->setToolTip(store);
    lblArchivio->setAccessibleName(u"Archivio in uso"_s);
    lblArchivio->setAccessibleDescription(store);

    imgEmail = new PictureButton(this, u"imgEmail"_s, u"info_email"_s, QSize(36, 28),
                                 u"Scrivi all'assistenza"_s);
    imgEmail->move(40, 452);
    lnkWeb = new LinkButton(this, u"lnkWeb"_s, Addresses::supportMail());
    lnkWeb->move(86, 466 - lnkWeb->height() / 2);
    lnkWeb->tie(imgEmail);
    const QString hint = u"Scrive un messaggio di posta all'assistenza"_s;
    for (QWidget *w : {static_cast<QWidget *>(imgEmail), static_cast<QWidget *>(lnkWeb)}) {
        w->setToolTip(hint);
        w->setAccessibleDescription(hint);
    }
    connect(lnkWeb, &QAbstractButton::clicked, this, &TfrmInfo::lnkWebClick);

    btnChiudi = new QPushButton(u"Chiudi"_s, this);
    btnChiudi->setObjectName(u"btnChiudi"_s);
    btnChiudi->setGeometry(176, 516, 120, 38);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
    btnChiudi->setDefault(true);
    btnChiudi->setFocus();
}

QString TfrmInfo::mailTarget()
{
    // The mail program receives subject and body as they stand; the desktop's open
    // service encodes the blanks.
    return u"\"mailto:"_s + Addresses::supportMail() + u"?subject="_s + u"Software Scaffaria"_s +
           u"&body="_s +
           u"Salve, desidererei avere le seguenti informazioni sul software in "
           u"oggetto:"_s +
           u'"';
}

void TfrmInfo::lnkWebClick()
{
    lnkWeb->setColour(LinkButton::restColour());
    TMisc::Open(mailTarget());
}

void TfrmInfo::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, Qt::black);
    gradient.setColorAt(1, Qt::white);
    painter.fillRect(rect(), gradient);
}

void TfrmInfo::showEvent(QShowEvent *event)
{
    LoginLook::centre(this);
    QDialog::showEvent(event);
}
