#include "testmain.h"

#include "common/programfolder.h"

#include <QCoreApplication>
#include <QTest>
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
int TestMain::run(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);
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
