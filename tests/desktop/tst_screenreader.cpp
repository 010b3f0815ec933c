#include "app/startup.h"
#include "common/photoframe.h"
#include "common/screens.h"
#include "pricelist/archiviolistino.h"
#include "pricelist/listinoprezzi.h"
#include "pricelist/slotlistino.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/calendario.h"
#include "warehouse/magazzino.h"
#include "warehouse/schedaprodotto.h"

#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// An accessibility event as it left the program, read when it was sent.
struct Heard {
    QAccessible::Event type;
    QObject *object;
    QAccessible::Role role;
    QString name;
    QString value;
};

QList<Heard> &heard()
{
    static QList<Heard> events;
    return events;
}

void listen(QAccessibleEvent *event)
{
    QAccessibleInterface *iface = event->accessibleInterface();
    heard().append({event->type(), event->object(), iface ? iface->role() : QAccessible::NoRole,
                    iface ? iface->text(QAccessible::Name) : QString(),
                    iface ? iface->text(QAccessible::Value) : QString()});
}

QList<Heard> heardOf(QAccessible::Event type)
{
    QList<Heard> found;
    for (const Heard &h : std::as_const(heard()))
        if (h.type == type)
            found.append(h);
    return found;
}

TSchedaProdotto card(int n)
{
    TSchedaProdotto c;
    c.Codice = u"C%1"_s.arg(n);
    c.Nome = u"Prodotto %1"_s.arg(n);
    c.Pagato = u"No"_s;
    return c;
}

TPaginaListino page(int n)
{
    TPaginaListino p;
    for (TVoceListino &v : p.Voci)
        v = TVoceListino::empty();
    p.Voci[0].Nome = u"Pagina %1"_s.arg(n);
    return p;
}

} // namespace

// On a real X server with a window manager, the accessibility bus and its registry running
// and accessibility switched on as a screen reader switches it: what a screen reader is
// told about the screens' objects and about the moves between records.
class ScreenReader final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    // First: the screens of its test are the first ones the process builds.
    void photosArePictures();
    void calendarDaysReadTheirDate_data();
    void calendarDaysReadTheirDate();
    void calendarMoveNamesTheDay_data();
    void calendarMoveNamesTheDay();
    void movesAreAnnounced_data();
    void movesAreAnnounced();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

void ScreenReader::initTestCase()
{
    QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
    QAccessible::installUpdateHandler(listen);
}

void ScreenReader::cleanupTestCase() { QAccessible::installUpdateHandler(nullptr); }

void ScreenReader::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    createScreens();
    heard().clear();
}

void ScreenReader::cleanup()
{
    heard().clear();
    destroyScreens();
    m_folder.reset();
}

// Every photo frame is a picture with its name, the first one the program makes as much as
// the others.
void ScreenReader::photosArePictures()
{
    QList<PhotoFrame *> frames = screens().listinoPrezzi->findChildren<PhotoFrame *>();
    QCOMPARE(frames.size(), 8);
    frames += screens().magazzino->findChildren<PhotoFrame *>();
    for (PhotoFrame *frame : std::as_const(frames)) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(frame);
        QVERIFY(iface);
        QVERIFY2(iface->role() == QAccessible::Graphic, qPrintable(frame->objectName()));
        QCOMPARE(iface->text(QAccessible::Name), frame->accessibleName());
        QVERIFY(!frame->accessibleName().isEmpty());
    }
}

// December 2026 starts on a Tuesday: the grid, weeks from Monday, opens with the last day
// of November and ends with the tenth of January.
void ScreenReader::calendarDaysReadTheirDate_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    // Row 0 holds the day names, column 0 the week numbers.
    QTest::newRow("month before") << 1 << 1 << u"30 novembre 2026"_s << int(QAccessible::Cell);
    QTest::newRow("first of month") << 1 << 2 << u"1 dicembre 2026"_s << int(QAccessible::Cell);
    QTest::newRow("chosen day") << 3 << 6 << u"19 dicembre 2026"_s << int(QAccessible::Cell);
    QTest::newRow("month after") << 6 << 7 << u"10 gennaio 2027"_s << int(QAccessible::Cell);
    QTest::newRow("day name") << 0 << 1 << QString() << int(QAccessible::ColumnHeader);
    QTest::newRow("week number") << 3 << 0 << u"51"_s << int(QAccessible::RowHeader);
}

void ScreenReader::calendarDaysReadTheirDate()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, name);
    QFETCH(int, role);
    TfrmCalendario calendar(screens().magazzino);
    calendar.calAppuntamenti->setSelectedDate(QDate(2026, 12, 19));
    calendar.show();
    auto *days = calendar.calAppuntamenti->findChild<QTableView *>(u"qt_calendar_calendarview"_s);
    QVERIFY(days);
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(days);
    QVERIFY(grid && grid->tableInterface());
    QCOMPARE(grid->role(), QAccessible::Table);
    QCOMPARE(grid->text(QAccessible::Name), u"Giorni del mese"_s);
    QAccessibleInterface *cell = grid->tableInterface()->cellAt(row, column);
    QVERIFY(cell);
    QCOMPARE(int(cell->role()), role);
    if (!name.isEmpty())
        QCOMPARE(cell->text(QAccessible::Name), name);
    else
        QCOMPARE(cell->text(QAccessible::Name),
                 days->model()->index(row, column).data().toString());
    QCOMPARE(cell->parent(), grid);
    QCOMPARE(grid->child(grid->indexOfChild(cell)), cell);
    // A screen reader walking the grid meets no hole and finds each child where it was.
    for (int i = 0; i < grid->childCount(); ++i) {
        QAccessibleInterface *child = grid->child(i);
        QVERIFY(child && child->isValid());
        QCOMPARE(grid->indexOfChild(child), i);
    }
}

// A key that moves the chosen day sends a focus event for the cell of the new day, which
// reads its full date, a new month's grid included.
void ScreenReader::calendarMoveNamesTheDay_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("name");
    QTest::newRow("right") << int(Qt::Key_Right) << u"20 dicembre 2026"_s;
    QTest::newRow("up") << int(Qt::Key_Up) << u"12 dicembre 2026"_s;
    QTest::newRow("end") << int(Qt::Key_End) << u"31 dicembre 2026"_s;
    QTest::newRow("page down") << int(Qt::Key_PageDown) << u"19 gennaio 2027"_s;
}

void ScreenReader::calendarMoveNamesTheDay()
{
    QFETCH(int, key);
    QFETCH(QString, name);
    TfrmMagazzino *cards = screens().magazzino;
    cards->showMaximized();
    QVERIFY(QTest::qWaitForWindowActive(cards));
    TfrmCalendario calendar(cards);
    calendar.calAppuntamenti->setSelectedDate(QDate(2026, 12, 19));
    calendar.show();
    QVERIFY(QTest::qWaitForWindowActive(&calendar));
    auto *days = calendar.calAppuntamenti->findChild<QTableView *>(u"qt_calendar_calendarview"_s);
    QVERIFY(days);
    days->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(days->hasFocus());
    heard().clear();
    QTest::keyClick(days, Qt::Key(key));
    QTRY_VERIFY(!heardOf(QAccessible::Focus).isEmpty());
    const Heard focused = heardOf(QAccessible::Focus).constLast();
    QCOMPARE(focused.object, days);
    QCOMPARE(focused.role, QAccessible::Cell);
    QCOMPARE(focused.name, name);
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(days);
    QVERIFY(grid->focusChild());
    QCOMPARE(grid->focusChild()->text(QAccessible::Name), name);
}

// Pag su, Pag giù and the ends' keys, pressed in a field, show another card or page: the
// position label announces the new position, and the field is announced again with the
// new record's value.
void ScreenReader::movesAreAnnounced_data()
{
    QTest::addColumn<bool>("pages");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("to");
    QTest::newRow("card, Pag giù") << false << 1 << int(Qt::Key_PageDown) << 0 << 2;
    QTest::newRow("card, Pag su") << false << 3 << int(Qt::Key_PageUp) << 0 << 2;
    QTest::newRow("card, last") << false << 1 << int(Qt::Key_End) << int(Qt::ControlModifier) << 3;
    QTest::newRow("page, Pag giù") << true << 1 << int(Qt::Key_PageDown) << 0 << 2;
    QTest::newRow("page, first") << true << 3 << int(Qt::Key_Home) << int(Qt::ControlModifier) << 1;
}

void ScreenReader::movesAreAnnounced()
{
    QFETCH(bool, pages);
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, to);
    Recorder rec;
    QWidget *screen = nullptr;
    QLabel *position = nullptr;
    QLineEdit *field = nullptr;
    QString expected;
    if (pages) {
        TfrmListinoPrezzi *sheet = screens().listinoPrezzi;
        const QString list = m_folder->file(u"Dolci.lis"_s);
        QFile f(list);
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (int n = 1; n <= 3; ++n)
            f.write(page(n).encode());
        f.close();
        sheet->lblFile->setText(list);
        sheet->lblNome->setText(u"Dolci"_s);
        screen = sheet;
        position = sheet->lblPosizione;
        field = sheet->findChild<SlotListino *>(u"shpVoce_A"_s)->txtNome;
        expected = u"Pagina %1"_s.arg(to);
    } else {
        TfrmMagazzino *cards = screens().magazzino;
        QFile f(m_folder->file(u"Magazzino.pro"_s));
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (int n = 1; n <= 3; ++n)
            f.write(card(n).encode());
        f.close();
        screen = cards;
        position = cards->lblPosizione;
        field = cards->txtNome;
        expected = u"Prodotto %1"_s.arg(to);
    }
    // A screen shown opens on a new record; the record to start from comes after.
    screen->showMaximized();
    QVERIFY(QTest::qWaitForWindowActive(screen));
    if (pages)
        screens().listinoPrezzi->MostraPagina(page(from), from);
    else
        screens().magazzino->MostraScheda(card(from), from);
    field->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), field);
    heard().clear();
    QTest::keyClick(field, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    // The move runs once the key's own handling is over.
    QTRY_COMPARE(position->text(), QString::number(to));
    QCOMPARE(field->text(), expected);

    bool positionHeard = false;
    for (const Heard &h : heardOf(QAccessible::NameChanged))
        positionHeard = positionHeard || (h.object == position && h.name == QString::number(to));
    QVERIFY(positionHeard);
    const QList<Heard> focused = heardOf(QAccessible::Focus);
    QVERIFY(!focused.isEmpty());
    QCOMPARE(focused.constLast().object, field);
    QCOMPARE(focused.constLast().value, expected);
    QVERIFY(rec.unexpected.isEmpty());
}

SCAFFARIA_TEST(ScreenReader)
#include "tst_screenreader.moc"
