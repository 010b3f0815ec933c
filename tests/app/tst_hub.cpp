#include "app/application.h"
#include "app/avvio.h"
#include "app/password.h"
#include "app/startup.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "common/workscreen.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/magazzino.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

// The start hub, the way to the work screens and back, and the ways the program ends.
class Hub final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void tileOpensWorkScreen_data();
    void tileOpensWorkScreen();
    void clickablePictures();
    void siteStripOpensSite();
    void keyboardOnly();
    void minimisedTogether_data();
    void minimisedTogether();
    void programEnds_data();
    void programEnds();
    void italianTranslation();

private:
    TfrmAvvio *hub() const { return screens().avvio; }
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Recorder> m_rec;
};

void Hub::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_rec = std::make_unique<Recorder>();
    createScreens();
    hub()->showMaximized();
}

void Hub::cleanup()
{
    destroyScreens();
    QVERIFY2(m_rec->unexpected.isEmpty(), qPrintable(m_rec->unexpected.join(u", ")));
    m_rec.reset();
    m_folder.reset();
}

void Hub::tileOpensWorkScreen_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("byExitButton");
    QTest::addColumn<QString>("exit");

    const QStringList pictures = {u"imgApp"_s, u"btnApp"_s};
    struct Tile {
        const char *number;
        QString screen;
        QString caption;
        QString exit; // the screen's own exit control
    };
    const QList<Tile> tiles = {
        {"01", u"TfrmMagazzino"_s, u" Scaffaria - Magazzino Prodotti"_s, u"btnEsci"_s},
        {"02", u"TfrmMenuRiepilogo"_s, u" Scaffaria - Inventario Merce"_s, u"imgEsci"_s},
        {"03", u"TfrmCreaCatalogo"_s, u" Scaffaria - Creazione listino prezzi"_s, u"btnAnnulla"_s},
        {"04", u"TfrmApriCatalogo"_s, u" Scaffaria - Apertura listino prezzi"_s, u"btnAnnulla"_s},
    };
    for (const Tile &tile : tiles) {
        for (const QString &kind : pictures) {
            const QString control = kind + QLatin1String(tile.number);
            // The tile picture leaves by the close box, the tile button by the exit button.
            const bool byExit = kind == u"btnApp"_s;
            QTest::newRow(qPrintable(control))
                << control << tile.screen << tile.caption << byExit << tile.exit;
        }
    }
}

void Hub::tileOpensWorkScreen()
{
    QFETCH(QString, control);
    QFETCH(QString, screen);
    QFETCH(QString, caption);
    QFETCH(bool, byExitButton);
    QFETCH(QString, exit);

    auto *tile = hub()->findChild<PictureButton *>(control);
    QVERIFY(tile);
    QTest::mouseClick(tile, Qt::LeftButton);

    WorkScreen *work = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == screen)
            work = qobject_cast<WorkScreen *>(w);
    }
    QVERIFY(work);
    QVERIFY(work->isVisible());
    QVERIFY(work->isMaximized());
    QCOMPARE(work->windowTitle(), caption);
    QVERIFY(!hub()->isVisible());

    if (byExitButton) {
        auto *button = work->findChild<PictureButton *>(exit);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        work->close();
    }
    QVERIFY(!work->isVisible());
    QVERIFY(hub()->isVisible());
    QVERIFY(hub()->isMaximized());
    QVERIFY(m_rec->messages.isEmpty());

    // Opened again, the same long-lived screen comes back.
    QTest::mouseClick(tile, Qt::LeftButton);
    QVERIFY(work->isVisible());
    QVERIFY(!hub()->isVisible());
}

void Hub::clickablePictures()
{
    const QMap<QString, QString> names = {{u"imgInfo"_s, u"Informazioni"_s},
                                          {u"imgGuida"_s, u"Guida"_s},
                                          {u"imgCopyright"_s, u"Crediti"_s},
                                          {u"imgEsci"_s, u"Esci"_s},
                                          {u"icoSito"_s, u"Sito web"_s},
                                          {u"imgApp01"_s, u"Magazzino prodotti"_s},
                                          {u"btnApp04"_s, u"Apri listino esistente"_s}};
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        auto *picture = hub()->findChild<PictureButton *>(it.key());
        QVERIFY2(picture, qPrintable(it.key()));
        QCOMPARE(picture->accessibleName(), it.value());
        QVERIFY(!picture->accessibleDescription().isEmpty());
        QCOMPARE(picture->cursor().shape(), Qt::PointingHandCursor);
        // The tile pictures repeat their buttons' commands and stay out of the Tab chain.
        QCOMPARE(picture->focusPolicy(),
                 it.key().startsWith(u"imgApp"_s) ? Qt::NoFocus : Qt::TabFocus);
    }
    QCOMPARE(hub()->windowTitle(), u" Scaffaria"_s);
}

void Hub::siteStripOpensSite()
{
    QTest::mouseClick(hub()->icoSito, Qt::LeftButton);
    QCOMPARE(m_rec->opened, QStringList{u"http://www.example.com"_s});
    QVERIFY(hub()->isVisible());
}

// With the keyboard alone: the first tile has the focus when the hub shows, Tab and
// Shift+Tab walk the commands in reading order and wrap, Space opens the information
// window and Enter the warehouse.
void Hub::keyboardOnly()
{
    QApplication::setActiveWindow(hub());
    QVERIFY(QTest::qWaitForWindowActive(hub()));
    QCOMPARE(QApplication::focusWidget(), hub()->btnApp01);
    const QList<QWidget *> order = {hub()->btnApp02, hub()->btnApp03,     hub()->btnApp04,
                                    hub()->imgCopie, hub()->imgArchivio,  hub()->imgInfo,
                                    hub()->imgGuida, hub()->imgCopyright, hub()->icoSito,
                                    hub()->imgEsci,  hub()->btnApp01};
    for (QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), hub()->imgEsci);
    // A click on a command never moves the focus.
    QTest::mouseClick(hub()->icoSito, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), hub()->imgEsci);

    hub()->imgInfo->setFocus(Qt::TabFocusReason);
    bool infoShown = false;
    onNextModal([&](QWidget *modal) {
        infoShown = modal->objectName() == u"TfrmInfo"_s;
        modal->close();
    });
    QTest::keyClick(hub()->imgInfo, Qt::Key_Space);
    QVERIFY(infoShown);

    QApplication::setActiveWindow(hub());
    hub()->btnApp01->setFocus(Qt::TabFocusReason);
    QVERIFY(hub()->btnApp01->hasFocus());
    QTest::keyClick(hub()->btnApp01, Qt::Key_Return);
    QVERIFY(screens().magazzino->isVisible());
    QVERIFY(!hub()->isVisible());
}

void Hub::minimisedTogether_data()
{
    QTest::addColumn<bool>("dialogFirst");
    QTest::newRow("dialog minimised, hub restored") << true;
    QTest::newRow("hub minimised, dialog restored") << false;
}

// While a dialog is open, minimising either window takes both away, and restoring either
// brings both back, the hub maximised as before and the dialog active over it.
void Hub::minimisedTogether()
{
    QFETCH(bool, dialogFirst);
    bool checked = false;
    onNextModal([&](QWidget *info) {
        QWidget *first = dialogFirst ? info : hub();
        QWidget *second = dialogFirst ? hub() : info;
        first->setWindowState(first->windowState() | Qt::WindowMinimized);
        QVERIFY(info->isMinimized());
        QVERIFY(hub()->isMinimized());
        second->setWindowState(second->windowState() & ~Qt::WindowMinimized);
        QVERIFY(!info->isMinimized());
        QVERIFY(!hub()->isMinimized());
        QVERIFY(hub()->isMaximized());
        QTRY_COMPARE(QApplication::activeWindow(), info);
        checked = true;
        info->close();
    });
    QTest::mouseClick(hub()->imgInfo, Qt::LeftButton);
    QVERIFY(checked);
}

void Hub::programEnds_data()
{
    QTest::addColumn<std::function<void()>>("leave");
    QTest::newRow("hub close box") << std::function<void()>([] { screens().avvio->close(); });
    QTest::newRow("hub exit icon") << std::function<void()>(
        [] { QTest::mouseClick(screens().avvio->imgEsci, Qt::LeftButton); });
    QTest::newRow("login Esci") << std::function<void()>([] {
        screens().avvio->hide();
        screens().password->show();
        QTest::mouseClick(screens().password->cmdEsci, Qt::LeftButton);
    });
}

void Hub::programEnds()
{
    QFETCH(std::function<void()>, leave);
    // The event loop runs until the application is told to terminate; a guard ends it
    // with another code if that never happens.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    QTimer::singleShot(0, this, leave);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!hub()->isVisible());
    QVERIFY(!screens().password->isVisible());
}

void Hub::italianTranslation()
{
    auto *app = qobject_cast<Application *>(qApp);
    QVERIFY(app);
    QVERIFY(app->loadItalianTranslation());
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), u"&Sì"_s);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Annulla"_s);
    // Texts Qt's translation lacks: the print dialog's page range and the file dialog's
    // type column.
    QCOMPARE(QCoreApplication::translate("QPrintSettingsOutput", "Pages"), u"Pagine"_s);
    QCOMPARE(QFileIconProvider().type(QFileInfo(m_folder->path())), u"Cartella"_s);
    QCOMPARE(QCoreApplication::translate("QPrintSettingsOutput", "Copies"), u"Copie"_s);
}

SCAFFARIA_TEST(Hub)
#include "tst_hub.moc"
