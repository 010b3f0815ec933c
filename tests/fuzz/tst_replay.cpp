#include "fuzz/targets.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

// Replays the inputs that once made a fuzz target fail (a crash, a sanitizer report or a
// broken rule), kept in tests/data/fuzz/<target>/, through the same target bodies the
// fuzzers run.
class FuzzReplay final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void replay_data();
    void replay();
};

void FuzzReplay::initTestCase()
{
    // Every target has its folder, so a target whose inputs went missing shows here.
    for (const FuzzTargets::Target &target : FuzzTargets::all()) {
        const QDir dir(QStringLiteral(SCAFFARIA_TEST_DATA "/fuzz/") +
                       QLatin1StringView(target.name));
        QVERIFY2(!dir.entryList(QDir::Files).isEmpty(), qPrintable(dir.path()));
    }
}

void FuzzReplay::replay_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("file");
    const auto targets = FuzzTargets::all();
    for (std::size_t t = 0; t < targets.size(); ++t) {
        const QString name = QLatin1StringView(targets[t].name);
        const QDir dir(QStringLiteral(SCAFFARIA_TEST_DATA "/fuzz/") + name);
        for (const QString &file : dir.entryList(QDir::Files, QDir::Name)) {
            const QString row = name + u'/' + file;
            QTest::newRow(qPrintable(row)) << static_cast<int>(t) << dir.filePath(file);
        }
    }
}

void FuzzReplay::replay()
{
    QFETCH(int, target);
    QFETCH(QString, file);
    QFile input(file);
    QVERIFY2(input.open(QIODevice::ReadOnly), qPrintable(file));
    const QByteArray bytes = input.readAll();
    const FuzzTargets::Target &t = FuzzTargets::all()[static_cast<std::size_t>(target)];
    const QString failure = t.body(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size()));
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

SCAFFARIA_TEST(FuzzReplay)
#include "tst_replay.moc"
