#include "testmain.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <memory>

void onNextModal(std::function<void(QWidget *modal)> action)
{
    QWidget *before = QApplication::activeModalWidget();
    auto *timer = new QTimer;
    timer->setInterval(5);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, before, action, ticks] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == before) {
            // Give up after a few seconds: the test then fails on what it expected.
            if (++*ticks > 1000) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        // The dialog is acted on as a user would meet it: active, its first field focused.
        // Right after exec() shows it the window system may not have activated it yet.
        if (!modal->isActiveWindow()) {
            QApplication::setActiveWindow(modal);
            // A dialog that never becomes active fails the checks that follow, as it should.
            (void)QTest::qWaitForWindowActive(modal);
        }
        const QPointer<QWidget> shown = modal;
        action(modal);
        // A check that failed inside the action left the dialog open: close it, so the
        // test reports its failure instead of waiting for ever in the dialog's exec().
        if (QTest::currentTestFailed() && shown && shown->isVisible())
            shown->close();
    });
    timer->start();
}
