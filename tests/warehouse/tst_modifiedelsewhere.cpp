#include "cardfixture.h"
#include "common/dialogs.h"
#include "common/picturebutton.h"
#include "common/programfolder.h"
#include "common/recordsteps.h"
#include "common/screens.h"
#include "pricelist/listinoprezzi.h"
#include "pricelist/slotlistino.h"
#include "store/folderstore.h"
#include "store/sharedstore.h"
#include "store/store.h"
#include "support/pgcluster.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/magazzino.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A store kept in memory that gives each record a version and refuses a write checked
// against a version the record no longer has, as a store shared by several workstations
// does. Its actions can be made to fail at their end.
struct MemoryData {
    QList<std::pair<QByteArray, qint64>> cards; // encoded card, version
    QMap<QString, QList<std::pair<QByteArray, qint64>>> lists;
    qint64 nextVersion = 1;
    bool closeFails = false;
};

// One record set of the memory store: the cards, or a list's pages.
template<typename Record, typename Base> class MemoryRecords : public Base
{
public:
    MemoryRecords(MemoryData &data, QList<std::pair<QByteArray, qint64>> &records)
        : m_data(data), m_records(records)
    {
    }
    bool open() override
    {
        m_before = m_records;
        return true;
    }
    // A failed end undoes the whole action, as a transaction that could not commit.
    bool close() override
    {
        if (!m_data.closeFails)
            return true;
        m_records = m_before;
        return false;
    }
    qint64 count() override { return m_records.size(); }
    std::optional<Store::Read<Record>> readAt(qint64 position) override
    {
        if (position < 1 || position > m_records.size())
            return std::nullopt;
        const auto &[bytes, version] = m_records.at(position - 1);
        return Store::Read<Record>{Record::decode(bytes.constData()), version};
    }
    Store::Written writeAt(qint64 position, const Record &record,
                           std::optional<qint64> shownVersion, qint64 *newVersion) override
    {
        if (position < 1 || position > m_records.size())
            return Store::Written::Failed;
        auto &[bytes, version] = m_records[position - 1];
        if (shownVersion && *shownVersion != version)
            return Store::Written::Conflict;
        bytes = record.encode();
        version = m_data.nextVersion++;
        if (newVersion)
            *newVersion = version;
        return Store::Written::Done;
    }
    std::optional<qint64> append(const Record &record, qint64 *newVersion) override
    {
        m_records.append({record.encode(), m_data.nextVersion++});
        if (newVersion)
            *newVersion = m_records.back().second;
        return m_records.size();
    }

protected:
    MemoryData &m_data;
    QList<std::pair<QByteArray, qint64>> &m_records;
    QList<std::pair<QByteArray, qint64>> m_before;
};

class MemoryCards final : public MemoryRecords<TSchedaProdotto, Store::Cards>
{
public:
    explicit MemoryCards(MemoryData &data) : MemoryRecords(data, data.cards) {}
    bool readAll(const Store::Visit &visit, const Store::Progress &) override
    {
        for (qint64 i = 0; i < m_records.size(); ++i) {
            if (!visit(i + 1, m_records.at(i).first.constData()))
                break;
        }
        return true;
    }
    bool readAllBackward(const Store::Visit &visit, const Store::Progress &) override
    {
        for (qint64 i = m_records.size(); i > 0; --i) {
            if (!visit(i, m_records.at(i - 1).first.constData()))
                break;
        }
        return true;
    }
    std::optional<QByteArray> photo(qint64) override { return std::nullopt; }
    bool storePhoto(qint64, const QByteArray &) override { return true; }
};

using MemoryPages = MemoryRecords<TPaginaListino, Store::Pages>;

class MemoryPriceLists final : public Store::PriceLists
{
public:
    explicit MemoryPriceLists(MemoryData &data) : m_data(data) {}
    std::optional<QStringList> names() override { return m_data.lists.keys(); }
    Creation create(const QString &fileName, QString *) override
    {
        if (m_data.lists.contains(fileName))
            return Creation::Exists;
        m_data.lists.insert(fileName, {});
        return Creation::Created;
    }
    bool remove(const QString &fileName) override
    {
        m_data.lists.remove(fileName);
        return true;
    }
    std::unique_ptr<Store::Pages> pages(const QString &fileName) override
    {
        return std::make_unique<MemoryPages>(m_data, m_data.lists[fileName]);
    }
    std::optional<QByteArray> pagePhoto(const QString &, int, qint64) override
    {
        return std::nullopt;
    }
    bool storePagePhoto(const QString &, int, qint64, const QByteArray &) override { return true; }
    std::optional<QByteArray> thumbnail(const QString &, int) override { return std::nullopt; }
    bool storeThumbnail(const QString &, int, const QByteArray &) override { return true; }

private:
    MemoryData &m_data;
};

class NoDocuments final : public Store::Documents
{
public:
    std::optional<bool> exists(const QString &) override { return std::nullopt; }
    bool copyIn(const QString &, const QString &) override { return false; }
    std::optional<QString> openablePath(const QString &) override { return std::nullopt; }
};

class MemoryBackend final : public Store::Backend
{
public:
    bool shared() const override { return true; }
    QString description() const override { return u"Archivio in memoria"_s; }
    QString failureText() const override { return kFailure; }
    std::unique_ptr<Store::Cards> cards() override { return std::make_unique<MemoryCards>(data); }
    Store::PriceLists &priceLists() override { return m_lists; }
    Store::Documents &documents() override { return m_documents; }

    static inline const QString kFailure = u"Attenzione: l'archivio in memoria non risponde."_s;
    MemoryData data;

private:
    MemoryPriceLists m_lists{data};
    NoDocuments m_documents;
};

// The stores the screens are tried against, each made fresh for a test row.
using BackendMaker = std::function<std::unique_ptr<Store::Backend>()>;

// A real PostgreSQL server for the shared store, started at the first row that needs it
// and stopped when the test ends; each row gets a database of its own.
std::unique_ptr<Store::Backend> sharedBackend()
{
    static PgCluster cluster;
    static const bool started = cluster.start();
    static int databases = 0;
    if (!started) {
        qWarning("PostgreSQL did not start: %s", qPrintable(cluster.error()));
        return nullptr;
    }
    const QString name = u"schermi_"_s + QString::number(++databases);
    if (!cluster.createDatabase(name))
        return nullptr;
    return std::make_unique<Store::SharedBackend>(cluster.settings(name));
}

const QMap<QString, BackendMaker> &backends()
{
    static const QMap<QString, BackendMaker> makers = [] {
        QMap<QString, BackendMaker> all = {
            {u"memory"_s, [] { return std::make_unique<MemoryBackend>(); }},
        };
        // `make test` installs the server; a machine without it tries the screens in memory.
        if (PgCluster::binaries())
            all.insert(u"shared"_s, sharedBackend);
        return all;
    }();
    return makers;
}

const QString kUpdated =
    u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s;

void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

TSchedaProdotto card(const QString &name)
{
    TSchedaProdotto c;
    c.Codice = u"C1"_s;
    c.Costo = u"1,50"_s;
    c.Nome = name;
    c.UM = u"Scatola"_s;
    c.Tipologia = u"Dolci"_s;
    c.Caratteristiche = u"Cioccolato"_s;
    c.Giacenza = u"3"_s;
    c.Avviso = u"1"_s;
    c.Prezzo = u"2,00"_s;
    c.Pagato = TSchedaProdotto::paidNo();
    return c;
}

TPaginaListino page(const QString &name)
{
    TPaginaListino p;
    for (TVoceListino &v : p.Voci)
        v = TVoceListino::empty();
    p.Voci[0].Nome = name;
    p.Voci[0].UM = u"Vassoio"_s;
    p.Voci[0].Caratteristiche = u"Cioccolato"_s;
    p.Voci[0].Codice = u"T01"_s;
    p.Voci[0].Prezzo = u"12,50"_s;
    return p;
}

// Saves a record as another workstation would: its own action, no version check.
template<typename Records, typename Record>
void saveElsewhere(Records &records, const Record &record)
{
    QVERIFY(records.open());
    QCOMPARE(records.writeAt(1, record, std::nullopt), Store::Written::Done);
    QVERIFY(records.close());
}

QString nameOf(const TSchedaProdotto &record) { return record.Nome; }
QString nameOf(const TPaginaListino &record) { return record.Voci[0].Nome; }

// The name in the first record as the store holds it now.
template<typename Records> QString nameAt(Records &records)
{
    records.open();
    const auto read = records.readAt(1);
    records.close();
    return read ? nameOf(read->record) : u"<unreadable>"_s;
}

} // namespace

class ModifiedElsewhere final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void cardScreen_data();
    void cardScreen();
    void pageScreen_data();
    void pageScreen();
    void failedEndOfSaveChangesNothing_data();
    void failedEndOfSaveChangesNothing();

private:
    void rows();
};

void ModifiedElsewhere::cleanup()
{
    screens().hub = nullptr;
    Store::setCurrent(nullptr);
}

void ModifiedElsewhere::rows()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("overwrite"); // the answer to the question
    for (const QString &name : backends().keys()) {
        QTest::addRow("%s, Yes overwrites", qPrintable(name)) << name << true;
        QTest::addRow("%s, No writes nothing", qPrintable(name)) << name << false;
    }
}

void ModifiedElsewhere::cardScreen_data() { rows(); }

// A card saved elsewhere after this screen showed it is overwritten only on Yes; No leaves
// the archive and the screen as they were. After an overwrite the screen holds the card's
// new version, so its next save asks nothing.
void ModifiedElsewhere::cardScreen()
{
    QFETCH(QString, backend);
    QFETCH(bool, overwrite);
    std::unique_ptr<Store::Backend> store = backends().value(backend)();
    QVERIFY(store);
    Store::setCurrent(std::move(store));
    CardScreenFixture fixture;
    TfrmMagazzino *screen = fixture.screen;
    const std::unique_ptr<Store::Cards> other = Store::current().cards();
    QVERIFY(other->open());
    QCOMPARE(other->append(card(u"Originale"_s)).value_or(0), qint64(1));
    QVERIFY(other->close());

    Recorder rec;
    click(screen->cmdPrimo);
    QCOMPARE(screen->lblPosizione->text(), u"1"_s);
    screen->txtNome->setText(u"Da questa postazione"_s);
    saveElsewhere(*other, card(u"Dall'altra postazione"_s));
    QVERIFY(rec.take().isEmpty());

    rec.answers = {overwrite};
    click(screen->btnSalva);
    QVERIFY(rec.unexpected.isEmpty());
    QVERIFY(!rec.messages.isEmpty());
    QCOMPARE(rec.messages.first().kind, Recorder::Kind::Question);
    QCOMPARE(rec.messages.first().text, RecordSteps::modifiedElsewhere());
    QVERIFY(rec.messages.first().noByDefault);
    QCOMPARE(screen->lblPosizione->text(), u"1"_s);
    QCOMPARE(screen->txtNome->text(), u"Da questa postazione"_s);
    if (!overwrite) {
        QCOMPARE(rec.messages.size(), 1);
        QCOMPARE(nameAt(*other), u"Dall'altra postazione"_s);
        return;
    }
    QCOMPARE(rec.messages.size(), 2);
    QCOMPARE(rec.messages.at(1).kind, Recorder::Kind::Information);
    QCOMPARE(rec.messages.at(1).text, kUpdated);
    QCOMPARE(nameAt(*other), u"Da questa postazione"_s);
    rec.messages.clear();

    screen->txtNome->setText(u"Ancora"_s);
    click(screen->btnSalva);
    QVERIFY(rec.showedOnly(Recorder::Kind::Information, kUpdated));
    QCOMPARE(nameAt(*other), u"Ancora"_s);
}

void ModifiedElsewhere::pageScreen_data() { rows(); }

void ModifiedElsewhere::pageScreen()
{
    QFETCH(QString, backend);
    QFETCH(bool, overwrite);
    std::unique_ptr<Store::Backend> store = backends().value(backend)();
    QVERIFY(store);
    Store::setCurrent(std::move(store));
    TempProgramFolder folder;
    QWidget hub;
    screens().hub = &hub;
    const auto owned = std::make_unique<TfrmListinoPrezzi>();
    TfrmListinoPrezzi *screen = owned.get();
    Store::PriceLists &lists = Store::current().priceLists();
    QCOMPARE(lists.create(u"Dolci.lis"_s, nullptr), Store::PriceLists::Creation::Created);
    const std::unique_ptr<Store::Pages> other = lists.pages(u"Dolci.lis"_s);
    QVERIFY(other->open());
    QCOMPARE(other->append(page(u"Originale"_s)).value_or(0), qint64(1));
    QVERIFY(other->close());
    screen->lblFile->setText(ProgramFolder::file(u"Dolci.lis"_s));
    screen->lblNome->setText(u"Dolci"_s);
    screen->show();

    Recorder rec;
    click(screen->cmdPrimo);
    QCOMPARE(screen->lblPosizione->text(), u"1"_s);
    screen->voce(0)->txtNome->setText(u"Da questa postazione"_s);
    saveElsewhere(*other, page(u"Dall'altra postazione"_s));
    QVERIFY(rec.take().isEmpty());

    rec.answers = {overwrite};
    click(screen->cmdSalva);
    QVERIFY(rec.unexpected.isEmpty());
    QVERIFY(!rec.messages.isEmpty());
    QCOMPARE(rec.messages.first().kind, Recorder::Kind::Question);
    QCOMPARE(rec.messages.first().text, RecordSteps::modifiedElsewhere());
    QVERIFY(rec.messages.first().noByDefault);
    QCOMPARE(screen->lblPosizione->text(), u"1"_s);
    QCOMPARE(screen->voce(0)->txtNome->text(), u"Da questa postazione"_s);
    if (overwrite) {
        QCOMPARE(rec.messages.size(), 2);
        QCOMPARE(rec.messages.at(1).text, kUpdated);
        QCOMPARE(nameAt(*other), u"Da questa postazione"_s);
    } else {
        QCOMPARE(rec.messages.size(), 1);
        QCOMPARE(nameAt(*other), u"Dall'altra postazione"_s);
    }
}

void ModifiedElsewhere::failedEndOfSaveChangesNothing_data()
{
    QTest::addColumn<bool>("existing");
    QTest::newRow("new card") << false;
    QTest::newRow("card on show") << true;
}

// A save whose action does not end well (the shared store's commit failed) wrote nothing:
// the screen says so in the store's own words and keeps its position and version.
void ModifiedElsewhere::failedEndOfSaveChangesNothing()
{
    QFETCH(bool, existing);
    auto owned = std::make_unique<MemoryBackend>();
    MemoryBackend *memory = owned.get();
    Store::setCurrent(std::move(owned));
    CardScreenFixture fixture;
    TfrmMagazzino *screen = fixture.screen;
    memory->data.cards.append({card(u"Originale"_s).encode(), memory->data.nextVersion++});

    Recorder rec;
    click(screen->cmdPrimo);
    if (!existing)
        click(screen->btnDuplica); // the same fields as a new card
    rec.messages.clear();
    const QString position = screen->lblPosizione->text();
    memory->data.closeFails = true;
    click(screen->btnSalva);
    QVERIFY(rec.showedOnly(Recorder::Kind::Error, MemoryBackend::kFailure));
    QCOMPARE(screen->lblPosizione->text(), position);
    QCOMPARE(memory->data.cards.size(), 1);
    QCOMPARE(memory->data.cards.first().first, card(u"Originale"_s).encode());

    // The screen still holds the version it had: the next save asks nothing.
    memory->data.closeFails = false;
    click(screen->btnSalva);
    QVERIFY(rec.unexpected.isEmpty());
    QCOMPARE(rec.messages.size(), 1);
    QCOMPARE(rec.messages.first().kind, Recorder::Kind::Information);
    QCOMPARE(screen->lblPosizione->text(), existing ? u"1"_s : u"2"_s);
}

SCAFFARIA_TEST(ModifiedElsewhere)
#include "tst_modifiedelsewhere.moc"
