#pragma once

#include <QObject>
#include <QTemporaryDir>

#include <functional>

// Each test file registers its test classes; the area's executable runs them all.
namespace TestMain {
void add(const char *name, std::function<QObject *()> make);
}

#define SCAFFARIA_TEST(Class)                                                              \
    static const bool registered_##Class = [] {                                            \
        TestMain::add(#Class, [] { return static_cast<QObject *>(new Class); });          \
        return true;                                                                       \
    }();

// Points the program folder at a fresh temporary folder for the life of the object.
class TempProgramFolder
{
public:
    TempProgramFolder();
    ~TempProgramFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
