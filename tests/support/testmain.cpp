#include "testmain.h"

#include "common/programfolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QMetaMethod>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {
struct Entry {
    const char *name;
    const QMetaObject *meta;
    std::function<std::unique_ptr<QObject>()> make;
};
std::vector<Entry> &entries()
{
    static std::vector<Entry> list;
    return list;
}

// Qt Test's options that take the next argument as their value.
bool takesValue(const QByteArray &option)
{
    static const QByteArrayList withValue = {"-o",          "-maxwarnings",  "-eventdelay",
                                             "-keydelay",   "-mousedelay",   "-seed",
                                             "-repeat",     "-minimumvalue", "-minimumtotal",
                                             "-iterations", "-median",       "-perfcounter"};
    return withValue.contains(option);
}

// The command line split into Qt Test's options (with their values, in order) and the
// names that select what runs.
struct CommandLine {
    QByteArrayList options;
    QByteArrayList names;
    bool listing = false; // -functions or -datatags: Qt Test prints and ends the process
};

CommandLine split(int argc, char **argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (!arg.startsWith('-')) {
            line.names.append(arg);
            continue;
        }
        line.options.append(arg);
        line.listing = line.listing || arg == "-functions" || arg == "-datatags";
        if (takesValue(arg) && i + 1 < argc)
            line.options.append(QByteArray(argv[++i]));
    }
    return line;
}

// A test function of the class: a slot without arguments, as Qt Test runs them.
bool hasTestFunction(const QMetaObject &meta, const QByteArray &function)
{
    const int index = meta.indexOfMethod(function + "()");
    return index >= 0 && meta.method(index).methodType() == QMetaMethod::Slot;
}

// The names on the command line that the entry runs; nullopt when it does not run. An
// empty list runs the whole class.
std::optional<QByteArrayList> selection(const Entry &entry, const QByteArrayList &names)
{
    if (names.isEmpty() || names.contains(QByteArray(entry.name)))
        return QByteArrayList();
    QByteArrayList own;
    for (const QByteArray &name : names) {
        const qsizetype colon = name.indexOf(':');
        if (hasTestFunction(*entry.meta, colon < 0 ? name : name.left(colon)))
            own.append(name);
    }
    if (own.isEmpty())
        return std::nullopt;
    return own;
}

// Runs one class with the options and its own names, as Qt Test's own main would.
int run(const Entry &entry, const QByteArray &program, const QByteArrayList &options,
        const QByteArrayList &names)
{
    QByteArrayList args = QByteArrayList{program} + options + names;
    std::vector<char *> argv;
    for (QByteArray &arg : args)
        argv.push_back(arg.data());
    const std::unique_ptr<QObject> test = entry.make();
    return QTest::qExec(test.get(), static_cast<int>(argv.size()), argv.data());
}

// Qt Test ends the process once it has listed one class's functions or data tags, so
// each selected class lists in a process of its own, selected by its name.
int listEach(const std::vector<const Entry *> &selected, const QByteArrayList &options)
{
    QStringList common;
    for (const QByteArray &option : options)
        common.append(QString::fromLocal8Bit(option));
    int failures = 0;
    for (const Entry *entry : selected) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    QStringList{QString::fromLatin1(entry->name)} + common);
        if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
            child.exitCode() != 0)
            ++failures;
    }
    return failures;
}
} // namespace

void TestMain::add(const char *name, const QMetaObject *meta,
                   std::function<std::unique_ptr<QObject>()> make)
{
    entries().push_back({name, meta, std::move(make)});
}

namespace {
qint64 statusKiB(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').first().toLongLong();
    return 0;
}
} // namespace

PeakMemory::PeakMemory()
{
    // "5" resets the peak to what the process holds now.
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (reset.open(QIODevice::WriteOnly))
        reset.write("5");
    m_startKiB = statusKiB("VmRSS:");
}

qint64 PeakMemory::grownMiB() const { return (statusKiB("VmHWM:") - m_startKiB) / 1024; }

TempProgramFolder::TempProgramFolder() { ProgramFolder::setForTests(m_dir.path()); }
TempProgramFolder::~TempProgramFolder() { ProgramFolder::setForTests(QString()); }

int TestMain::runAll(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);
    const CommandLine line = split(argc, argv);

    // Every name must select something: a mistyped one would otherwise run nothing and
    // report success.
    bool unknown = false;
    for (const QByteArray &name : line.names) {
        const bool known = std::any_of(entries().begin(), entries().end(), [&](const Entry &e) {
            return selection(e, {name}).has_value();
        });
        if (!known) {
            std::fprintf(stderr, "Unknown test function or class: '%s'\n", name.constData());
            unknown = true;
        }
    }
    if (unknown) {
        std::fprintf(stderr, "Test classes here:");
        for (const Entry &entry : entries())
            std::fprintf(stderr, " %s", entry.name);
        std::fprintf(stderr, "\n");
        return 1;
    }

    std::vector<const Entry *> selected;
    for (const Entry &entry : entries()) {
        if (selection(entry, line.names))
            selected.push_back(&entry);
    }
    if (line.listing && selected.size() > 1)
        return listEach(selected, line.options) == 0 ? 0 : 1;

    int failures = 0;
    for (const Entry *entry : selected)
        failures += run(*entry, QByteArray(argv[0]), line.options, *selection(*entry, line.names));
    return failures == 0 ? 0 : 1;
}
