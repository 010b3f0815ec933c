#include "support/recorder.h"
#include "support/testmain.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {
// A handler that fails while handling an event, as a failing conversion would.
class FailingHandler final : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw std::invalid_argument("'abc' is not a valid floating point value");
        return QObject::event(e);
    }
};
} // namespace

class UncaughtFailures final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shownInPlainBoxAndProgramGoesOn();
};

void UncaughtFailures::shownInPlainBoxAndProgramGoesOn()
{
    Recorder rec;
    FailingHandler handler;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&handler, &event);
    QVERIFY(rec.showedOnly(Recorder::Kind::Plain,
                           u"'abc' is not a valid floating point value."_s));
    // The next event is handled as usual.
    QEvent again(QEvent::User);
    QCoreApplication::sendEvent(&handler, &again);
    QCOMPARE(rec.take().size(), 1);
}

SCAFFARIA_TEST(UncaughtFailures)
#include "tst_failures.moc"
