#include "common/progresswindow.h"
#include "support/testmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <stdexcept>

using namespace Qt::StringLiterals;

// Long work: the wait cursor at once, the window with its text and bar only after the
// delay, the keyboard focus left where it was, the worker's result handed back.
class LongWork final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void uiThreadWork();
    void workerThread();
    void workerFailure();
};

namespace {

Qt::CursorShape cursorNow()
{
    const QCursor *c = QApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
}

} // namespace

void LongWork::uiThreadWork()
{
    QWidget screen;
    auto *field = new QLineEdit(&screen);
    screen.show();
    screen.activateWindow();
    field->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&screen));
    QCOMPARE(QApplication::focusWidget(), field);
    {
        ProgressWindow progress(&screen, u"Lettura dell'archivio in corso..."_s, 200);
        progress.setTotal(100);
        QCOMPARE(cursorNow(), Qt::WaitCursor);
        progress.tick(10);
        QVERIFY(!progress.isVisible());
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 300) {
            QThread::msleep(10);
            // A key typed while the work runs is dropped, as a modal window drops it.
            QCoreApplication::postEvent(field,
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_A, {}, u"a"_s));
            progress.tick(50);
        }
        QVERIFY(progress.isVisible());
        QCOMPARE(progress.label()->text(), u"Lettura dell'archivio in corso..."_s);
        QCOMPARE(progress.bar()->value(), progress.bar()->maximum() / 2);
        // Shown, but the field the user was typing in still has the keyboard.
        QCOMPARE(QApplication::focusWidget(), field);
    }
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(QApplication::focusWidget(), field);
    QCoreApplication::processEvents();
    QCOMPARE(field->text(), QString());
}

void LongWork::workerThread()
{
    QWidget screen;
    auto *field = new QLineEdit(&screen);
    screen.show();
    screen.activateWindow();
    field->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&screen));
    const QThread *ui = QThread::currentThread();
    bool cursorShown = false;
    bool windowShown = false;
    // The user-interface thread keeps running its events while the worker works.
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        cursorShown = cursorShown || cursorNow() == Qt::WaitCursor;
        for (QWidget *w : QApplication::topLevelWidgets())
            windowShown = windowShown ||
                          (w->isVisible() && w->objectName() == u"frmAvanzamento"_s &&
                           w->findChild<QLabel *>()->text() == u"Esportazione in corso..."_s);
    });
    watch.start(10);
    const QString result = ProgressWindow::run(
        &screen, u"Esportazione in corso..."_s,
        [ui](ProgressCount &count) {
            count.setTotal(10);
            for (int i = 1; i <= 10; ++i) {
                QThread::msleep(30);
                count.setDone(i);
            }
            return QThread::currentThread() == ui ? u"ui"_s : u"worker"_s;
        },
        100);
    QCOMPARE(result, u"worker"_s);
    QVERIFY(cursorShown);
    QVERIFY(windowShown);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(QApplication::focusWidget(), field);
}

void LongWork::workerFailure()
{
    // A failure in the worker reaches the caller as it would from work on its own thread.
    bool thrown = false;
    try {
        ProgressWindow::run(nullptr, u"Esportazione in corso..."_s, [](ProgressCount &) -> int {
            throw std::runtime_error("disco pieno");
        });
    } catch (const std::runtime_error &e) {
        thrown = QByteArray(e.what()) == "disco pieno";
    }
    QVERIFY(thrown);
    QVERIFY(!QApplication::overrideCursor());
}

SCAFFARIA_TEST(LongWork)
#include "tst_progress.moc"
