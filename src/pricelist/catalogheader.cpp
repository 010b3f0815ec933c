#include "pricelist/catalogheader.h"

#include "common/artwork.h"
#include "common/guida.h"
#include "common/picturebutton.h"

#include <QKeySequence>
#include <QLabel>

using namespace Qt::StringLiterals;

CatalogHeader::CatalogHeader(QWidget *panel, const QString &banner, const QString &title,
                             const QString &instructions)
{
    imgIntestazione = new QLabel(panel);
    imgIntestazione->setObjectName(u"imgIntestazione"_s);
    imgIntestazione->setPixmap(Artwork::pixmap(banner, QSize(560, 56)));
    imgIntestazione->setGeometry(10, 10, 560, 56);
    imgIntestazione->setAccessibleName(title);

    imgGuida = new PictureButton(panel, u"imgGuida"_s, u"guida"_s, QSize(40, 40), u"Guida"_s);
    imgGuida->move(574, 18);
    imgGuida->setToolTip(u"Visualizza la pagina della guida sensibile al contesto."_s);
    imgGuida->setAccessibleDescription(imgGuida->toolTip());
    imgGuida->setKey(QKeySequence(Qt::Key_F1));
    QWidget *screen = panel->window();
    QObject::connect(imgGuida, &PictureButton::clicked, screen,
                     [screen] { TfrmGuida::showTopic(screen, HelpTexts::Topic::Cataloghi); });

    icoIstruzioni = new QLabel(panel);
    icoIstruzioni->setObjectName(u"icoIstruzioni"_s);
    icoIstruzioni->setText(instructions);
    icoIstruzioni->setGeometry(14, 78, 592, 66);
    QFont font(u"Verdana"_s);
    font.setPointSize(10);
    icoIstruzioni->setFont(font);
    icoIstruzioni->setWordWrap(true);
}
