#include "app/startup.h"
#include "common/picturebutton.h"
#include "support/testmain.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLineEdit>
#include <QTest>

// Every edit field and every button of the long-lived screens has a name a screen reader
// can say: the caption label as buddy, or an explicit accessible name.
class Accessibility final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void everyControlHasAName_data();
    void everyControlHasAName();

private:
    TempProgramFolder *m_folder = nullptr;
};

void Accessibility::initTestCase()
{
    m_folder = new TempProgramFolder;
    createScreens();
}

void Accessibility::cleanupTestCase()
{
    destroyScreens();
    delete m_folder;
}

void Accessibility::everyControlHasAName_data()
{
    QTest::addColumn<QWidget *>("screen");
    for (const char *name : {"TfrmPassword", "TfrmCambiaPassword", "TfrmAvvio", "TfrmMagazzino",
                             "TfrmMenuRiepilogo", "TfrmCreaCatalogo", "TfrmApriCatalogo",
                             "TfrmListinoPrezzi"}) {
        QWidget *found = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String(name))
                found = top;
        }
        QTest::newRow(name) << found;
    }
}

void Accessibility::everyControlHasAName()
{
    QFETCH(QWidget *, screen);
    QVERIFY(screen);
    int checked = 0;
    const auto name = [](QWidget *w) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        return iface ? iface->text(QAccessible::Name).trimmed() : QString();
    };
    for (QLineEdit *edit : screen->findChildren<QLineEdit *>()) {
        // Line edits inside other controls (spin boxes, combo boxes) are named by them.
        if (qobject_cast<QLineEdit *>(edit->parentWidget()) || edit->objectName().isEmpty())
            continue;
        QVERIFY2(!name(edit).isEmpty(), qPrintable(edit->objectName()));
        ++checked;
    }
    for (QAbstractButton *button : screen->findChildren<QAbstractButton *>()) {
        if (button->objectName().isEmpty())
            continue;
        QVERIFY2(!name(button).isEmpty(), qPrintable(button->objectName()));
        ++checked;
    }
    QVERIFY(checked > 0);
}

SCAFFARIA_TEST(Accessibility)
#include "tst_accessibility.moc"
