#include "testmain.h"

#include <QApplication>
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
        action(modal);
    });
    timer->start();
}
