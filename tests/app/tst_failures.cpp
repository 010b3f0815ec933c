#include "common/dialogs.h"
#include "support/recorder.h"
#include "support/testmain.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {
// A handler that fails while handling an event: with a failure of the program's own,
// worded for the user, or with one of the standard library's, worded in English.
class FailingHandler final : public QObject
{
public:
    bool own = true;
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User) {
            if (own)
                throw UserFailure(u"Attenzione: il valore 'abc' non è un numero valido"_s);
            throw std::invalid_argument("stod");
        }
        return QObject::event(e);
    }
};
} // namespace

class UncaughtFailures final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shownInPlainBoxAndProgramGoesOn_data();
    void shownInPlainBoxAndProgramGoesOn();
};

void UncaughtFailures::shownInPlainBoxAndProgramGoesOn_data()
{
    QTest::addColumn<bool>("own");
    QTest::addColumn<QString>("shown");
    QTest::newRow("own text, full stop added")
        << true << u"Attenzione: il valore 'abc' non è un numero valido."_s;
    QTest::newRow("library's text never shown")
        << false
        << u"Attenzione: si è verificato un errore imprevisto e l'operazione non è "
           u"stata completata."_s;
}

void UncaughtFailures::shownInPlainBoxAndProgramGoesOn()
{
    QFETCH(bool, own);
    QFETCH(QString, shown);
    Recorder rec;
    FailingHandler handler;
    handler.own = own;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&handler, &event);
    QVERIFY(rec.showedOnly(Recorder::Kind::Plain, shown));
    // The next event is handled as usual.
    QEvent again(QEvent::User);
    QCoreApplication::sendEvent(&handler, &again);
    QCOMPARE(rec.take().size(), 1);
}

SCAFFARIA_TEST(UncaughtFailures)
#include "tst_failures.moc"
