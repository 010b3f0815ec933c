#include "common/dialogs.h"
#include "common/longwork.h"
#include "support/testmain.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// What the screen showed while the work ran, sampled on the user-interface thread.
struct Seen {
    int ticks = 0;
    QString text;
    int bar = -1;
    bool modal = false;
};

QWidget *progressWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == u"frmAvanzamento"_s && w->isVisible())
            return w;
    }
    return nullptr;
}

} // namespace

// Long work on a worker thread behind a progress window.
class LongWorkRunner final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void longWorkShowsProgressAndKeepsTheScreenAlive();
    void shortWorkShowsNothingAndTakesNoInput();
    void failureComesBackToTheCaller();
};

void LongWorkRunner::longWorkShowsProgressAndKeepsTheScreenAlive()
{
    QWidget screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    Seen seen;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&seen] {
        ++seen.ticks;
        if (QWidget *window = progressWindow()) {
            seen.text = window->findChild<QLabel *>(u"lblTesto"_s)->text();
            seen.bar = std::max(seen.bar, window->findChild<QProgressBar *>()->value());
            seen.modal = window->isModal();
        }
    });
    sampler.start(20);

    QThread *ui = QThread::currentThread();
    const int steps = 12;
    const bool elsewhere = LongWork::run<bool>(
        &screen, u"Copia di sicurezza dei dati in corso..."_s,
        std::function<bool(const LongWork::Report &)>([ui](const LongWork::Report &report) {
            for (int i = 1; i <= steps; ++i) {
                QThread::msleep(LongWork::windowDelay() / 4);
                report(i, steps);
            }
            return QThread::currentThread() != ui;
        }));
    QVERIFY(elsewhere);
    // The user-interface thread went on with its events the whole time.
    QVERIFY2(seen.ticks > 20, qPrintable(QString::number(seen.ticks)));
    QCOMPARE(seen.text, u"Copia di sicurezza dei dati in corso..."_s);
    QVERIFY(seen.modal);
    QVERIFY2(seen.bar >= 500, qPrintable(QString::number(seen.bar)));
    QVERIFY(!progressWindow());
}

void LongWorkRunner::shortWorkShowsNothingAndTakesNoInput()
{
    QWidget screen;
    auto *button = new QPushButton(u"Salva copia ora"_s, &screen);
    screen.show();
    QApplication::setActiveWindow(&screen);
    QVERIFY(QTest::qWaitForWindowActive(&screen));
    QSignalSpy clicks(button, &QPushButton::clicked);
    bool windowSeen = false;
    QTimer::singleShot(30, button, [&] {
        windowSeen = progressWindow() != nullptr;
        QTest::mouseClick(button, Qt::LeftButton);
    });
    LongWork::run(&screen, u"Ripristino dei dati in corso..."_s,
                  [](const LongWork::Report &) { QThread::msleep(150); });
    QVERIFY(!windowSeen);
    QCOMPARE(clicks.size(), 0);
    // Afterwards the screen takes input again.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks.size(), 1);
}

void LongWorkRunner::failureComesBackToTheCaller()
{
    QWidget screen;
    bool caught = false;
    try {
        LongWork::run(&screen, u"Ripristino dei dati in corso..."_s,
                      [](const LongWork::Report &) { throw UserFailure(u"Disco pieno"_s); });
    } catch (const UserFailure &failure) {
        caught = QString::fromUtf8(failure.what()) == u"Disco pieno"_s;
    }
    QVERIFY(caught);
}

SCAFFARIA_TEST(LongWorkRunner)
#include "tst_longwork.moc"
