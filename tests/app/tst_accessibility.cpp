#include "app/avvio.h"
#include "app/password.h"
#include "app/startup.h"
#include "common/guida.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "lists/expmagazzino.h"
#include "lists/riepilogo.h"
#include "lists/trovamagazzino.h"
#include "pricelist/listinoprezzi.h"
#include "pricelist/slotlistino.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/allegacartella.h"
#include "warehouse/giacenza.h"
#include "warehouse/magazzino.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

using namespace Qt::StringLiterals;

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
    void labelsReadWhatTheyShow_data();
    void labelsReadWhatTheyShow();
    void captionsLabelTheirValues();
    void commandKeysAreExposed();
    void everyPictureCommandHasAKey_data();
    void everyPictureCommandHasAKey();
    void slotPhotoFromKeyboardAndTree();
    void slotImportFromKeyboard();
    void enterPressesFocusedButton_data();
    void enterPressesFocusedButton();
    void pageCommandsNamePages();

private:
    TempProgramFolder *m_folder = nullptr;
    TfrmRiepilogo *m_inventory = nullptr;
    TfrmGuida *m_help = nullptr;
    TfrmExpMagazzino *m_export = nullptr;
};

void Accessibility::initTestCase()
{
    m_folder = new TempProgramFolder;
    createScreens();
    // Not long-lived, but made the same way each time they open.
    m_inventory = new TfrmRiepilogo(nullptr, TfrmRiepilogo::tuttiGliArticoli());
    m_inventory->setObjectName(u"TfrmRiepilogo"_s);
    m_help = new TfrmGuida(nullptr);
    m_help->setObjectName(u"TfrmGuida"_s);
    m_export = new TfrmExpMagazzino(nullptr);
    m_export->setObjectName(u"TfrmExpMagazzino"_s);
}

void Accessibility::cleanupTestCase()
{
    delete m_export;
    delete m_help;
    delete m_inventory;
    destroyScreens();
    delete m_folder;
}

namespace {

// One row per named top-level window.
void addScreenRows(std::initializer_list<const char *> names)
{
    QTest::addColumn<QWidget *>("screen");
    for (const char *name : names) {
        QWidget *found = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String(name))
                found = top;
        }
        QTest::newRow(name) << found;
    }
}

} // namespace

void Accessibility::everyControlHasAName_data()
{
    addScreenRows({"TfrmPassword", "TfrmCambiaPassword", "TfrmAvvio", "TfrmMagazzino",
                   "TfrmMenuRiepilogo", "TfrmCreaCatalogo", "TfrmApriCatalogo",
                   "TfrmListinoPrezzi"});
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

void Accessibility::labelsReadWhatTheyShow_data()
{
    // The hub shows only pictures.
    addScreenRows({"TfrmPassword", "TfrmCambiaPassword", "TfrmMagazzino", "TfrmMenuRiepilogo",
                   "TfrmCreaCatalogo", "TfrmApriCatalogo", "TfrmListinoPrezzi", "TfrmRiepilogo",
                   "TfrmGuida"});
}

// A label that shows data must be read as that data: a fixed accessible name would hide the
// value (the card position, the total, the status line's hint) behind a caption.
void Accessibility::labelsReadWhatTheyShow()
{
    QFETCH(QWidget *, screen);
    QVERIFY(screen);
    // Values as the screens show them at work, so that empty labels are not all that is seen.
    if (auto *cards = qobject_cast<TfrmMagazzino *>(screen)) {
        cards->lblPosizione->setText(u"3"_s);
        cards->panInfo->setText(u"Salva la scheda corrente."_s);
    } else if (auto *pages = qobject_cast<TfrmListinoPrezzi *>(screen)) {
        pages->lblPosizione->setText(u"2"_s);
    }
    int checked = 0;
    for (QLabel *label : screen->findChildren<QLabel *>()) {
        if (!label->pixmap().isNull())
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(label);
        QVERIFY(iface);
        QString shown = label->text();
        if (Qt::mightBeRichText(shown)) {
            QTextDocument doc;
            doc.setHtml(shown);
            shown = doc.toPlainText();
        }
        QVERIFY2(iface->text(QAccessible::Name) == shown,
                 qPrintable(label->objectName() + u": "_s + iface->text(QAccessible::Name)));
        ++checked;
    }
    QVERIFY(checked > 0);
}

void Accessibility::captionsLabelTheirValues()
{
    m_inventory->lblTotale->setText(u"€ 165,40"_s);
    QAccessibleInterface *total = QAccessible::queryAccessibleInterface(m_inventory->lblTotale);
    QCOMPARE(total->text(QAccessible::Name), u"€ 165,40"_s);
    QStringList captions;
    for (const auto &[caption, relation] : total->relations(QAccessible::Label))
        captions << caption->text(QAccessible::Name);
    QCOMPARE(captions, QStringList{u"Valore totale:"_s});
}

// Assistive technology offers each command's key with its press action.
void Accessibility::commandKeysAreExposed()
{
    TfrmMagazzino *cards = screens().magazzino;
    QAccessibleInterface *save = QAccessible::queryAccessibleInterface(cards->btnSalva);
    QAccessibleActionInterface *action = save->actionInterface();
    QVERIFY(action);
    QCOMPARE(action->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
             QStringList{QKeySequence(Qt::CTRL | Qt::Key_S).toString()});
    QCOMPARE(screens().listinoPrezzi->cmdUltimo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_End));
    QCOMPARE(screens().avvio->findChild<PictureButton *>(u"btnApp04"_s)->shortcut(),
             QKeySequence(Qt::Key_F5));
}

void Accessibility::everyPictureCommandHasAKey_data()
{
    addScreenRows({"TfrmAvvio", "TfrmMagazzino", "TfrmMenuRiepilogo", "TfrmCreaCatalogo",
                   "TfrmApriCatalogo", "TfrmListinoPrezzi", "TfrmRiepilogo", "TfrmExpMagazzino"});
}

// A keyboard user reaches each picture command by its key, or with Tab where it takes the
// focus (the hub's commands). The few without either are reached another way: the hub's
// tile pictures by
// the key of the tile's button, the exit pictures by the window's close box, the web strip
// by the credits window's link, the date's clear icon by Backspace in the date field, a
// slot's import picture by Ctrl+M in the slot, Apri archivio by Enter in the list.
void Accessibility::everyPictureCommandHasAKey()
{
    QFETCH(QWidget *, screen);
    QVERIFY(screen);
    static const QRegularExpression otherWay(
        u"^(imgApp\\d\\d|imgEsci|btnEsci|cmdEsci|icoSito|delDataSca|impProdotto_[A-H]|btnApri)$"_s);
    int checked = 0;
    for (PictureButton *button : screen->findChildren<PictureButton *>()) {
        if (otherWay.match(button->objectName()).hasMatch())
            continue;
        QVERIFY2(!button->shortcut().isEmpty() || (button->focusPolicy() & Qt::TabFocus),
                 qPrintable(button->objectName()));
        ++checked;
    }
    QVERIFY(checked > 0);
}

// A slot's photo frame is chosen with Ctrl+I from any of the slot's fields, the price field
// and its key filter included, or through its press action.
void Accessibility::slotPhotoFromKeyboardAndTree()
{
    TfrmListinoPrezzi *pages = screens().listinoPrezzi;
    auto *slotC = pages->findChild<SlotListino *>(u"shpVoce_C"_s);
    auto *slotD = pages->findChild<SlotListino *>(u"shpVoce_D"_s);
    QVERIFY(slotC && slotD);
    pages->show();
    QApplication::setActiveWindow(pages);
    QVERIFY(QTest::qWaitForWindowActive(pages));
    Recorder rec;
    QSignalSpy chosenC(slotC->imgFoto, &PhotoFrame::clicked);
    QSignalSpy chosenD(slotD->imgFoto, &PhotoFrame::clicked);
    slotC->txtPrezzo->setFocus();
    const QString price = slotC->txtPrezzo->text();
    QTest::keyClick(slotC->txtPrezzo, Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(chosenC.size(), 1);
    QCOMPARE(chosenD.size(), 0);
    QCOMPARE(slotC->txtPrezzo->text(), price);

    QAccessibleInterface *frame = QAccessible::queryAccessibleInterface(slotD->imgFoto);
    QCOMPARE(frame->text(QAccessible::Name), u"Foto prodotto D"_s);
    QVERIFY(frame->actionInterface());
    frame->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(chosenD.size(), 1);
    // Each choice opened the picture dialog, which was cancelled.
    QCOMPARE(rec.fileDialogs.size(), 2);
    pages->hide();
}

// Ctrl+M in a slot's field opens the import screen for that slot, as its import picture does.
void Accessibility::slotImportFromKeyboard()
{
    TfrmListinoPrezzi *pages = screens().listinoPrezzi;
    auto *slotC = pages->findChild<SlotListino *>(u"shpVoce_C"_s);
    QVERIFY(slotC);
    pages->show();
    QApplication::setActiveWindow(pages);
    QVERIFY(QTest::qWaitForWindowActive(pages));
    Recorder rec;
    QString tag;
    onNextModal([&](QWidget *modal) {
        if (auto *memory = modal->findChild<QLabel *>(u"lblMemory"_s))
            tag = memory->text();
        modal->findChild<QPushButton *>(u"btnChiudi"_s)->click();
    });
    slotC->txtNome->setFocus();
    QTest::keyClick(slotC->txtNome, Qt::Key_M, Qt::ControlModifier);
    QTRY_COMPARE(tag, u"prodotto_C"_s);
    pages->hide();
}

// Enter presses the focused button as Space does, whatever kind of window holds it: a
// dialog's button that is not its default, the search's Cerca, the login screen's own
// buttons, a hub command.
void Accessibility::enterPressesFocusedButton_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    const QList<std::pair<const char *, const char *>> buttons = {
        {"TfrmGiacenza", "btnTotale"},
        {"TfrmAllegaCartella", "btnAnnulla"},
        {"TfrmTrovaMagazzino", "btnCerca"},
        {"TfrmPassword", "btnCambiaPassword"},
        {"TfrmAvvio", "btnApp02"}};
    for (const auto &[window, button] : buttons) {
        for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
            const QByteArray tag = QByteArray(window) + ' ' + button +
                                   (key == Qt::Key_Enter ? " keypad" : "");
            QTest::newRow(tag.constData())
                << QString::fromLatin1(window) << QString::fromLatin1(button) << key;
        }
    }
}

void Accessibility::enterPressesFocusedButton()
{
    QFETCH(QString, window);
    QFETCH(QString, button);
    QFETCH(int, key);
    Recorder rec;
    std::unique_ptr<QWidget> dialog;
    QWidget *shown = nullptr;
    if (window == u"TfrmGiacenza")
        dialog = std::make_unique<TfrmGiacenza>(nullptr);
    else if (window == u"TfrmAllegaCartella")
        dialog = std::make_unique<TfrmAllegaCartella>(nullptr);
    else if (window == u"TfrmTrovaMagazzino")
        dialog = std::make_unique<TfrmTrovaMagazzino>(nullptr);
    shown = dialog ? dialog.get()
                   : (window == u"TfrmPassword" ? static_cast<QWidget *>(screens().password)
                                                : static_cast<QWidget *>(screens().avvio));
    shown->show();
    QApplication::setActiveWindow(shown);
    QVERIFY(QTest::qWaitForWindowActive(shown));
    auto *target = shown->findChild<QAbstractButton *>(button);
    QVERIFY(target);
    target->setFocus(Qt::TabFocusReason);
    QVERIFY(target->hasFocus());
    QSignalSpy pressed(target, &QAbstractButton::clicked);
    QTest::keyClick(target, Qt::Key(key),
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(pressed.size(), 1);
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
}

// The page screen's commands are about price-list pages: a screen reader says "pagina",
// never the card screen's "scheda".
void Accessibility::pageCommandsNamePages()
{
    TfrmListinoPrezzi *pages = screens().listinoPrezzi;
    QCOMPARE(pages->findChild<QAbstractButton *>(u"cmdAvanti"_s)->accessibleName(),
             u"Pagina successiva"_s);
    for (const QAbstractButton *button : pages->findChildren<QAbstractButton *>())
        QVERIFY2(!button->accessibleName().contains(u"scheda"_s, Qt::CaseInsensitive),
                 qPrintable(button->objectName()));
}

SCAFFARIA_TEST(Accessibility)
#include "tst_accessibility.moc"
