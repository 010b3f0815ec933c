#include "common/navigation.h"
#include "support/testmain.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Navigation::Move;
using Navigation::Step;

Q_DECLARE_METATYPE(Navigation::Step)
Q_DECLARE_METATYPE(Navigation::Move::Kind)

class NavigationRule final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void step_data();
    void step();
};

void NavigationRule::step_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<Move::Kind>("kind");
    QTest::addColumn<qint64>("target");
    QTest::addColumn<bool>("clearPosition");
    QTest::addColumn<bool>("counted");

    const auto show = Move::Kind::Show;
    const auto stay = Move::Kind::Stay;
    const auto empty = Move::Kind::Empty;
    QTest::newRow("first") << Step::First << u"3"_s << qint64(5) << show << qint64(1) << false
                           << true;
    QTest::newRow("last") << Step::Last << u""_s << qint64(5) << show << qint64(5) << false << true;
    QTest::newRow("next") << Step::Next << u"3"_s << qint64(5) << show << qint64(4) << false
                          << true;
    QTest::newRow("next from a new record")
        << Step::Next << u""_s << qint64(5) << show << qint64(1) << false << true;
    QTest::newRow("next on the last")
        << Step::Next << u"5"_s << qint64(5) << stay << qint64(0) << false << true;
    QTest::newRow("previous") << Step::Previous << u"3"_s << qint64(5) << show << qint64(2) << false
                              << true;
    QTest::newRow("previous from a new record")
        << Step::Previous << u""_s << qint64(5) << show << qint64(1) << false << true;
    QTest::newRow("previous on the first, not counted")
        << Step::Previous << u"1"_s << qint64(0) << stay << qint64(0) << false << false;
    QTest::newRow("previous past the end of a shrunk file")
        << Step::Previous << u"9"_s << qint64(4) << show << qint64(4) << false << true;
    QTest::newRow("next past the end of a shrunk file")
        << Step::Next << u"9"_s << qint64(4) << stay << qint64(0) << false << true;
    for (Step s : {Step::First, Step::Last, Step::Previous})
        QTest::addRow("empty file, step %d", int(s))
            << s << u"2"_s << qint64(0) << empty << qint64(0) << false << true;
    QTest::newRow("empty file, next empties the position")
        << Step::Next << u"2"_s << qint64(0) << empty << qint64(0) << true << true;
}

void NavigationRule::step()
{
    QFETCH(Step, step);
    QFETCH(QString, shown);
    QFETCH(qint64, count);
    QFETCH(Move::Kind, kind);
    QFETCH(qint64, target);
    QFETCH(bool, clearPosition);
    QFETCH(bool, counted);

    bool asked = false;
    const Move move = Navigation::step(step, shown, [&] {
        asked = true;
        return count;
    });
    QCOMPARE(move.kind, kind);
    if (kind == Move::Kind::Show)
        QCOMPARE(move.target, target);
    QCOMPARE(move.clearPosition, clearPosition);
    QCOMPARE(asked, counted);
}

SCAFFARIA_TEST(NavigationRule)
#include "tst_navigation.moc"
