#pragma once

#include <QObject>
#include <QTemporaryDir>

#include <functional>

// Each test file registers its test classes; the area's executable runs them all.
namespace TestMain {
void add(const char *name, std::function<QObject *()> make);
// Runs the registered classes inside the application object the executable's main made.
int run(int argc, char **argv);
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

class QWidget;
// Screen tests only. Runs an action on the next modal window as soon as it is open (it runs inside the
// window's own event loop), so a test can drive a dialog that its opener runs modally.
void onNextModal(std::function<void(QWidget *modal)> action);
