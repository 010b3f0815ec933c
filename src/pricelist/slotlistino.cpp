#include "pricelist/slotlistino.h"

#include "common/dialogs.h"
#include "common/fieldtext.h"
#include "common/keyfilter.h"
#include "common/leavewatch.h"
#include "common/numbertext.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"

#include <QLineEdit>
#include <QShortcut>

using namespace Qt::StringLiterals;

namespace {

// White while the field waits, yellow while it has the focus, sky blue border in both.
const QString kFieldStyle = u"QLineEdit { background-color: #FFFFFF; border: 1px solid #87CEEB;"
                            u" padding: 0px 2px; }"
                            u" QLineEdit:focus { background-color: #FFFF00; }"_s;

} // namespace

SlotListino::SlotListino(QWidget *parent, int slot) : QFrame(parent), m_slot(slot)
{
    const QString suffix = u"_"_s + letter();
    setObjectName(u"shpVoce"_s + suffix);
    setFixedSize(FrameSize);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xE4, 0xE4, 0xE4));
    setPalette(pal);

    imgFoto = new PhotoFrame(this, u"imgFoto"_s + suffix, u"Foto prodotto "_s + letter());
    imgFoto->setGeometry(QRect(QPoint(10, 8), PictureSize));
    imgFoto->setCursor(Qt::PointingHandCursor);

    txtNome = addField(u"txtNome"_s + suffix, u"Nome prodotto "_s + letter(), 50,
                       {158, 8, 272, 22});
    impProdotto = new PictureButton(this, u"impProdotto"_s + suffix, u"listino_importa"_s,
                                    QSize(22, 22), u"Importa articolo nel prodotto "_s + letter());
    impProdotto->move(436, 8);
    txtUM = addField(u"txtUM"_s + suffix, u"Aspetto esteriore "_s + letter(), 120,
                     {158, 35, 300, 22});
    txtCaratteristiche = addField(u"txtCaratteristiche"_s + suffix,
                                  u"Caratteristiche "_s + letter(), 250, {158, 62, 300, 22});
    txtCodice = addField(u"txtCodice"_s + suffix, u"Codice articolo "_s + letter(), 25,
                         {158, 90, 149, 22});
    txtPrezzo = addField(u"txtPrezzo"_s + suffix, u"Prezzo di vendita "_s + letter(), 12,
                         {336, 90, 122, 22});
    txtPrezzo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtPrezzo->setText(u"0,00"_s);
    KeyFilter::install(txtPrezzo, KeyFilter::Keys::Amount);
    LeaveWatch::install(txtPrezzo, [this] { txtPrezzoExit(); });

    // Ctrl+I in any of the slot's fields chooses the slot's photo, as a click on it does.
    auto *photoKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_I), this);
    photoKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(photoKey, &QShortcut::activated, imgFoto, &PhotoFrame::click);
    // Ctrl+M imports an article from the warehouse into the slot, as its import picture does.
    auto *importKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this);
    importKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(importKey, &QShortcut::activated, impProdotto, &QAbstractButton::click);
    CommandKeys::guard();
}

QLineEdit *SlotListino::addField(const QString &name, const QString &accessibleName, int maxLength,
                                 QRect box)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(name);
    // The slots have no captions: the name says what the field holds and in which slot.
    field->setAccessibleName(accessibleName);
    field->setMaxLength(maxLength);
    field->setGeometry(box);
    QFont font(u"Verdana"_s);
    font.setPointSize(12);
    font.setBold(true);
    field->setFont(font);
    field->setStyleSheet(kFieldStyle);
    return field;
}

void SlotListino::txtPrezzoExit()
{
    // A number too large for the field's 12 characters is refused, as on the card
    // screen, instead of being cut to its first digits.
    const std::optional<QString> money = NumberText::amountRuleWithin(txtPrezzo->text(),
                                                                      txtPrezzo->maxLength());
    if (!money) {
        Dialogs::warning(window(), NumberText::tooLargeAmount());
        return;
    }
    txtPrezzo->setText(*money);
}

void SlotListino::clear(const QImage &placeholder)
{
    showVoce(TVoceListino::empty());
    imgFoto->setPicture(placeholder);
}

void SlotListino::showVoce(const TVoceListino &voce)
{
    FieldText::fill(txtCodice, voce.Codice);
    FieldText::fill(txtNome, voce.Nome);
    FieldText::fill(txtUM, voce.UM);
    FieldText::fill(txtCaratteristiche, voce.Caratteristiche);
    FieldText::fill(txtPrezzo, voce.Prezzo);
}

TVoceListino SlotListino::voce() const
{
    TVoceListino v;
    v.Codice = txtCodice->text();
    v.Nome = txtNome->text();
    v.UM = txtUM->text();
    v.Caratteristiche = txtCaratteristiche->text();
    v.Prezzo = txtPrezzo->text();
    return v;
}

const QImage &SlotListino::picture() const { return imgFoto->picture(); }

void SlotListino::setPicture(const QImage &picture) { imgFoto->setPicture(picture); }

QList<QLineEdit *> SlotListino::fieldsInOrder() const
{
    return {txtNome, txtUM, txtCaratteristiche, txtCodice, txtPrezzo};
}
