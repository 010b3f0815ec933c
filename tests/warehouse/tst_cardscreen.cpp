#include "cardfixture.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/screens.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/archivio.h"
#include "warehouse/magazzino.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

TSchedaProdotto card(int n, const QString &paid = u"No"_s)
{
    TSchedaProdotto c;
    c.Codice = u"C%1"_s.arg(n);
    c.Costo = u"1,50"_s;
    c.Nome = u"Prodotto %1"_s.arg(n);
    c.Giacenza = QString::number(n);
    c.Avviso = u"1"_s;
    c.Prezzo = u"2,00"_s;
    c.Pagato = paid;
    c.File02 = u"doc%1.pdf"_s.arg(n);
    c.Desc02 = u"Descrizione %1"_s.arg(n);
    return c;
}

void writeArchive(const QString &path, const QList<TSchedaProdotto> &cards)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (const TSchedaProdotto &c : cards)
        f.write(c.encode());
}

void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

} // namespace

class CardScreen final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void navigation_data();
    void navigation();
    void showsWholeCardWithPhoto();
    void everyFieldComesBack();
    void oddPaidFlagKeepsTheBox();
    void reopeningShowsNewCard();
    void accessFailureKeepsTheCard();
    void limitsAndNames();
    void hoverHints();

private:
    TfrmMagazzino *m_screen = nullptr;
    QWidget *m_hub = nullptr;
    TempProgramFolder *m_folder = nullptr;
    std::unique_ptr<CardScreenFixture> m_card;
};

void CardScreen::init()
{
    m_card = std::make_unique<CardScreenFixture>();
    m_folder = &m_card->folder;
    m_hub = &m_card->hub;
    m_screen = m_card->screen;
}

void CardScreen::cleanup() { m_card.reset(); }

void CardScreen::navigation_data()
{
    QTest::addColumn<int>("cards");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("shown"); // position afterwards
    QTest::addColumn<bool>("empty");    // the empty-archive message

    for (const char *b : {"cmdPrimo", "cmdUltimo", "cmdAvanti", "cmdIndietro"})
        QTest::addRow("empty archive, %s", b)
            << 0 << QString() << QString::fromLatin1(b) << QString() << true;
    QTest::newRow("one card, next from new") << 1 << QString() << u"cmdAvanti"_s << u"1"_s << false;
    QTest::newRow("one card, previous from new")
        << 1 << QString() << u"cmdIndietro"_s << u"1"_s << false;
    QTest::newRow("one card, next on it") << 1 << u"1"_s << u"cmdAvanti"_s << u"1"_s << false;
    QTest::newRow("one card, previous on it") << 1 << u"1"_s << u"cmdIndietro"_s << u"1"_s << false;
    QTest::newRow("three, first") << 3 << u"2"_s << u"cmdPrimo"_s << u"1"_s << false;
    QTest::newRow("three, last") << 3 << QString() << u"cmdUltimo"_s << u"3"_s << false;
    QTest::newRow("three, next") << 3 << u"1"_s << u"cmdAvanti"_s << u"2"_s << false;
    QTest::newRow("three, next at end") << 3 << u"3"_s << u"cmdAvanti"_s << u"3"_s << false;
    QTest::newRow("three, previous") << 3 << u"3"_s << u"cmdIndietro"_s << u"2"_s << false;
    QTest::newRow("three, previous at start") << 3 << u"1"_s << u"cmdIndietro"_s << u"1"_s << false;
}

void CardScreen::navigation()
{
    QFETCH(int, cards);
    QFETCH(QString, from);
    QFETCH(QString, button);
    QFETCH(QString, shown);
    QFETCH(bool, empty);

    QList<TSchedaProdotto> archive;
    for (int i = 1; i <= cards; ++i)
        archive.append(card(i));
    if (cards > 0)
        writeArchive(m_folder->file(u"Magazzino.pro"_s), archive);

    Recorder rec;
    if (!from.isEmpty()) {
        m_screen->MostraScheda(card(from.toInt()), from.toInt());
    }
    // Unsaved typing is replaced without a question when a card is shown.
    m_screen->txtNome->setText(u"typed"_s);

    click(m_screen->findChild<PictureButton *>(button));

    if (empty)
        QVERIFY(rec.showedOnly(Recorder::Kind::Information,
                               u"L'archivio non contiene nessuna scheda."_s));
    else
        QVERIFY(rec.take().isEmpty());
    QCOMPARE(m_screen->lblPosizione->text(), shown);
    const bool moved = !shown.isEmpty() && shown != from;
    QCOMPARE(m_screen->txtNome->text(), moved ? u"Prodotto "_s + shown : u"typed"_s);
    QVERIFY(QFile::exists(m_folder->file(u"Magazzino.pro"_s)));
}

void CardScreen::showsWholeCardWithPhoto()
{
    writeArchive(m_folder->file(u"Magazzino.pro"_s), {card(1, u"Sì"_s), card(2)});
    QImage photo(800, 200, QImage::Format_RGB32);
    photo.fill(Qt::blue);
    QVERIFY(ArchivioMagazzino::storePhoto(2, photo));

    Recorder rec;
    click(m_screen->cmdPrimo);
    QVERIFY(m_screen->chkPagato->isChecked());
    QCOMPARE(m_screen->imgFoto->picture(), m_screen->imgBianco->pixmap().toImage());

    click(m_screen->cmdAvanti);
    QCOMPARE(m_screen->lblPosizione->text(), u"2"_s);
    QCOMPARE(m_screen->txtCodice->text(), u"C2"_s);
    QCOMPARE(m_screen->txtCosto->text(), u"1,50"_s);
    QCOMPARE(m_screen->txtGiacenza->text(), u"2"_s);
    QVERIFY(!m_screen->chkPagato->isChecked());
    QCOMPARE(m_screen->lblFile02->text(), u"doc2.pdf"_s);
    QCOMPARE(m_screen->lblDesc02->text(), u"Descrizione 2"_s);
    QVERIFY(m_screen->lblFile02->isHidden());
    // The photo keeps its full size; only the frame fits it.
    QCOMPARE(m_screen->imgFoto->picture().size(), QSize(800, 200));

    // The new card: defaults, placeholder, empty position, focus on the code.
    click(m_screen->btnNuovo);
    QCOMPARE(m_screen->lblPosizione->text(), QString());
    QCOMPARE(m_screen->txtCodice->text(), QString());
    QCOMPARE(m_screen->txtCosto->text(), u"0,00"_s);
    QCOMPARE(m_screen->txtPrezzo->text(), u"0,00"_s);
    QCOMPARE(m_screen->txtGiacenza->text(), u"0"_s);
    QCOMPARE(m_screen->txtAvviso->text(), u"0"_s);
    QCOMPARE(m_screen->lblFile02->text(), QString());
    QCOMPARE(m_screen->imgFoto->picture(), m_screen->imgBianco->pixmap().toImage());
    QCOMPARE(m_screen->focusWidget(), m_screen->txtCodice);
    QVERIFY(rec.take().isEmpty());
}

// Each record field filled to its capacity with its own letter: a field shown in the wrong
// control, cut by a smaller limit or left out of the card comes back different.
void CardScreen::everyFieldComesBack()
{
    TSchedaProdotto full;
    const auto &fields = TSchedaProdotto::fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        full.*fields[i].member = QString(fields[i].capacity, QChar(u'a' + int(i)));
    full.Pagato = TSchedaProdotto::paidYes();

    m_screen->MostraScheda(full, 7);
    QCOMPARE(m_screen->lblPosizione->text(), u"7"_s);
    const TSchedaProdotto back = m_screen->cardFromScreen();
    for (const TSchedaProdotto::Field &f : fields)
        QVERIFY2(back.*f.member == full.*f.member, f.name);
}

void CardScreen::oddPaidFlagKeepsTheBox()
{
    QList<TSchedaProdotto> cards = {card(1, u"Sì"_s), card(2, u"si"_s), card(3, u"No"_s),
                                    card(4, QString())};
    writeArchive(m_folder->file(u"Magazzino.pro"_s), cards);
    Recorder rec;
    const bool expected[] = {true, true, false, false};
    click(m_screen->cmdPrimo);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(m_screen->lblPosizione->text(), QString::number(i + 1));
        QCOMPARE(m_screen->chkPagato->isChecked(), expected[i]);
        click(m_screen->cmdAvanti);
    }
}

void CardScreen::reopeningShowsNewCard()
{
    writeArchive(m_folder->file(u"Magazzino.pro"_s), {card(1), card(2), card(3)});
    Recorder rec;
    click(m_screen->cmdUltimo);
    QCOMPARE(m_screen->lblPosizione->text(), u"3"_s);

    click(m_screen->btnEsci);
    QVERIFY(m_screen->isHidden());
    QVERIFY(m_hub->isVisible());

    m_hub->hide();
    m_screen->show();
    QCOMPARE(m_screen->lblPosizione->text(), QString());
    QCOMPARE(m_screen->txtNome->text(), QString());

    // The close box returns to the hub exactly as the exit button does.
    m_screen->close();
    QVERIFY(m_screen->isHidden());
    QVERIFY(m_hub->isVisible());
    QVERIFY(rec.take().isEmpty());
}

void CardScreen::accessFailureKeepsTheCard()
{
    writeArchive(m_folder->file(u"Magazzino.pro"_s), {card(1), card(2)});
    Recorder rec;
    click(m_screen->cmdPrimo);
    ProgramFolder::setForTests(m_folder->file(u"gone"_s));
    const QString error = TfrmMagazzino::accessError();
    QVERIFY(error.contains(u"archivio.\n\r\n\rAccertarsi"_s));
    for (PictureButton *b : {m_screen->cmdPrimo, m_screen->cmdUltimo, m_screen->cmdAvanti}) {
        click(b);
        QVERIFY(rec.showedOnly(Recorder::Kind::Error, error));
        QCOMPARE(m_screen->lblPosizione->text(), u"1"_s);
        QCOMPARE(m_screen->txtCodice->text(), u"C1"_s);
    }
    QVERIFY(!QFile::exists(m_folder->file(u"gone"_s)));
}

void CardScreen::limitsAndNames()
{
    const std::pair<const char *, int> limits[] = {
        {"txtCodice", 25},       {"txtCosto", 12},
        {"txtNome", 50},         {"txtGiacenza", 4},
        {"txtAvviso", 3},        {"txtUM", 120},
        {"txtTipologia", 50},    {"txtCaratteristiche", 250},
        {"txtCollocazione", 50}, {"txtDitta", 50},
        {"txtAgente", 50},       {"txtRecapito", 30},
        {"txtDocumento", 50},    {"txtPagamento", 50},
        {"txtDataSca", 10},      {"txtNote", 250},
        {"txtPrezzo", 12}};
    for (const auto &[name, limit] : limits) {
        auto *field = m_screen->findChild<QLineEdit *>(QString::fromLatin1(name));
        QVERIFY2(field, name);
        QCOMPARE(field->maxLength(), limit);
        // Each field is named by its caption label, for screen readers.
        auto *label = m_screen->findChild<QLabel *>(u"lbl"_s + QString::fromLatin1(name + 3));
        QVERIFY2(label && label->buddy() == field, name);
    }
    QVERIFY(m_screen->txtDataSca->isReadOnly());
    for (PictureButton *b : m_screen->findChildren<PictureButton *>()) {
        QCOMPARE(b->focusPolicy(), Qt::NoFocus);
        QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY2(!b->accessibleName().isEmpty(), qPrintable(b->objectName()));
    }
    QCOMPARE(m_screen->findChildren<PictureButton *>().size(), 22);
}

void CardScreen::hoverHints()
{
    QLabel *status = m_screen->panInfo;
    QCOMPARE(status->text(), u"Pronto per archiviare una nuova scheda..."_s);
    QVERIFY(QTest::qWaitForWindowExposed(m_screen));

    QTest::mouseMove(m_screen->btnSalva);
    QTRY_COMPARE(status->text(), u"Salva la scheda corrente."_s);
    QTest::mouseMove(m_screen->txtNome);
    QTest::qWait(20);
    QCOMPARE(status->text(), u"Salva la scheda corrente."_s);
    QTest::mouseMove(m_screen->txtDataSca);
    QTRY_VERIFY(status->text().startsWith(u"Fai clic su questo campo"_s));
    QTest::mouseMove(m_screen->panel(), QPoint(385, 600));
    QTRY_COMPARE(status->text(), QString());
    QCOMPARE(m_screen->btnEsci->accessibleDescription(), u"Esci da questa schermata di lavoro."_s);
}

SCAFFARIA_TEST(CardScreen)
#include "tst_cardscreen.moc"
