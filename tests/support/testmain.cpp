#include "testmain.h"

#include "app/application.h"
#include "common/programfolder.h"

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

int main(int argc, char **argv)
{
    Application app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    int failures = 0;
    for (const Entry &entry : entries()) {
        QObject *test = entry.make();
        failures += QTest::qExec(test, argc, argv);
        delete test;
    }
    return failures == 0 ? 0 : 1;
}
