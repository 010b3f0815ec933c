#include "lists/pannelloelenco.h"

#include "common/enterchain.h"
#include "lists/listarighe.h"
#include "lists/trovainelenco.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QPushButton *button(QWidget *parent, const QString &name, const QString &text, QRect box)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(box);
    b->setAutoDefault(false);
    return b;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, QRect box)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(box);
    return l;
}

} // namespace

PannelloElenco::PannelloElenco(QWidget *parent, const QString &name) : QWidget(parent)
{
    setObjectName(name);
    resize(kSize);

    lblRigo01 = label(this, u"lblRigo01"_s,
                      u"Immettere una o più parole consecutive presenti nella scheda in elenco "
                      u"da cercare e premere il pulsante Trova."_s,
                      {10, 0, 960, 18});
    lblRigo02 = label(this, u"lblRigo02"_s,
                      u"Per spostarsi sulla voce successiva contenente la stessa chiave di "
                      u"ricerca, fare di nuovo clic su Trova."_s,
                      {10, 18, 960, 18});
    txtTrova = new QLineEdit(this);
    txtTrova->setObjectName(u"txtTrova"_s);
    txtTrova->setGeometry(10, 42, 820, 28);
    QFont bold = txtTrova->font();
    bold.setBold(true);
    txtTrova->setFont(bold);
    txtTrova->setAccessibleName(u"Testo da trovare nell'elenco"_s);
    lblRigo01->setBuddy(txtTrova);
    btnTrova = button(this, u"btnTrova"_s, u"Trova"_s, {840, 41, 130, 30});
    // Enter in the find field moves to Trova, and Enter there runs it.
    btnTrova->setAutoDefault(true);
    auto *chain = new EnterChain(this);
    chain->link(txtTrova, btnTrova);

    lstRecords = new ListaRighe(this, u"lstRecords"_s, u"Elenco delle schede"_s);
    lstRecords->setGeometry(10, 80, 960, 360);

    lblRigo03 = label(this, u"lblRigo03"_s,
                      u"Per richiamare i dati di una scheda, selezionarla con un doppio clic."_s,
                      {10, 446, 700, 18});
    QPalette crimson = lblRigo03->palette();
    crimson.setColor(QPalette::WindowText, QColor(0xDC, 0x14, 0x3C));
    lblRigo03->setPalette(crimson);

    btnStampa = button(this, u"btnStampa"_s, u"Stampa"_s, {700, 462, 130, 32});
    btnChiudi = button(this, u"btnChiudi"_s, u"Chiudi"_s, {840, 462, 130, 32});

    m_trova = std::make_unique<TrovaInElenco>(parent, txtTrova, lstRecords,
                                              TrovaInElenco::Avviso::Semplice);
    connect(btnTrova, &QPushButton::clicked, this, [this] { m_trova->esegui(); });
}

PannelloElenco::~PannelloElenco() = default;
