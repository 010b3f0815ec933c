#include "lists/ricercamagazzino.h"

#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/enterchain.h"
#include "common/focushighlight.h"
#include "common/progresswindow.h"
#include "common/waitnotice.h"
#include "lists/listarighe.h"
#include "lists/pannelloelenco.h"
#include "lists/trovainelenco.h"
#include "store/store.h"
#include "warehouse/magazzino.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kScreen(1000, 600);

const QColor kDarkCyan(0x00, 0x8B, 0x8B);

QLabel *label(QWidget *parent, const QString &name, const QString &text, QRect box)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(box);
    return l;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, QRect box)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(box);
    b->setAutoDefault(false);
    return b;
}

void darkCyan(QLabel *l)
{
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, kDarkCyan);
    l->setPalette(pal);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
}

} // namespace

RicercaMagazzino::RicercaMagazzino(QWidget *parent, const QString &name, const QString &caption)
    : DialogoElenco(parent, name, caption, kScreen, FormatoRiga::Standard)
{
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(u"lblMemory"_s);
    lblMemory->hide();
    buildCriteria();
    buildResults();
}

void RicercaMagazzino::buildCriteria()
{
    panAvvio = new QWidget(this);
    panAvvio->setObjectName(u"panAvvio"_s);
    panAvvio->setGeometry(QRect(QPoint(0, 0), kScreen));

    auto *box = new QLabel(panAvvio);
    box->setGeometry(10, 10, 980, 72);
    box->setAutoFillBackground(true);
    QPalette white = box->palette();
    white.setColor(QPalette::Window, Qt::white);
    box->setPalette(white);
    box->setFrameShape(QFrame::Box);
    imgRicerca = label(panAvvio, u"imgRicerca"_s, {}, {18, 18, 56, 56});
    imgRicerca->setPixmap(Artwork::pixmap(u"elenco_ricerca"_s, QSize(56, 56)));
    imgRicerca->setAccessibleName(u"Ricerca schede"_s);
    lblRigo04 = label(panAvvio, u"lblRigo04"_s,
                      u"Immettere nei campi prescelti una o più parole consecutive presenti "
                      u"nelle schede da trovare e premere il pulsante Cerca."_s,
                      {86, 18, 890, 56});
    lblRigo04->setWordWrap(true);
    QFont hint = lblRigo04->font();
    hint.setPointSize(11);
    hint.setBold(true);
    lblRigo04->setFont(hint);
    lblRigo05 = label(panAvvio, u"lblRigo05"_s, u"Lasciare in bianco tutti gli altri campi."_s,
                      {20, 90, 960, 18});
    lblRigo06 = label(panAvvio, u"lblRigo06"_s,
                      u"Per ogni ricerca è possibile utilizzare uno o più campi "
                      u"contemporaneamente."_s,
                      {20, 108, 960, 18});

    struct Campo {
        QLineEdit **field;
        QString name;
        QString caption;
        QString highlight;
    };
    const Campo campi[] = {
        {&txtCodice, u"txtCodice"_s, u"Codice articolo:"_s, u"effCampo01"_s},
        {&txtCosto, u"txtCosto"_s, u"Costo unitario:"_s, u"effCampo02"_s},
        {&txtNome, u"txtNome"_s, u"Nome prodotto:"_s, u"effCampo09"_s},
        {&txtTipologia, u"txtTipologia"_s, u"Categoria merceologica:"_s, u"effCampo10"_s},
        {&txtCaratteristiche, u"txtCaratteristiche"_s, u"Caratteristiche:"_s, u"effCampo05"_s},
        {&txtCollocazione, u"txtCollocazione"_s, u"Collocazione in magazzino:"_s, u"effCampo06"_s},
        {&txtDitta, u"txtDitta"_s, u"Ditta fornitrice:"_s, u"effCampo07"_s},
        {&txtAgente, u"txtAgente"_s, u"Agente:"_s, u"effCampo08"_s},
        {&txtDocumento, u"txtDocumento"_s, u"Documento di acquisto:"_s, u"effCampo03"_s},
        {&txtNote, u"txtNote"_s, u"Note:"_s, u"effCampo04"_s},
    };
    QFont fieldFont(u"Verdana"_s);
    fieldFont.setPointSize(12);
    fieldFont.setBold(true);
    auto *chain = new EnterChain(this);
    QList<QLineEdit *> order;
    for (int i = 0; i < 10; ++i) {
        const Campo &c = campi[i];
        const int x = (i % 2 == 0) ? 20 : 510;
        const int y = 140 + (i / 2) * 70;
        QLabel *caption = label(panAvvio, u"lbl"_s + c.name.mid(3), c.caption, {x, y, 470, 20});
        auto *field = new QLineEdit(panAvvio);
        field->setObjectName(c.name);
        field->setGeometry(x, y + 22, 470, 30);
        field->setFont(fieldFont);
        caption->setBuddy(field);
        FocusHighlight::attach(field, c.highlight);
        *c.field = field;
        order.append(field);
    }
    for (int i = 0; i < order.size(); ++i) {
        chain->link(order[i], order[(i + 1) % order.size()]);
        if (i + 1 < order.size())
            setTabOrder(order[i], order[i + 1]);
    }

    lblAttendere = label(panAvvio, u"lblAttendere"_s, u"Ricerca schede in corso. Attendere..."_s,
                         {20, 520, 600, 24});
    darkCyan(lblAttendere);
    lblAttendere->hide();
    btnAnnulla = button(panAvvio, u"btnAnnulla"_s, u"Chiudi"_s, {710, 548, 130, 34});
    btnCerca = button(panAvvio, u"btnCerca"_s, u"Cerca"_s, {850, 548, 130, 34});
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCerca, &QPushButton::pressed, this, &RicercaMagazzino::btnCercaMouseDown);
    // A press released outside the button searches nothing: the notice goes again.
    WaitNotice::hideOnRelease(btnCerca, lblAttendere);
    connect(btnCerca, &QPushButton::clicked, this, &RicercaMagazzino::btnCercaClick);
}

void RicercaMagazzino::buildResults()
{
    panContainer = new QWidget(this);
    panContainer->setObjectName(u"panContainer"_s);
    panContainer->setGeometry(QRect(QPoint(0, 0), kScreen));
    panContainer->hide();

    lblTrovate = label(panContainer, u"lblTrovate"_s, {}, {20, 20, 960, 26});
    darkCyan(lblTrovate);
    QFont big = lblTrovate->font();
    big.setPointSize(12);
    lblTrovate->setFont(big);

    adottaElenco(new PannelloElenco(panContainer, u"panElenco"_s));
    m_elenco->move(10, 70);
}

void RicercaMagazzino::showEvent(QShowEvent *event)
{
    DialogoElenco::showEvent(event);
    if (event->spontaneous())
        return;
    m_elenco->trova().azzera();
    txtTrova->clear();
    txtCodice->setFocus(Qt::OtherFocusReason);
}

void RicercaMagazzino::done(int result)
{
    lblAttendere->hide();
    DialogoElenco::done(result);
}

// The wait notice shows as soon as the button goes down, before the search runs.
void RicercaMagazzino::btnCercaMouseDown()
{
    lblAttendere->show();
    lblAttendere->repaint();
}

void RicercaMagazzino::btnCercaClick()
{
    // The release took the notice away; it stays while the search runs.
    btnCercaMouseDown();
    using S = TSchedaProdotto;
    const std::vector<Elenchi::Criterio> criteri = Elenchi::criteriInUso({
        {S::iCodice, txtCodice->text()},
        {S::iCosto, txtCosto->text()},
        {S::iNome, txtNome->text()},
        {S::iTipologia, txtTipologia->text()},
        {S::iCaratteristiche, txtCaratteristiche->text()},
        {S::iCollocazione, txtCollocazione->text()},
        {S::iDitta, txtDitta->text()},
        {S::iAgente, txtAgente->text()},
        {S::iDocumento, txtDocumento->text()},
        {S::iNote, txtNote->text()},
    });
    Elenchi::Righe found;
    qsizetype count = 0;
    {
        // The wait cursor at once; a bar when a large archive takes longer than a second.
        ProgressWindow progress(this, leggendoArchivio());
        found = Elenchi::ricerca(criteri, [&progress](qint64 done, qint64 total) {
            progress.setTotal(total);
            progress.tick(done);
        });
        count = found.righe.size();
        if (found.esito != Elenchi::Esito::ErroreArchivio)
            lstRecords->imposta(std::move(found.righe));
    }
    if (found.esito == Elenchi::Esito::ErroreArchivio) {
        // Nothing is searching any more; the criteria stay, so the user may try again or
        // close.
        lblAttendere->hide();
        Dialogs::plain(this, Store::failureText(TfrmMagazzino::accessError()));
        return;
    }
    lblTrovate->setText(u"Il presente riepilogo contiene %1 schede."_s.arg(count));
    panContainer->show();
    panAvvio->hide();
    txtTrova->clear();
    txtTrova->setFocus(Qt::OtherFocusReason);
}
