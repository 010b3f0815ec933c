#include "cards.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "lists/dasaldare.h"
#include "lists/listarighe.h"
#include "lists/menuriepilogo.h"
#include "lists/riepilogo.h"
#include "lists/sottoscorta.h"
#include "lists/trovainelenco.h"
#include "lists/trovamagazzino.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/magazzino.h"

#include <QDir>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

// Selects a line and double-clicks it, as the user does.
void doubleClick(ListaRighe *list, int row)
{
    list->seleziona(row);
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

TSchedaProdotto lowCard(const QString &code, const QString &name, const QString &note = {})
{
    TSchedaProdotto c = Cards::make(code, name, u"0"_s);
    c.Note = note;
    c.Pagato = TSchedaProdotto::paidNo();
    return c;
}

} // namespace

// The list screens driven through their controls: fill, find, double-click back to the
// card screen, the search panels and the inventory.
class ListScreens final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void findSteps();
    void doubleClickShowsLaterEqualCard_data();
    void doubleClickShowsLaterEqualCard();
    void enterOpensSelectedLine();
    void listScreensClose_data();
    void listScreensClose();
    void inventoryOnSmallScreen();
    void searchFromCardScreen();
    void searchOtherTagOnlyCloses();
    void searchArchiveFailure();
    void waitNoticeOnlyWhileWorking_data();
    void waitNoticeOnlyWhileWorking();
    void inventoryFromMenu();
    void inventoryStopsOnBrokenCard();
    void lowStockStopsOnBrokenCard();
    void waitCursorWhileListPrepared_data();
    void waitCursorWhileListPrepared();

private:
    TempProgramFolder *m_folder = nullptr;
    QWidget *m_hub = nullptr;
    TfrmMagazzino *m_cards = nullptr;
};

void ListScreens::init()
{
    m_folder = new TempProgramFolder;
    m_hub = new QWidget;
    screens().hub = m_hub;
    m_cards = new TfrmMagazzino;
    screens().magazzino = m_cards;
    m_cards->show();
}

void ListScreens::cleanup()
{
    screens().magazzino = nullptr;
    screens().hub = nullptr;
    delete m_cards;
    delete m_hub;
    delete m_folder;
}

void ListScreens::findSteps()
{
    Recorder rec;
    {
        // An empty list: the card lists say so in a plain box.
        TfrmSottoscorta empty(m_cards);
        empty.show();
        click(empty.btnTrova);
        QVERIFY(rec.showedOnly(Recorder::Kind::Plain, TrovaInElenco::listaVuota()));
    }

    Cards::write({lowCard(u"A1"_s, u"VITE grande"_s), lowCard(u"B2"_s, u"Dado"_s),
                  lowCard(u"C3"_s, u"Vite piccola"_s), lowCard(u"D4"_s, u"Èlite"_s)});
    TfrmSottoscorta list(m_cards);
    list.show();
    QCOMPARE(list.lstRecords->conta(), 4);
    QCOMPARE(list.lstRecords->selezionata(), -1);
    QCOMPARE(list.focusWidget(), list.txtTrova);

    auto find = [&](const QString &key) {
        list.txtTrova->setText(key);
        click(list.btnTrova);
        return list.lstRecords->selezionata();
    };
    // Both matches in turn, then round to the first again.
    QCOMPARE(find(u"vite"_s), 0);
    QCOMPARE(find(u"vite"_s), 2);
    QCOMPARE(find(u"vite"_s), 0);
    QCOMPARE(find(u"vite"_s), 2);
    // A changed key starts again from the top even though a later line is selected.
    QCOMPARE(find(u"VITE"_s), 0);
    // No match leaves the selection; a small accented letter does not find the capital.
    QCOMPARE(find(u"è"_s), 0);
    QCOMPARE(find(u"È"_s), 3);
    QVERIFY(rec.take().isEmpty());

    // Enter in the find field moves to Trova.
    list.txtTrova->setFocus();
    QTest::keyClick(list.txtTrova, Qt::Key_Return);
    QCOMPARE(list.focusWidget(), list.btnTrova);
}

void ListScreens::doubleClickShowsLaterEqualCard_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");

    QTest::newRow("low stock") << u"btnSottoscorta"_s << u" Materiali in esaurimento"_s;
    QTest::newRow("unpaid") << u"btnScaduti"_s << u" Riepilogo pagamenti non saldati"_s;
}

void ListScreens::doubleClickShowsLaterEqualCard()
{
    QFETCH(QString, button);
    QFETCH(QString, caption);

    // Two cards whose codes differ only beyond the fitted column give equal lines.
    Cards::write({lowCard(u"ABCDEFGHIJKLMNOPQRSTUVWXY1"_s, u"Vite"_s, u"prima"_s),
                  lowCard(u"zz"_s, u"Ultimo"_s),
                  lowCard(u"ABCDEFGHIJKLMNOPQRSTUVWXY2"_s, u"Vite"_s, u"seconda"_s)});
    Recorder rec;
    QStringList lines;
    bool closed = false;
    onNextModal([&](QWidget *modal) {
        QCOMPARE(modal->windowTitle(), caption);
        auto *list = modal->findChild<ListaRighe *>(u"lstRecords"_s);
        lines = list->righe().toList();
        doubleClick(list, 0);
        closed = !modal->isVisible();
        if (!closed)
            modal->close();
    });
    click(m_cards->findChild<PictureButton *>(button));

    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], lines[1]);
    QVERIFY(closed);
    QCOMPARE(m_cards->lblPosizione->text(), u"3"_s);
    QCOMPARE(m_cards->txtNote->text(), u"seconda"_s);
    // No photo file: the placeholder picture.
    QCOMPARE(m_cards->imgFoto->picture(), m_cards->imgBianco->pixmap().toImage());
    QVERIFY(rec.take().isEmpty());
}

// From the keyboard alone: Tab into the list chooses its first line, the arrows move the
// choice, and Enter shows the chosen card at once.
void ListScreens::enterOpensSelectedLine()
{
    Cards::write(
        {lowCard(u"A1"_s, u"Vite"_s, u"prima"_s), lowCard(u"B2"_s, u"Dado"_s, u"seconda"_s)});
    Recorder rec;
    bool closed = false;
    onNextModal([&](QWidget *modal) {
        auto *list = modal->findChild<ListaRighe *>(u"lstRecords"_s);
        QCOMPARE(list->selezionata(), -1);
        list->setFocus(Qt::TabFocusReason);
        QCOMPARE(list->selezionata(), 0);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->selezionata(), 1);
        QTest::keyClick(list, Qt::Key_Up);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        closed = !modal->isVisible();
        if (!closed)
            modal->close();
    });
    click(m_cards->btnSottoscorta);

    QVERIFY(closed);
    QCOMPARE(m_cards->lblPosizione->text(), u"2"_s);
    QCOMPARE(m_cards->txtNote->text(), u"seconda"_s);
    QVERIFY(rec.take().isEmpty());
}

// Every list screen closes the way its Chiudi does, whatever the user closes it with:
// Enter on a focused Chiudi (not the find, which is the default button), Esc, or the window
// manager's close. Nothing is handed to the card screen.
void ListScreens::listScreensClose_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("how");
    for (const QString &opener : {u"btnSottoscorta"_s, u"btnScaduti"_s, u"btnTrova"_s}) {
        for (const QString &how : {u"enter"_s, u"esc"_s, u"close"_s}) {
            const QByteArray tag = (opener + u' ' + how).toUtf8();
            QTest::newRow(tag.constData()) << opener << how;
        }
    }
}

void ListScreens::listScreensClose()
{
    QFETCH(QString, opener);
    QFETCH(QString, how);
    Cards::write({lowCard(u"A1"_s, u"Vite"_s, u"prima"_s)});
    Recorder rec;
    bool closed = false;
    onNextModal([&](QWidget *modal) {
        // The search opens on its criteria, whose way out is Annulla.
        auto *close = modal->findChild<QPushButton *>(u"btnChiudi"_s);
        if (!close || !close->isVisible())
            close = modal->findChild<QPushButton *>(u"btnAnnulla"_s);
        QVERIFY(close);
        if (how == u"enter") {
            close->setFocus(Qt::TabFocusReason);
            QTest::keyClick(close, Qt::Key_Return);
        } else if (how == u"esc") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        } else {
            modal->close();
        }
        closed = !modal->isVisible();
        if (!closed)
            modal->hide();
    });
    click(m_cards->findChild<QAbstractButton *>(opener));
    QVERIFY(closed);
    QCOMPARE(m_cards->lblPosizione->text(), QString());
    QVERIFY(rec.take().isEmpty());
}

// On a 1024 x 768 screen the inventory's total, Trova, Esci and the help picture are all in
// sight without scrolling.
void ListScreens::inventoryOnSmallScreen()
{
    Cards::write({lowCard(u"A1"_s, u"Vite"_s, u"prima"_s)});
    // The test screen is smaller than 1024 x 768, so the inventory is laid out inside a
    // host of that size, as the window manager gives it on a small laptop (title bar
    // taken off).
    QWidget host;
    host.resize(1024, 768 - 24);
    TfrmRiepilogo inventory(&host, TfrmRiepilogo::tuttiGliArticoli());
    inventory.setWindowFlags(Qt::Widget);
    inventory.setGeometry(0, 0, 1024, 768 - 24);
    host.show();
    inventory.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    const QRect visible(0, 0, inventory.width(), inventory.height() - inventory.panInfo->height());
    for (QWidget *w : std::initializer_list<QWidget *>{inventory.lblTotale, inventory.btnTrova,
                                                       inventory.btnEsci, inventory.btnStampa,
                                                       inventory.imgGuida}) {
        const QRect box(w->mapTo(&inventory, QPoint(0, 0)), w->size());
        QVERIFY2(visible.contains(box),
                 qPrintable(w->objectName() + u' ' + QString::number(box.x()) + u',' +
                            QString::number(box.y()) + u' ' + QString::number(box.width()) + u' ' +
                            QString::number(inventory.width())));
    }
    QVERIFY(inventory.lblTotale->text().endsWith(u"0,00"_s));
    inventory.close();
}

void ListScreens::searchFromCardScreen()
{
    TSchedaProdotto a = Cards::make(u"a1-x"_s, u"Vite M4"_s);
    a.Ditta = u"Rossi"_s;
    TSchedaProdotto b = Cards::make(u"A1-Y"_s, u"Viteria"_s);
    b.Ditta = u"Rossi"_s;
    TSchedaProdotto c = Cards::make(u"B2"_s, u"Vite M5"_s);
    c.Ditta = u"Rossi"_s;
    Cards::write({a, b, c});

    Recorder rec;
    QString count;
    bool criteriaGone = false;
    bool waitShownOnPress = false;
    onNextModal([&](QWidget *modal) {
        auto *search = qobject_cast<TfrmTrovaMagazzino *>(modal);
        QVERIFY(search);
        QCOMPARE(search->windowTitle(), u" Trova prodotti in magazzino"_s);
        QCOMPARE(search->lblMemory->text(), u"magazzino"_s);
        QVERIFY(search->panAvvio->isVisible());
        QVERIFY(!search->panContainer->isVisible());
        QCOMPARE(QApplication::focusWidget(), search->txtCodice);
        // Enter walks the ten fields and comes back round; it never searches.
        for (int i = 0; i < 10; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), search->txtCodice);
        QVERIFY(search->findChild<QWidget *>(u"effCampo01"_s)->isVisible());
        search->txtNote->setFocus();
        QTest::keyClick(search->txtNote, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), search->txtCodice);
        QVERIFY(!search->findChild<QWidget *>(u"effCampo04"_s)->isVisible());

        search->txtCodice->setText(u"A1"_s);
        search->txtNome->setText(u"vite "_s);
        search->txtDitta->setText(u"   "_s);
        QTest::mousePress(search->btnCerca, Qt::LeftButton);
        waitShownOnPress = search->lblAttendere->isVisible();
        QTest::mouseRelease(search->btnCerca, Qt::LeftButton);

        criteriaGone = !search->panAvvio->isVisible() && search->panContainer->isVisible();
        count = search->lblTrovate->text();
        QCOMPARE(QApplication::focusWidget(), search->txtTrova);
        doubleClick(search->lstRecords, 0);
    });
    click(m_cards->btnTrova);

    QVERIFY(waitShownOnPress);
    QVERIFY(criteriaGone);
    QCOMPARE(count, u"Il presente riepilogo contiene 1 schede."_s);
    QCOMPARE(m_cards->lblPosizione->text(), u"1"_s);
    QCOMPARE(m_cards->txtCodice->text(), u"a1-x"_s);
    QVERIFY(rec.take().isEmpty());
}

void ListScreens::searchOtherTagOnlyCloses()
{
    Cards::write({Cards::make(u"A"_s, u"Uno"_s)});
    TfrmTrovaMagazzino search(m_cards);
    search.lblMemory->setText(u"listino"_s);
    search.show();
    click(search.btnCerca);
    QCOMPARE(search.lblTrovate->text(), u"Il presente riepilogo contiene 1 schede."_s);
    doubleClick(search.lstRecords, 0);
    QVERIFY(!search.isVisible());
    QCOMPARE(search.lstRecords->conta(), 0);
    QCOMPARE(m_cards->lblPosizione->text(), QString());
}

void ListScreens::searchArchiveFailure()
{
    // An archive that cannot be opened: a folder in its place.
    QVERIFY(QDir(m_folder->path()).mkdir(u"Magazzino.pro"_s));
    Recorder rec;
    TfrmTrovaMagazzino search(m_cards);
    search.show();
    QTest::mousePress(search.btnCerca, Qt::LeftButton);
    QTest::mouseRelease(search.btnCerca, Qt::LeftButton);
    QVERIFY(rec.showedOnly(Recorder::Kind::Plain, TfrmMagazzino::accessError()));
    QVERIFY(search.panAvvio->isVisible());
    // Nothing is searching any more.
    QVERIFY(!search.lblAttendere->isVisible());
}

void ListScreens::waitNoticeOnlyWhileWorking_data()
{
    QTest::addColumn<bool>("inventory");
    QTest::newRow("search, Cerca") << false;
    QTest::newRow("inventory menu, Visualizza") << true;
}

// A press on the button shows the wait notice; released elsewhere it starts nothing, and
// the notice goes again.
void ListScreens::waitNoticeOnlyWhileWorking()
{
    QFETCH(bool, inventory);
    Cards::write({Cards::make(u"A"_s, u"Uno"_s)});
    Recorder rec;
    TfrmTrovaMagazzino search(m_cards);
    TfrmMenuRiepilogo menu;
    screens().menuRiepilogo = &menu;
    const auto forget = qScopeGuard([] { screens().menuRiepilogo = nullptr; });
    QWidget *screen = inventory ? static_cast<QWidget *>(&menu) : &search;
    QPushButton *button = inventory ? menu.btnVisualizza : search.btnCerca;
    QLabel *notice = inventory ? menu.lblAttendere : search.lblAttendere;
    screen->show();
    bool opened = false;
    QTest::mousePress(button, Qt::LeftButton);
    QVERIFY(notice->isVisible());
    // Should the release open the inventory after all, this closes it again.
    QObject guard; // no later test meets the timer
    QTimer::singleShot(0, &guard, [&opened, screen] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != screen) {
            opened = true;
            modal->close();
        }
    });
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-20, -20));
    QVERIFY(!notice->isVisible());
    QTest::qWait(20);
    QVERIFY(!opened);
    QVERIFY(search.panAvvio->isVisible() || inventory);
    QCOMPARE(search.lstRecords->conta(), 0);
    QVERIFY(rec.take().isEmpty());
}

void ListScreens::inventoryFromMenu()
{
    TSchedaProdotto a = Cards::make(u"A"_s, u"Uno"_s, u"3"_s, u"2,50"_s);
    TSchedaProdotto b = Cards::make(u"B"_s, u"Due"_s, u"2"_s, u"1,25"_s);
    TSchedaProdotto other = Cards::make(u"C"_s, u"Tre"_s, u"1"_s, u"100,00"_s);
    other.Tipologia = u"Vernici"_s;
    Cards::write({b, other, a});

    TfrmMenuRiepilogo menu;
    screens().menuRiepilogo = &menu;
    menu.show();
    QCOMPARE(menu.focusWidget(), menu.txtTipologia);
    menu.txtTipologia->setText(u"FERRAM"_s);

    Recorder rec;
    QStringList lines;
    QString category, total, info, title;
    QStringList printed;
    onNextModal([&](QWidget *modal) {
        auto *inventory = qobject_cast<TfrmRiepilogo *>(modal);
        QVERIFY(inventory);
        QVERIFY(menu.lblAttendere->isVisible());
        lines = inventory->lstRecords->righe().toList();
        category = inventory->titTipologia->text();
        total = inventory->lblTotale->text();
        info = inventory->panInfo->text();
        title = inventory->titoloStampa();
        printed = inventory->righeStampa();
        click(inventory->btnEsci);
    });
    click(menu.btnVisualizza);

    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith(u"A  "_s));
    QVERIFY(lines[0].endsWith(u"  Valore: € 7,5"_s));
    QVERIFY(lines[1].endsWith(u"  Valore: € 2,5"_s));
    QCOMPARE(category, u"FERRAM"_s);
    QCOMPARE(total, u"€ 10,00"_s);
    QCOMPARE(info, u"Il presente inventario contiene 2 articoli."_s);
    QCOMPARE(title, u"Inventario merce - Categoria: FERRAM"_s);
    QCOMPARE(printed,
             lines + QStringList({u"--------------------------"_s, u"VALORE TOTALE: € 10,00"_s}));
    // Back on the menu, the filter stays and the wait notice is gone.
    QCOMPARE(menu.txtTipologia->text(), u"FERRAM"_s);
    QVERIFY(!menu.lblAttendere->isVisible());

    // An empty inventory: the find answers with an information box.
    menu.txtTipologia->setText(u"nessuna"_s);
    onNextModal([&](QWidget *modal) {
        auto *inventory = qobject_cast<TfrmRiepilogo *>(modal);
        total = inventory->lblTotale->text();
        click(inventory->btnTrova);
        inventory->close();
    });
    click(menu.btnVisualizza);
    QCOMPARE(total, u"€ 0,00"_s);
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, TrovaInElenco::listaVuota()));
    screens().menuRiepilogo = nullptr;
}

void ListScreens::inventoryStopsOnBrokenCard()
{
    Cards::write({Cards::make(u"A"_s, u"Uno"_s, u"3"_s, u"2,50"_s),
                  Cards::make(u"B"_s, u"Due"_s, u"2"_s, u"1,25"_s),
                  Cards::make(u"X"_s, u"Rotto"_s, u"molti"_s, u"1,00"_s),
                  Cards::make(u"C"_s, u"Tre"_s, u"1"_s, u"1,00"_s)});
    Recorder rec;
    TfrmRiepilogo inventory(nullptr, {});
    inventory.show();
    // The lines before the broken card stay; a total and a count of part of the archive
    // are not shown as if they were the inventory's, and the warning names the card.
    QCOMPARE(inventory.lstRecords->conta(), 2);
    QCOMPARE(inventory.lblTotale->text(), QString());
    QCOMPARE(inventory.panInfo->text(), QString());
    QCOMPARE(inventory.titTipologia->text(), u"Tutti gli articoli in magazzino."_s);
    QVERIFY(rec.showedOnly(Recorder::Kind::Warning,
                           u"Attenzione: la scheda 3 (codice X) contiene un valore non numerico: "
                           u"l'elenco è incompleto."_s));
}

void ListScreens::lowStockStopsOnBrokenCard()
{
    TSchedaProdotto broken = lowCard(u"ROTTA"_s, u"Soglia illeggibile"_s);
    broken.Avviso = u"n/d"_s;
    Cards::write(
        {lowCard(u"A"_s, u"Uno"_s), lowCard(u"B"_s, u"Due"_s), broken, lowCard(u"C"_s, u"Tre"_s)});
    Recorder rec;
    TfrmSottoscorta list(m_cards);
    list.show();
    QCOMPARE(list.lstRecords->conta(), 2);
    QVERIFY(rec.showedOnly(Recorder::Kind::Plain,
                           u"Attenzione: la scheda 3 (codice ROTTA) contiene un valore non "
                           u"numerico: l'elenco è incompleto."_s));
    QCOMPARE(list.focusWidget(), list.txtTrova);
}

void ListScreens::waitCursorWhileListPrepared_data()
{
    QTest::addColumn<QString>("screen");
    QTest::newRow("search") << u"TfrmTrovaMagazzino"_s;
    QTest::newRow("low stock") << u"TfrmSottoscorta"_s;
    QTest::newRow("unpaid") << u"TfrmDaSaldare"_s;
    QTest::newRow("inventory") << u"TfrmRiepilogo"_s;
}

// While a list reads the archive and its lines are put in order, the wait cursor shows;
// it goes when the list is there, and the focus is where the screen puts it.
void ListScreens::waitCursorWhileListPrepared()
{
    QFETCH(QString, screen);
    QList<TSchedaProdotto> cards;
    for (int i = 0; i < 3000; ++i)
        cards.append(lowCard(u"C%1"_s.arg(3000 - i, 5, 10, QChar(u'0')), u"Vite"_s));
    Cards::write(cards);
    Recorder rec;
    std::unique_ptr<QDialog> dialog;
    if (screen == u"TfrmTrovaMagazzino"_s)
        dialog = std::make_unique<TfrmTrovaMagazzino>(m_cards);
    else if (screen == u"TfrmSottoscorta"_s)
        dialog = std::make_unique<TfrmSottoscorta>(m_cards);
    else if (screen == u"TfrmDaSaldare"_s)
        dialog = std::make_unique<TfrmDaSaldare>(m_cards);
    else
        dialog = std::make_unique<TfrmRiepilogo>(m_cards, QString());
    auto *list = dialog->findChild<ListaRighe *>(u"lstRecords"_s);
    QVERIFY(list);
    QList<Qt::CursorShape> shapes;
    connect(list->model(), &QAbstractItemModel::modelReset, this, [&shapes] {
        const QCursor *c = QApplication::overrideCursor();
        shapes.append(c ? c->shape() : Qt::ArrowCursor);
    });
    dialog->show();
    if (auto *search = qobject_cast<TfrmTrovaMagazzino *>(dialog.get()))
        click(search->btnCerca);
    QCOMPARE(list->conta(), 3000);
    QVERIFY(list->righe().at(0).contains(u"C00001 "_s));
    QCOMPARE(shapes, QList<Qt::CursorShape>{Qt::WaitCursor});
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(dialog->focusWidget(), dialog->findChild<QLineEdit *>(u"txtTrova"_s));
    dialog->accept();
    QVERIFY(rec.take().isEmpty());
}

SCAFFARIA_TEST(ListScreens)
#include "tst_listscreens.moc"
