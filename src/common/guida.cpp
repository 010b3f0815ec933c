#include "common/guida.h"

#include "common/artwork.h"
#include "common/linkbutton.h"
#include "common/loginlook.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/tmisc.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

TfrmGuida::TfrmGuida(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"TfrmGuida"_s);
    setWindowTitle(u" Guida all'utilizzo del software"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(670, 572);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(u"imgLogo"_s);
    imgLogo->setPixmap(Artwork::pixmap(u"guida_logo"_s, QSize(630, 90)));
    imgLogo->setGeometry(20, 14, 630, 90);

    lblTitolo = new QLabel(u"Argomento della guida."_s, this);
    lblTitolo->setObjectName(u"lblTitolo"_s);
    QFont titleFont(u"Arial"_s, 16);
    titleFont.setBold(true);
    lblTitolo->setFont(titleFont);
    QPalette titlePal = lblTitolo->palette();
    titlePal.setColor(QPalette::WindowText, QColor(0xDC, 0x14, 0x3C));
    lblTitolo->setPalette(titlePal);
    lblTitolo->setGeometry(20, 114, 630, 34);

    txtGuida = new QPlainTextEdit(this);
    txtGuida->setObjectName(u"txtGuida"_s);
    txtGuida->setReadOnly(true);
    txtGuida->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtGuida->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont textFont(u"Verdana"_s, 12);
    textFont.setBold(true);
    txtGuida->setFont(textFont);
    txtGuida->setGeometry(20, 154, 630, 330);
    txtGuida->setAccessibleName(u"Testo della guida"_s);
    lblTitolo->setBuddy(txtGuida);

    imgPDF = new PictureButton(this, u"imgPDF"_s, u"guida_pdf"_s, QSize(36, 36),
                               u"Guida in formato PDF"_s);
    imgPDF->move(20, 507);
    lnkWeb = new LinkButton(this, u"lnkWeb"_s, u"Visualizza guida in formato PDF"_s);
    lnkWeb->move(64, 525 - lnkWeb->height() / 2);
    lnkWeb->tie(imgPDF);
    const QString pdfHint = u"Apre la guida completa nel visualizzatore di file PDF"_s;
    for (QWidget *w : {static_cast<QWidget *>(imgPDF), static_cast<QWidget *>(lnkWeb)}) {
        w->setToolTip(pdfHint);
        w->setAccessibleDescription(pdfHint);
    }
    connect(lnkWeb, &QAbstractButton::clicked, this, &TfrmGuida::lnkWebClick);

    btnChiudi = new QPushButton(u"Chiudi"_s, this);
    btnChiudi->setObjectName(u"btnChiudi"_s);
    btnChiudi->setGeometry(530, 506, 120, 38);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
    btnChiudi->setDefault(true);
    btnChiudi->setFocus();
}

void TfrmGuida::showTopic(QWidget *parent, HelpTexts::Topic topic)
{
    TfrmGuida guide(parent);
    guide.setTopic(topic);
    guide.exec();
}

QString TfrmGuida::pdfPath()
{
    // An installed program keeps the guide with its documentation, not in the user's
    // program folder; a guide placed in the program folder still comes first.
    // A link planted at the guide's name is not the guide.
    const QString own = ProgramFolder::file(u"Guida.pdf"_s);
    if (QFileInfo::exists(own) && !ProgramFolder::leadsOutside(own))
        return own;
    const QString installed = ProgramFolder::installedDocument(u"Guida.pdf"_s);
    return QFileInfo::exists(installed) ? installed : own;
}

void TfrmGuida::setTopic(HelpTexts::Topic topic)
{
    lblTitolo->setText(HelpTexts::title(topic));
    txtGuida->setPlainText(HelpTexts::text(topic));
}

void TfrmGuida::lnkWebClick()
{
    lnkWeb->setColour(LinkButton::restColour());
    // Quoted, so a program folder whose path holds blanks still opens.
    TMisc::Open(u'"' + pdfPath() + u'"');
}

void TfrmGuida::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, QColor(0xBF, 0xD8, 0xEF));
    painter.fillRect(rect(), gradient);
}

void TfrmGuida::showEvent(QShowEvent *event)
{
    LoginLook::centre(this);
    QDialog::showEvent(event);
}
