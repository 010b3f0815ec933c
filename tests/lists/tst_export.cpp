#include "common/durablefile.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/screens.h"
#include "lists/expgrid.h"
#include "lists/expmagazzino.h"
#include "lists/xlsexport.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/archivio.h"
#include "warehouse/magazzino.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

// The two cards the expected file was built from: a full card whose note needs escaping,
// and a card with only a few fields.
QList<TSchedaProdotto> twoCards()
{
    TSchedaProdotto full;
    full.Codice = u"A-001"_s;
    full.Costo = u"12,50"_s;
    full.Nome = u"Caffè in grani"_s;
    full.Giacenza = u"40"_s;
    full.Avviso = u"5"_s;
    full.UM = u"Sacchetto da 1 kg"_s;
    full.Tipologia = u"Alimentari"_s;
    full.Caratteristiche = u"Miscela 100% arabica"_s;
    full.Collocazione = u"Scaffale 3"_s;
    full.Ditta = u"Torrefazione Rossi"_s;
    full.Agente = u"Mario Bianchi"_s;
    full.Recapito = u"0123 456789"_s;
    full.Documento = u"Fattura n. 12"_s;
    full.Pagamento = u"Bonifico a 30 giorni"_s;
    full.DataSca = u"31/12/2025"_s;
    full.Note = u"<1 kg & >5 pz"_s;
    full.Prezzo = u"18,00"_s;
    full.Pagato = u"Sì"_s;
    full.File01 = u"fattura.pdf"_s;
    full.Desc01 = u"Fattura d'acquisto"_s;

    TSchedaProdotto sparse;
    sparse.Codice = u"B-002"_s;
    sparse.Nome = u"Tè verde €"_s;
    sparse.Giacenza = u"0"_s;
    sparse.Avviso = u"3"_s;
    sparse.Pagato = u"No"_s;
    return {full, sparse};
}

void writeArchive(const QList<TSchedaProdotto> &cards)
{
    QFile f(ProgramFolder::file(ArchivioMagazzino::fileName()));
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (const TSchedaProdotto &c : cards)
        QVERIFY(f.write(c.encode()) == TSchedaProdotto::Size);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray expectedTwoCards()
{
    return readFile(QStringLiteral(SCAFFARIA_TEST_DATA "/lists/due_schede.xls"));
}

// The expected file of an empty archive: the same file up to the header row, then the end.
QByteArray expectedEmpty()
{
    const QByteArray full = expectedTwoCards();
    const QByteArray headerEnd = "</td></tr>";
    return full.left(full.indexOf(headerEnd) + headerEnd.size()) + "</table></body></html>";
}

} // namespace

class Export final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void gridShowsTheArchive();
    void writesTheFile_data();
    void writesTheFile();
    void gridEditReachesFileNotArchive();
    void formulaCellsStayText();
    void noKeepsTheOldFile();
    void failureLeavesNoPartialFile_data();
    void failureLeavesNoPartialFile();
    void fullDiskMidwayKeepsTheOldFile();
    void hoverHints();
    void openedFromCardScreen();

private:
    TfrmExpMagazzino *open();
    void clickExport() { QTest::mouseClick(m_screen->cmdEsporta, Qt::LeftButton); }
    QString xls() const { return ProgramFolder::file(u"Magazzino.xls"_s); }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Recorder> m_rec;
    std::unique_ptr<TfrmExpMagazzino> m_screen;
};

void Export::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_rec = std::make_unique<Recorder>();
}

void Export::cleanup()
{
    m_screen.reset();
    QVERIFY2(m_rec->unexpected.isEmpty(), qPrintable(m_rec->unexpected.join(u", ")));
    m_rec.reset();
    m_folder.reset();
}

TfrmExpMagazzino *Export::open()
{
    m_screen = std::make_unique<TfrmExpMagazzino>(nullptr);
    m_screen->show();
    return m_screen.get();
}

void Export::gridShowsTheArchive()
{
    writeArchive(twoCards());
    QTableView *grid = open()->grdRecords;
    QCOMPARE(m_screen->windowTitle(), u" Esporta magazzino prodotti in Microsoft Excel"_s);
    QAbstractItemModel *model = grid->model();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->columnCount(), 18);

    const QStringList headers = {u"N."_s,
                                 u"Codice articolo"_s,
                                 u"Costo unitario"_s,
                                 u"Nome prodotto"_s,
                                 u"Giacenza"_s,
                                 u"Aspetto esteriore del bene"_s,
                                 u"Categoria merceologica"_s,
                                 u"Caratteristiche"_s,
                                 u"Collocazione in magazzino"_s,
                                 u"Ditta fornitrice"_s,
                                 u"Agente"_s,
                                 u"Recapito telefonico"_s,
                                 u"Documento di acquisto"_s,
                                 u"Modalità di pagamento"_s,
                                 u"Data scadenza"_s,
                                 u"Note"_s,
                                 u"Prezzo di vendita"_s,
                                 u"Pagato"_s};
    const QList<int> widths = {60,  160, 150, 250, 100, 250, 250, 300, 250,
                               250, 250, 200, 250, 250, 150, 300, 150, 120};
    const QList<int> editable = {3, 5, 6, 11, 15, 16, 17};
    for (int c = 0; c < 18; ++c) {
        QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), headers.at(c));
        QCOMPARE(grid->columnWidth(c), widths.at(c));
        QCOMPARE(bool(model->flags(model->index(0, c)) & Qt::ItemIsEditable), editable.contains(c));
    }
    QVERIFY(grid->alternatingRowColors());
    QCOMPARE(grid->rowHeight(0), 21);
    QCOMPARE(grid->rowHeight(1), 21);

    // The position, then the fields without the threshold; empty fields are empty cells.
    QCOMPARE(model->index(0, 0).data().toString(), u"1"_s);
    QCOMPARE(model->index(1, 0).data().toString(), u"2"_s);
    QCOMPARE(model->index(0, 3).data().toString(), u"Caffè in grani"_s);
    QCOMPARE(model->index(0, 4).data().toString(), u"40"_s);
    QCOMPARE(model->index(0, 5).data().toString(), u"Sacchetto da 1 kg"_s);
    QCOMPARE(model->index(0, 15).data().toString(), u"<1 kg & >5 pz"_s);
    QCOMPARE(model->index(1, 2).data().toString(), QString());
    QCOMPARE(model->index(1, 17).data().toString(), u"No"_s);
}

void Export::writesTheFile_data()
{
    QTest::addColumn<bool>("cards");
    QTest::addColumn<bool>("openIt");
    QTest::newRow("two cards, not opened") << true << false;
    QTest::newRow("two cards, opened") << true << true;
    QTest::newRow("empty archive") << false << false;
}

void Export::writesTheFile()
{
    QFETCH(bool, cards);
    QFETCH(bool, openIt);
    if (cards)
        writeArchive(twoCards());
    // A previous export is replaced without asking.
    {
        QFile old(xls());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(20000, 'x'));
    }
    open();
    QCOMPARE(m_screen->model->rowCount(), cards ? 2 : 0);
    m_rec->answers = {true, openIt};
    clickExport();

    const QByteArray expected = cards ? expectedTwoCards() : expectedEmpty();
    QVERIFY(!expected.isEmpty());
    QCOMPARE(readFile(xls()), expected);
    if (cards)
        QVERIFY(readFile(xls()).contains(
            "<td style=\"text-align: left;\">&lt;1 kg &amp; &gt;5 pz</td>"));

    QCOMPARE(m_rec->messages.size(), 2);
    QCOMPARE(m_rec->messages.at(0).kind, Recorder::Kind::Question);
    QCOMPARE(m_rec->messages.at(0).text,
             u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del "
             u"numero di schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?"_s);
    QCOMPARE(m_rec->messages.at(1).kind, Recorder::Kind::Question);
    QCOMPARE(m_rec->messages.at(1).text,
             u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il "
             u"file di Excel?"_s);
    QCOMPARE(m_rec->opened, openIt ? QStringList{u'"' + xls() + u'"'} : QStringList());
    QVERIFY(m_screen->isVisible());
}

void Export::gridEditReachesFileNotArchive()
{
    writeArchive(twoCards());
    QTableView *grid = open()->grdRecords;
    QVERIFY(QTest::qWaitForWindowExposed(m_screen.get()));

    // Typed into the name cell and still being edited when the export starts.
    const QModelIndex name = grid->model()->index(1, 3);
    grid->setCurrentIndex(name);
    grid->edit(name);
    auto *editor = grid->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, u"Orzo solubile"_s);
    // A column that is not editable keeps its text.
    QVERIFY(!grid->model()->setData(grid->model()->index(1, 1), u"Z-999"_s, Qt::EditRole));

    m_rec->answers = {true, false};
    clickExport();
    const QByteArray file = readFile(xls());
    QVERIFY(file.contains("<td style=\"text-align: left;\">B-002</td>"
                          "<td style=\"text-align: left;\"></td>"
                          "<td style=\"text-align: left;\">Orzo solubile</td>"));

    ArchivioMagazzino archive;
    QVERIFY(archive.open());
    QCOMPARE(archive.readAt(2)->Nome, u"Tè verde €"_s);
}

void Export::formulaCellsStayText()
{
    // Only a cell whose trimmed text begins with "=" gets the no-break space (0xA0) that
    // keeps a spreadsheet from evaluating it; every other cell is written as it was.
    const QList<QStringList> rows = {
        {u"=1+1"_s, u"  =A1*2 "_s, u"="_s, u"=<b>"_s, u"1=1"_s, u"+1+1"_s, u"-2"_s, u"@SUM"_s}};
    const QByteArray file = XlsExport::document(rows);
    auto cell = [](const QByteArray &bytes) {
        return "<td style=\"text-align: left;\">" + bytes + "</td>";
    };
    const QByteArray expectedRow = "<tr>" + cell("\xA0=1+1") + cell("\xA0=A1*2") + cell("\xA0=") +
                                   cell("\xA0=&lt;b&gt;") + cell("1=1") + cell("+1+1") +
                                   cell("-2") + cell("@SUM") + "</tr>";
    QVERIFY(file.endsWith(expectedRow + "</table></body></html>"));
}

void Export::noKeepsTheOldFile()
{
    writeArchive(twoCards());
    {
        QFile old(xls());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("foglio precedente");
    }
    open();
    m_rec->answers = {false};
    clickExport();
    QCOMPARE(readFile(xls()), QByteArray("foglio precedente"));
    QCOMPARE(m_rec->messages.size(), 1);
    QVERIFY(m_rec->opened.isEmpty());
}

void Export::failureLeavesNoPartialFile_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addColumn<int>("failingSync"); // 0 none, 1 the new file's data, 2 the folder entry
    QTest::newRow("read-only folder") << true << 0;
    QTest::newRow("file name taken by a folder") << false << 0;
    QTest::newRow("the new file's data cannot be synced") << false << 1;
    QTest::newRow("the folder entry cannot be synced") << false << 2;
}

void Export::failureLeavesNoPartialFile()
{
    QFETCH(bool, readOnlyFolder);
    QFETCH(int, failingSync);
    writeArchive(twoCards());
    const QString folder = ProgramFolder::path();
    if (readOnlyFolder || failingSync > 0) {
        QFile old(xls());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("foglio precedente");
    }
    if (failingSync > 0) {
        const QString target = xls();
        const QString folderPath = QDir::cleanPath(folder);
        DurableFile::setSyncCheckForTests([=](const QString &path) {
            return failingSync == 1 ? path != target : QDir::cleanPath(path) != folderPath;
        });
    } else if (readOnlyFolder) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(QDir(folder).filePath(u"prova"_s));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("this user may write into a read-only folder");
        }
    } else {
        QVERIFY(QDir(folder).mkdir(u"Magazzino.xls"_s));
    }
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                      QDir::Hidden | QDir::System);
    open();
    m_rec->answers = {true};
    clickExport();
    DurableFile::setSyncCheckForTests({});
    const QStringList after = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                     QDir::Hidden | QDir::System);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(m_rec->messages.size(), 2);
    QCOMPARE(m_rec->messages.at(1).kind, Recorder::Kind::Plain);
    QCOMPARE(m_rec->messages.at(1).text,
             u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il "
             u"file di Excel non sia già aperto."_s);
    QCOMPARE(after, before);
    if (readOnlyFolder || failingSync > 0)
        QCOMPARE(readFile(xls()), QByteArray("foglio precedente"));
    QVERIFY(m_rec->opened.isEmpty());
}

// A disk that fills up while the file is written, piece by piece: the export is refused
// with its message, the previous file stays as it was and nothing of the new one is left.
// The process's file-size limit stands in for the full disk: a write past it falls short.
void Export::fullDiskMidwayKeepsTheOldFile()
{
    QList<TSchedaProdotto> cards;
    for (int i = 0; i < 6000; ++i) {
        TSchedaProdotto c = twoCards().first();
        c.Codice = u"A-%1"_s.arg(i);
        c.Caratteristiche = QString(250, u'c');
        c.Note = QString(250, u'n');
        cards.append(c);
    }
    writeArchive(cards);
    {
        QFile old(xls());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("foglio precedente");
    }
    const QString folder = ProgramFolder::path();
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                      QDir::Hidden | QDir::System);
    open();
    QCOMPARE(m_screen->model->rowCount(), 6000);
    m_rec->answers = {true};

    // Room for the first pieces of the file (it would take about 7 MiB), not for all.
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limited = old;
    limited.rlim_cur = 5 << 20;
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    clickExport();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);

    QCOMPARE(m_rec->messages.size(), 2);
    QCOMPARE(m_rec->messages.at(1).kind, Recorder::Kind::Plain);
    QCOMPARE(m_rec->messages.at(1).text, TfrmExpMagazzino::exportError());
    QCOMPARE(readFile(xls()), QByteArray("foglio precedente"));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                    QDir::System),
             before);
    QVERIFY(m_rec->opened.isEmpty());

    // With room again the same grid is written whole.
    m_rec->answers = {true, false};
    clickExport();
    QCOMPARE(m_rec->messages.size(), 4);
    const QByteArray file = readFile(xls());
    QVERIFY(file.size() > (5 << 20));
    QVERIFY(file.endsWith("</tr></table></body></html>"));
    QCOMPARE(file.count("<tr>"), 6001);
}

void Export::hoverHints()
{
    open();
    QLabel *status = m_screen->panInfo;
    QCOMPARE(status->text(), u"Esportazione archivio in Microsoft Excel."_s);
    QVERIFY(QTest::qWaitForWindowExposed(m_screen.get()));

    const std::pair<QWidget *, QString> hints[] = {
        {m_screen->cmdEsporta, u"Esporta l'archivio in formato Microsoft Excel."_s},
        {m_screen->cmdGuida, u"Visualizza la pagina della guida sensibile al contesto."_s},
        {m_screen->cmdEsci, u"Esci da questo ambiente di lavoro."_s},
    };
    for (const auto &[control, hint] : hints) {
        QTest::mouseMove(control);
        QTRY_COMPARE(status->text(), hint);
        QCOMPARE(control->accessibleDescription(), hint);
        QTest::mouseMove(m_screen->grdRecords->viewport(), QPoint(5, 5));
        QTRY_COMPARE(status->text(), QString());
    }
}

void Export::openedFromCardScreen()
{
    writeArchive(twoCards());
    QWidget hub;
    screens().hub = &hub;
    TfrmMagazzino cards;
    cards.show();
    int rows = -1;
    bool modal = false;
    onNextModal([&](QWidget *window) {
        auto *exporter = qobject_cast<TfrmExpMagazzino *>(window);
        if (!exporter)
            return;
        rows = exporter->model->rowCount();
        modal = exporter->isModal() && exporter->parentWidget() == &cards;
        QTest::mouseClick(exporter->cmdEsci, Qt::LeftButton);
    });
    QTest::mouseClick(cards.btnEsporta, Qt::LeftButton);
    QCOMPARE(rows, 2);
    QVERIFY(modal);
    QVERIFY(cards.findChildren<TfrmExpMagazzino *>().isEmpty());
    screens().hub = nullptr;
}

SCAFFARIA_TEST(Export)
#include "tst_export.moc"
