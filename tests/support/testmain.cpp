#include "testmain.h"

#include "app/application.h"
#include "common/programfolder.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

namespace {
struct Entry {
    const char *name;
    std::function<QObject *()> make;
};
std::vector<Entry> &entries()
{
    static std::vector<Entry> list;
    return list;
}
} // namespace

void TestMain::add(const char *name, std::function<QObject *()> make)
{
    entries().push_back({name, std::move(make)});
}

TempProgramFolder::TempProgramFolder() { ProgramFolder::setForTests(m_dir.path()); }
TempProgramFolder::~TempProgramFolder() { ProgramFolder::setForTests(QString()); }

// Runs every registered class. Names of test functions on the command line select the
// classes that have them, so one function can be run from the area's executable.
int main(int argc, char **argv)
{
    Application app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    QStringList requested;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (!arg.startsWith(u'-') && (i == 1 || QString::fromLocal8Bit(argv[i - 1]) != QStringLiteral("-o")))
            requested.append(arg.section(u':', 0, 0));
    }
    int failures = 0;
    for (const Entry &entry : entries()) {
        QObject *test = entry.make();
        bool selected = requested.isEmpty();
        for (const QString &name : requested) {
            const QByteArray signature = name.toLatin1() + "()";
            selected = selected || test->metaObject()->indexOfMethod(signature) >= 0;
        }
        if (selected)
            failures += QTest::qExec(test, argc, argv);
        delete test;
    }
    return failures == 0 ? 0 : 1;
}

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
