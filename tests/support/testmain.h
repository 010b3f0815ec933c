#pragma once

#include <QObject>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// Each test file registers its test classes; the area's executable runs them all.
// Names on its command line select what runs: a test function (with a data tag after a
// colon, as Qt Test takes it) runs in the class that has it, a class name runs that whole
// class. A name that matches neither fails the run before any test starts.
namespace TestMain {
void add(const char *name, const QMetaObject *meta, std::function<std::unique_ptr<QObject>()> make);
// Runs what the command line selects, inside the application object that the
// executable's main made.
int runAll(int argc, char **argv);
} // namespace TestMain

#define SCAFFARIA_TEST(Class)                                                                      \
    static const bool registered_##Class = [] {                                                    \
        TestMain::add(#Class, &Class::staticMetaObject,                                            \
                      [] { return std::unique_ptr<QObject>(std::make_unique<Class>()); });         \
        return true;                                                                               \
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

// The most memory the process held at once since construction, beyond what it held then:
// the system's peak is reset at the start, so earlier tests do not count.
class PeakMemory
{
public:
    PeakMemory();
    qint64 grownMiB() const;

private:
    qint64 m_startKiB = 0;
};

class QWidget;
// Screen tests only. Runs an action on the next modal window as soon as it is open (it runs inside
// the window's own event loop), so a test can drive a dialog that its opener runs modally.
void onNextModal(std::function<void(QWidget *modal)> action);
