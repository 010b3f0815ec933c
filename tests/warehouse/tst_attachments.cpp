#include "cardfixture.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/allegacartella.h"
#include "warehouse/archivio.h"
#include "warehouse/magazzino.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TSchedaProdotto storedCard()
{
    TSchedaProdotto c;
    c.Codice = u"C1"_s;
    c.Costo = c.Prezzo = u"1,00"_s;
    c.Nome = c.UM = c.Tipologia = c.Caratteristiche = u"x"_s;
    c.Pagato = TSchedaProdotto::paidNo();
    c.File01 = u"vecchio.pdf"_s;
    c.Desc01 = u"Scheda tecnica"_s;
    return c;
}

} // namespace

class Attachments final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensWithTheCardTexts_data();
    void opensWithTheCardTexts();
    void attachSaveAndOpenLater();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void removeApplySaveKeepsFile();
    void cancelAfterBrowse();
    void browseRefusalsAndFailures_data();
    void browseRefusalsAndFailures();
    void applyNeedsTheTag();
    void craftedNameOpensNothing_data();
    void craftedNameOpensNothing();
    void plantedLinkLeftUntouched();

private:
    // Opens the dialog from the card screen and runs the action inside it.
    void withDialog(const std::function<void(TfrmAllegaCartella *)> &action);
    QString attached(const QString &name) const
    {
        return m_folder->file(u"Documenti_Allegati/"_s + name);
    }
    QString outside(const QString &name) const { return m_outside.filePath(name); }
    void storeCard();

    TfrmMagazzino *m_screen = nullptr;
    QWidget *m_hub = nullptr;
    TempProgramFolder *m_folder = nullptr;
    std::unique_ptr<CardScreenFixture> m_card;
    QTemporaryDir m_outside;
};

void Attachments::init()
{
    m_card = std::make_unique<CardScreenFixture>();
    m_folder = &m_card->folder;
    m_hub = &m_card->hub;
    m_screen = m_card->screen;
}

void Attachments::cleanup() { m_card.reset(); }

void Attachments::withDialog(const std::function<void(TfrmAllegaCartella *)> &action)
{
    bool seen = false;
    onNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmAllegaCartella *>(modal);
        QVERIFY(dialog);
        seen = true;
        action(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    click(m_screen->btnAllegati);
    QVERIFY(seen);
}

void Attachments::storeCard()
{
    QFile f(m_folder->file(ArchivioMagazzino::fileName()));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(storedCard().encode());
}

void Attachments::opensWithTheCardTexts_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("no attachments") << QStringList{QString(), QString(), QString()};
    QTest::newRow("second and third")
        << QStringList{QString(), u"Fattura 12.pdf"_s, u"  foto.png "_s};
}

void Attachments::opensWithTheCardTexts()
{
    QFETCH(QStringList, names);
    QLabel *labels[] = {m_screen->lblFile01, m_screen->lblFile02, m_screen->lblFile03};
    for (int i = 0; i < 3; ++i)
        labels[i]->setText(names[i]);
    m_screen->lblDesc02->setText(u" Fattura di marzo "_s);

    withDialog([&](TfrmAllegaCartella *dialog) {
        QCOMPARE(dialog->windowTitle(), u" Allega file"_s);
        QCOMPARE(dialog->lblMemory->text(), u"magazzino"_s);
        QCOMPARE(dialog->lblCampo03->text(), u"Nome 2° file allegato:"_s);
        QCOMPARE(dialog->lblCampo06->text(), u"Descrizione 3° file allegato:"_s);
        QLineEdit *fields[] = {dialog->txtFile01, dialog->txtFile02, dialog->txtFile03};
        QPushButton *open[] = {dialog->btnApri01, dialog->btnApri02, dialog->btnApri03};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(fields[i]->text(), names[i].trimmed());
            QVERIFY(fields[i]->isReadOnly());
            QCOMPARE(open[i]->isEnabled(), !names[i].trimmed().isEmpty());
        }
        QCOMPARE(dialog->txtDesc02->text(), u"Fattura di marzo"_s);
    });
}

// The whole road: browse copies the file into the folder (created on the way), Applica
// hands the texts to the card, the save stores them, and a later visit opens the file.
void Attachments::attachSaveAndOpenLater()
{
    storeCard();
    Recorder rec;
    click(m_screen->cmdPrimo);
    const QString source = outside(u"Fattura 12.pdf"_s);
    writeFile(source, "%PDF fattura");

    withDialog([&](TfrmAllegaCartella *dialog) {
        rec.fileAnswers = {source};
        click(dialog->btnSfoglia02);
        QCOMPARE(rec.fileDialogs.last().title, u"Selezionare il file da allegare:"_s);
        QCOMPARE(rec.fileDialogs.last().filter, u"Tutti i file (*)"_s);
        QCOMPARE(dialog->txtFile02->text(), u"Fattura 12.pdf"_s);
        QVERIFY(dialog->btnApri02->isEnabled());
        QTest::keyClicks(dialog->txtDesc02, u"Fattura d'acquisto "_s);
        click(dialog->btnApplica);
        QVERIFY(!dialog->isVisible());
    });
    QCOMPARE(readFile(attached(u"Fattura 12.pdf"_s)), QByteArray("%PDF fattura"));
    QCOMPARE(m_screen->lblFile01->text(), u"vecchio.pdf"_s);
    QCOMPARE(m_screen->lblFile02->text(), u"Fattura 12.pdf"_s);
    QCOMPARE(m_screen->lblDesc02->text(), u"Fattura d'acquisto"_s);

    click(m_screen->btnSalva);
    QCOMPARE(rec.take().size(), 1);
    click(m_screen->btnNuovo);
    QVERIFY(m_screen->lblFile02->text().isEmpty());
    click(m_screen->cmdPrimo);
    withDialog([&](TfrmAllegaCartella *dialog) {
        QCOMPARE(dialog->txtFile02->text(), u"Fattura 12.pdf"_s);
        QCOMPARE(dialog->txtDesc02->text(), u"Fattura d'acquisto"_s);
        click(dialog->btnApri02);
        QVERIFY(dialog->isVisible());
    });
    QCOMPARE(rec.opened,
             QStringList{u'"' + QDir::toNativeSeparators(attached(u"Fattura 12.pdf"_s)) + u'"'});
    QVERIFY(rec.take().isEmpty());
    QVERIFY(rec.unexpected.isEmpty());
}

void Attachments::overwriteQuestion_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes replaces the file") << true;
    QTest::newRow("no keeps the file") << false;
}

void Attachments::overwriteQuestion()
{
    QFETCH(bool, yes);
    QVERIFY(QDir().mkpath(attached(QString())));
    writeFile(attached(u"report.pdf"_s), "primo");
    writeFile(outside(u"report.pdf"_s), "secondo");

    Recorder rec;
    rec.fileAnswers = {outside(u"report.pdf"_s)};
    rec.answers = {yes};
    withDialog([&](TfrmAllegaCartella *dialog) {
        click(dialog->btnSfoglia03);
        // Either way the name refers to the file now in the folder.
        QCOMPARE(dialog->txtFile03->text(), u"report.pdf"_s);
    });
    QCOMPARE(rec.messages.size(), 1);
    QCOMPARE(rec.messages[0].kind, Recorder::Kind::Question);
    QCOMPARE(rec.messages[0].text,
             u"Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso "
             u"nome.\r\n\r\nSi vuole sovrascrivere il file esistente?"_s);
    QCOMPARE(readFile(attached(u"report.pdf"_s)),
             yes ? QByteArray("secondo") : QByteArray("primo"));
}

void Attachments::removeApplySaveKeepsFile()
{
    storeCard();
    QVERIFY(QDir().mkpath(attached(QString())));
    writeFile(attached(u"vecchio.pdf"_s), "documento");
    Recorder rec;
    click(m_screen->cmdPrimo);

    withDialog([&](TfrmAllegaCartella *dialog) {
        QVERIFY(dialog->btnApri01->isEnabled());
        click(dialog->imgCancella01);
        QVERIFY(dialog->txtFile01->text().isEmpty());
        QVERIFY(!dialog->btnApri01->isEnabled());
        QCOMPARE(dialog->txtDesc01->text(), u"Scheda tecnica"_s);
        click(dialog->btnApplica);
    });
    click(m_screen->btnSalva);
    QCOMPARE(rec.take().size(), 1);

    ArchivioMagazzino archive;
    QVERIFY(archive.open());
    const std::optional<TSchedaProdotto> saved = archive.readAt(1);
    archive.close();
    QVERIFY(saved);
    QVERIFY(saved->File01.isEmpty());
    QCOMPARE(saved->Desc01, u"Scheda tecnica"_s);
    QCOMPARE(readFile(attached(u"vecchio.pdf"_s)), QByteArray("documento"));
}

void Attachments::cancelAfterBrowse()
{
    m_screen->lblFile01->setText(u"vecchio.pdf"_s);
    m_screen->lblDesc01->setText(u"Scheda tecnica"_s);
    writeFile(outside(u"nuovo.pdf"_s), "nuovo");
    Recorder rec;
    rec.fileAnswers = {outside(u"nuovo.pdf"_s)};
    withDialog([&](TfrmAllegaCartella *dialog) {
        click(dialog->btnSfoglia01);
        dialog->txtDesc01->setText(u"cambiata"_s);
        click(dialog->btnAnnulla);
        QVERIFY(!dialog->isVisible());
    });
    QCOMPARE(readFile(attached(u"nuovo.pdf"_s)), QByteArray("nuovo"));
    QCOMPARE(m_screen->lblFile01->text(), u"vecchio.pdf"_s);
    QCOMPARE(m_screen->lblDesc01->text(), u"Scheda tecnica"_s);
    QVERIFY(rec.take().isEmpty());
}

void Attachments::browseRefusalsAndFailures_data()
{
    QTest::addColumn<QString>("name");       // the chosen file's name
    QTest::addColumn<bool>("exists");        // the chosen file exists
    QTest::addColumn<bool>("folderBlocked"); // a plain file stands where the folder goes
    QTest::addColumn<int>("kind");           // Recorder::Kind, or -1 when accepted
    QTest::addColumn<QString>("message");

    const QString refused = TfrmAllegaCartella::refusedName();
    const QString failed = TfrmAllegaCartella::copyFailed();
    const int warning = int(Recorder::Kind::Warning);
    const int error = int(Recorder::Kind::Error);
    QTest::newRow("250 characters")
        << QString(246, u'a') + u".pdf"_s << true << false << -1 << QString();
    QTest::newRow("251 characters")
        << QString(247, u'a') + u".pdf"_s << true << false << warning << refused;
    QTest::newRow("outside Windows-1252")
        << u"offerta Łódź.pdf"_s << true << false << warning << refused;
    QTest::newRow("leading blank") << u" offerta.pdf"_s << true << false << warning << refused;
    QTest::newRow("accents and euro")
        << u"offerta città €.pdf"_s << true << false << -1 << QString();
    QTest::newRow("unreadable source") << u"sparito.pdf"_s << false << false << error << failed;
    QTest::newRow("folder cannot be made") << u"offerta.pdf"_s << true << true << error << failed;
}

void Attachments::browseRefusalsAndFailures()
{
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QFETCH(bool, folderBlocked);
    QFETCH(int, kind);
    QFETCH(QString, message);

    const QString source = outside(name);
    if (exists)
        writeFile(source, "contenuto");
    if (folderBlocked)
        writeFile(m_folder->file(u"Documenti_Allegati"_s), "non una cartella");
    m_screen->lblFile01->setText(u"vecchio.pdf"_s);

    Recorder rec;
    rec.fileAnswers = {source};
    withDialog([&](TfrmAllegaCartella *dialog) {
        click(dialog->btnSfoglia01);
        QCOMPARE(dialog->txtFile01->text(), kind < 0 ? name : u"vecchio.pdf"_s);
    });
    if (kind < 0) {
        QVERIFY(rec.take().isEmpty());
        QCOMPARE(readFile(attached(name)), QByteArray("contenuto"));
    } else {
        QVERIFY(rec.showedOnly(Recorder::Kind(kind), message));
        QVERIFY(!QFile::exists(attached(name)));
    }
    QFile::remove(source);
}

void Attachments::applyNeedsTheTag()
{
    m_screen->lblFile01->setText(u"vecchio.pdf"_s);
    TfrmAllegaCartella dialog(m_screen);
    dialog.lblMemory->setText(u"listino"_s);
    dialog.txtFile01->setText(u"altro.pdf"_s);
    dialog.show();
    click(dialog.btnApplica);
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_screen->lblFile01->text(), u"vecchio.pdf"_s);
}

// A link planted in the folder under an attachment's name points at a file elsewhere:
// browsing never copies through it, and opening never hands its target to the desktop.
void Attachments::plantedLinkLeftUntouched()
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(u"altrui.pdf"_s);
    writeFile(target, "di qualcun altro");
    QVERIFY(QDir().mkpath(m_folder->file(u"Documenti_Allegati"_s)));
    QVERIFY(QFile::link(target, attached(u"offerta.pdf"_s)));
    const QString source = outside(u"offerta.pdf"_s);
    writeFile(source, "nuovo");
    m_screen->lblFile01->setText(u"offerta.pdf"_s);

    Recorder rec;
    rec.fileAnswers = {source};
    withDialog([&](TfrmAllegaCartella *dialog) {
        click(dialog->btnSfoglia01);
        QVERIFY(rec.showedOnly(Recorder::Kind::Error, TfrmAllegaCartella::copyFailed()));
        click(dialog->btnApri01);
        QVERIFY(rec.showedOnly(Recorder::Kind::Warning,
                               u"Attenzione: il nome del file allegato non è valido."_s));
    });
    QVERIFY(rec.opened.isEmpty());
    QVERIFY(rec.unexpected.isEmpty());
    QCOMPARE(readFile(target), QByteArray("di qualcun altro"));
    QVERIFY(QFileInfo(attached(u"offerta.pdf"_s)).isSymLink());
    QFile::remove(source);
}

SCAFFARIA_TEST(Attachments)
#include "tst_attachments.moc"

void Attachments::craftedNameOpensNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent folder") << u"../unins000.dll"_s;
    QTest::newRow("parent alone") << u".."_s;
    QTest::newRow("absolute path") << u"/etc/passwd"_s;
    QTest::newRow("subfolder") << u"sotto/fattura.pdf"_s;
    QTest::newRow("windows path") << u"..\\Magazzino.dat"_s;
    QTest::newRow("windows drive") << u"C:\\Windows\\win.ini"_s;
}

// An archive written elsewhere can hold any name: one that reaches outside the folder is
// refused with a warning and nothing is handed to the desktop.
void Attachments::craftedNameOpensNothing()
{
    QFETCH(QString, name);
    QVERIFY(!TfrmAllegaCartella::insideFolder(name));
    m_screen->lblFile01->setText(name);
    Recorder rec;
    withDialog([&](TfrmAllegaCartella *dialog) {
        QCOMPARE(dialog->txtFile01->text(), name);
        click(dialog->btnApri01);
        QVERIFY(rec.showedOnly(Recorder::Kind::Warning,
                               u"Attenzione: il nome del file allegato non è valido."_s));
        QVERIFY(dialog->isVisible());
    });
    QVERIFY(rec.opened.isEmpty());
    QVERIFY(rec.unexpected.isEmpty());
}
