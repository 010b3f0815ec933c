#include "app/startup.h"
#include "common/dialogs.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "support/testmain.h"
#include "warehouse/calendario.h"
#include "warehouse/giacenza.h"
#include "warehouse/magazzino.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// On a real X server with a window manager: whenever a message box, a file dialog or the
// print preview closes, the screen under it is active again and the field that had the
// focus has it, so the keyboard user goes on typing and a screen reader hears the field.
class FocusReturns final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void afterDialog_data();
    void afterDialog();
    void dialogsCentredWithTheirFrame();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

void FocusReturns::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    createScreens();
    TfrmMagazzino *cards = screens().magazzino;
    cards->showMaximized();
    QVERIFY(QTest::qWaitForWindowActive(cards));
}

void FocusReturns::cleanup()
{
    destroyScreens();
    m_folder.reset();
}

void FocusReturns::afterDialog_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::newRow("message box") << u"message"_s;
    QTest::newRow("file dialog") << u"file"_s;
    QTest::newRow("preview") << u"preview"_s;
}

void FocusReturns::afterDialog()
{
    QFETCH(QString, dialog);
    TfrmMagazzino *cards = screens().magazzino;
    const QString photo = m_folder->file(u"foto.jpg"_s);
    QImage(40, 30, QImage::Format_RGB32).save(photo);
    for (int attempt = 0; attempt < 5; ++attempt) {
        cards->txtNome->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), cards->txtNome);
        bool answered = false;
        onNextModal([&](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                QTest::keyClick(box, Qt::Key_Return);
            } else if (auto *files = qobject_cast<QFileDialog *>(modal)) {
                // As a user answers it: the file's path typed into the name field, then Enter.
                auto *name = files->findChild<QLineEdit *>(u"fileNameEdit"_s);
                QVERIFY(name);
                name->setFocus();
                QTest::keyClicks(name, photo);
                QTest::keyClick(name, Qt::Key_Return);
            } else {
                QTest::keyClick(modal, Qt::Key_Escape);
            }
            answered = true;
        });
        if (dialog == u"message")
            Dialogs::plain(cards, u"Prova"_s);
        else if (dialog == u"file")
            cards->btnCaricaFoto->click();
        else
            cards->btnAnteprima->click();
        QVERIFY(answered);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(cards));
        QTRY_COMPARE(QApplication::focusWidget(), cards->txtNome);
        auto *highlight = cards->findChild<QWidget *>(u"effNome"_s);
        QVERIFY(highlight && highlight->isVisible());
        // The keyboard really reaches the field again.
        QTest::keyClicks(QApplication::focusWidget(), u"x"_s);
        QVERIFY(cards->txtNome->text().endsWith(u'x'));
    }
}

// The stock dialog opens in the middle of the screen and the calendar in the middle of the
// card screen, counting the title bar and border the window manager adds.
void FocusReturns::dialogsCentredWithTheirFrame()
{
    TfrmMagazzino *cards = screens().magazzino;
    const auto near = [](QPoint a, QPoint b) { return (a - b).manhattanLength() <= 2; };
    {
        TfrmGiacenza stock(cards);
        stock.show();
        QVERIFY(QTest::qWaitForWindowExposed(&stock));
        // Some window managers frame the window only after it is exposed, and late when the
        // machine is busy with other tests.
        QTRY_VERIFY_WITH_TIMEOUT(stock.frameGeometry() != stock.geometry(), 20000);
        const QPoint middle = stock.screen()->availableGeometry().center();
        QTRY_VERIFY(near(stock.frameGeometry().center(), middle));
    }
    {
        TfrmCalendario calendar(cards);
        calendar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&calendar));
        QTRY_VERIFY(near(calendar.frameGeometry().center(), cards->frameGeometry().center()));
    }
}

SCAFFARIA_TEST(FocusReturns)
#include "tst_focusreturn.moc"
