#include "warehouse/giacenza.h"

#include "common/centring.h"
#include "common/dialogs.h"
#include "common/enterchain.h"
#include "common/keyfilter.h"
#include "common/leavewatch.h"
#include "common/numbertext.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "common/storedtext.h"
#include "warehouse/magazzino.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// A field that already holds more than 15 characters is emptied by the next typed key, so
// the quantity typed next stands alone. The editing keys, Enter and Tab leave the text
// alone: they correct or leave the field, they do not start a new quantity.
class LongTextReset final : public QObject
{
public:
    explicit LongTextReset(QLineEdit *field) : QObject(field), m_field(field)
    {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && m_field->text().size() > 15 &&
            !KeyFilter::isEditingKey(static_cast<QKeyEvent *>(event)->key()))
            m_field->clear();
        return false;
    }

private:
    QLineEdit *m_field;
};

QLineEdit *quantityField(QWidget *parent, const QString &name, QRect box)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(box);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    KeyFilter::install(field, KeyFilter::Keys::Quantity);
    // Installed last, so it sees each key before the filter decides on it.
    new LongTextReset(field);
    LeaveWatch::install(field,
                        [field] { field->setText(NumberText::quantityRule(field->text())); });
    return field;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, QRect box)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(box);
    return l;
}

} // namespace

QString TfrmGiacenza::outOfRangeWarning()
{
    return u"Attenzione: la giacenza risultante non può superare 9999 pezzi né essere inferiore "
           u"a -999."_s;
}

TfrmGiacenza::TfrmGiacenza(QWidget *parent) : QDialog(parent)
{
    Centring::keep(this, Centring::On::Screen);
    setObjectName(u"TfrmGiacenza"_s);
    setWindowTitle(u" Aggiornamento giacenza"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(360, 190);

    lblGiacenza = label(this, u"lblGiacenza"_s, u"Giacenza attuale:"_s, {16, 20, 180, 24});
    txtGiacenza = quantityField(this, u"txtGiacenza"_s, {200, 20, 140, 24});
    lblAggiunta = label(this, u"lblAggiunta"_s, addCaption(), {16, 56, 180, 24});
    txtAggiunta = quantityField(this, u"txtAggiunta"_s, {200, 56, 140, 24});
    btnTotale = new QPushButton(u"Calcola totale"_s, this);
    btnTotale->setObjectName(u"btnTotale"_s);
    btnTotale->setGeometry(16, 96, 176, 28);
    txtTotale = new QLineEdit(this);
    txtTotale->setObjectName(u"txtTotale"_s);
    txtTotale->setGeometry(200, 98, 140, 24);
    txtTotale->setReadOnly(true);
    txtTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtTotale->setAccessibleName(u"Totale"_s);
    QPalette crimson = txtTotale->palette();
    crimson.setColor(QPalette::Text, QColor(0xDC, 0x14, 0x3C));
    txtTotale->setPalette(crimson);
    btnChiudi = new QPushButton(u"Annulla"_s, this);
    btnChiudi->setObjectName(u"btnChiudi"_s);
    btnChiudi->setGeometry(16, 144, 150, 30);
    btnAggiorna = new QPushButton(u"Applica e chiudi"_s, this);
    btnAggiorna->setObjectName(u"btnAggiorna"_s);
    btnAggiorna->setGeometry(190, 144, 150, 30);
    for (QPushButton *b : {btnTotale, btnChiudi, btnAggiorna})
        b->setAutoDefault(false);

    lblGiacenza->setBuddy(txtGiacenza);
    lblAggiunta->setBuddy(txtAggiunta);

    auto *chain = new EnterChain(this);
    chain->link(txtGiacenza, txtAggiunta);
    chain->link(txtAggiunta, btnTotale);
    setTabOrder(txtGiacenza, txtAggiunta);
    setTabOrder(txtAggiunta, btnTotale);
    setTabOrder(btnTotale, btnChiudi);
    setTabOrder(btnChiudi, btnAggiorna);

    connect(btnTotale, &QPushButton::clicked, this, &TfrmGiacenza::btnTotaleClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    // Esc cancels, whatever field has the focus.
    CommandKeys::assign(btnChiudi, QKeySequence(Qt::Key_Escape));
    connect(btnAggiorna, &QPushButton::clicked, this, &TfrmGiacenza::btnAggiornaClick);
}

bool TfrmGiacenza::calcolaTotale()
{
    for (QLineEdit *field : {txtGiacenza, txtAggiunta, txtTotale}) {
        if (StoredText::trimBlanks(field->text()).isEmpty())
            field->setText(u"0"_s);
    }
    const std::optional<double> a = NumberText::parse(txtGiacenza->text());
    const std::optional<double> b = NumberText::parse(txtAggiunta->text());
    if (!a || !b) {
        for (QLineEdit *field : {txtGiacenza, txtAggiunta, txtTotale})
            field->setText(u"0"_s);
        return false;
    }
    const QString operation = StoredText::trimBlanks(lblAggiunta->text());
    if (operation == addCaption())
        txtTotale->setText(NumberText::shortest(*a + *b));
    else if (operation == subtractCaption())
        txtTotale->setText(NumberText::shortest(*a - *b));
    return true;
}

void TfrmGiacenza::btnTotaleClick() { calcolaTotale(); }

void TfrmGiacenza::btnAggiornaClick()
{
    calcolaTotale();
    const QString total = StoredText::trimBlanks(txtTotale->text());
    // The card keeps its stock in four characters: a total that does not fit would be
    // stored cut short, so it is refused here and the dialog stays open.
    const std::optional<double> value = NumberText::parse(total);
    if (!value || *value >= 10000 || *value <= -1000) {
        Dialogs::warning(this, outOfRangeWarning());
        return;
    }
    if (TfrmMagazzino *card = screens().magazzino)
        card->txtGiacenza->setText(total);
    accept();
}
