// The two stores behind one contract, the folder store and the shared store on a real
// PostgreSQL server that the tests start themselves (see support/pgcluster.h); and what
// only the shared store does: many workstations at once, versions, a server that goes
// away, the transfer of a folder in and out.

#include "app/backupcopy.h"
#include "common/numbertext.h"
#include "common/programfolder.h"
#include "lists/elenchi.h"
#include "lists/expgrid.h"
#include "store/folderstore.h"
#include "store/sharedstore.h"
#include "support/pgcluster.h"
#include "support/testmain.h"
#include "warehouse/archivio.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTest>

#include <random>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

using S = TSchedaProdotto;

TSchedaProdotto card(const QString &code, const QString &name)
{
    TSchedaProdotto c;
    c.Codice = code;
    c.Nome = name;
    c.Giacenza = u"3"_s;
    c.Avviso = u"5"_s;
    c.Costo = u"2,50"_s;
    c.Pagato = TSchedaProdotto::paidNo();
    return c;
}

// A card as a record file gives it back: trimmed, cut, through the code page.
QByteArray stored(const TSchedaProdotto &c) { return S::decode(c.encode().constData()).encode(); }

TPaginaListino page(const QString &code, const QString &price)
{
    TPaginaListino p;
    for (int slot = 0; slot < TPaginaListino::SlotCount; ++slot)
        p.Voci[static_cast<std::size_t>(slot)] = TVoceListino::empty();
    p.Voci[1].Codice = code;
    p.Voci[1].Prezzo = price;
    return p;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A record of `size` bytes laid out by `fields` (offset, capacity), some plain, some with
// what another program may leave: bytes after the length, a length above the capacity,
// blanks and control bytes around the text, NUL and every other byte inside it, a text cut
// right after a blank.
QByteArray awkwardRecord(int size, const QList<std::pair<int, int>> &fields, std::mt19937 &rng,
                         int serial)
{
    QByteArray record(size, '\0');
    const int kind = serial % 6;
    for (const auto &[offset, capacity] : fields) {
        std::uniform_int_distribution<int> byte(0, 255);
        std::uniform_int_distribution<int> length(0, capacity);
        const int used = length(rng);
        record[offset] = static_cast<char>(used);
        for (int i = 0; i < used; ++i) {
            int b = byte(rng);
            if (kind < 2)
                b = 'a' + b % 26; // plain text
            else if (kind == 2 && b == 0)
                b = 1;
            record[offset + 1 + i] = static_cast<char>(b);
        }
        if (kind == 3) { // padding left after the text
            for (int i = used; i < capacity; ++i)
                record[offset + 1 + i] = static_cast<char>(byte(rng));
        }
        if (kind == 4 && capacity < 255) // a length byte above the capacity
            record[offset] = static_cast<char>(capacity + 1 + byte(rng) % (255 - capacity));
        if (kind == 5 && used > 1) { // cut after a blank: trimmed when read
            record[offset + 1] = ' ';
            record[offset + used] = ' ';
        }
    }
    // Some cards with numbers the lists read.
    if (kind == 0 && size == S::Size) {
        const TSchedaProdotto c = card(u"N"_s + QString::number(serial), u"Numeri"_s);
        return c.encode();
    }
    return record;
}

QList<std::pair<int, int>> cardLayout()
{
    QList<std::pair<int, int>> out;
    for (const S::Field &f : S::fields())
        out.append({f.offset, f.capacity});
    return out;
}

QList<std::pair<int, int>> pageLayout()
{
    QList<std::pair<int, int>> out;
    for (int slot = 0; slot < TPaginaListino::SlotCount; ++slot) {
        for (const TVoceListino::Field &f : TVoceListino::fields())
            out.append({slot * TVoceListino::Size + f.offset, f.capacity});
    }
    return out;
}

// A folder holding every kind of file the program keeps.
void makeFolder(const QString &folder, int cards)
{
    std::mt19937 rng(24);
    QByteArray archive;
    for (int i = 0; i < cards; ++i)
        archive += awkwardRecord(S::Size, cardLayout(), rng, i);
    QVERIFY(writeFile(folder + u"/Magazzino.pro"_s, archive));
    QByteArray pages;
    for (int i = 0; i < 7; ++i)
        pages += awkwardRecord(TPaginaListino::Size, pageLayout(), rng, i);
    QVERIFY(writeFile(folder + u"/Listino Estate.lis"_s, pages));
    QVERIFY(writeFile(folder + u"/ vuoto .LIS"_s, QByteArray()));
    QVERIFY(writeFile(folder + u"/1.jpg"_s, QByteArray("\xFF\xD8 photo one \0 \xFF\xD9", 18)));
    QVERIFY(writeFile(folder + u"/12.jpg"_s, QByteArray(70000, '\x7F')));
    QVERIFY(writeFile(folder + u"/Foto_Listino/Listino Estate_Foto_B_3.jpg"_s, "page photo"));
    QVERIFY(writeFile(folder + u"/Foto_Listino/Listino Estate_Anteprima_H.jpg"_s, "thumb"));
    QVERIFY(writeFile(folder + u"/Foto_Listino/appunti.txt"_s, "not a photo"));
    QVERIFY(writeFile(folder + u"/Documenti_Allegati/fattura 3€.pdf"_s, QByteArray(5000, '\0')));
    QVERIFY(writeFile(folder + u"/Documenti_Allegati/vuoto"_s, QByteArray()));
    QVERIFY(writeFile(folder + u"/unins000.dll"_s, "the password store stays out"));
}

struct Visited {
    QList<qint64> positions;
    QList<QByteArray> records;
};

Store::Visit collect(Visited &v)
{
    return [&v](qint64 position, const char *record) {
        v.positions.append(position);
        v.records.append(QByteArray(record, S::Size));
        return true;
    };
}

// An archive for the lists: cards of every kind the lists tell apart (letter case, accents,
// the paid flag's variants, stock at, below and above the threshold), some kept with the
// foreign bytes another program leaves (padding, a NUL inside a name, a length byte above
// the capacity), and near the end one card whose stock is not a number, where the lists
// that need it stop.
QByteArray listArchive(int cards)
{
    const QStringList names = {u"Vite zincata"_s, u"VITE inox"_s,   u"vite"_s,
                               u"Dado M8"_s,      u"Tubo ÈSTATE"_s, u"Bullone èstate"_s};
    const QStringList categories = {u"Ferramenta"_s, u"FERR."_s, u"Idraulica"_s,
                                    u"ferramenta Èlite"_s, QString()};
    const QStringList paid = {u"No"_s, u"Sì"_s, u"no"_s, u" No "_s, QString()};
    QByteArray archive;
    for (int i = 0; i < cards; ++i) {
        TSchedaProdotto c;
        c.Codice = (i % 3 ? u"ART-"_s : u"art-"_s) + QString::number(i);
        c.Nome = names.at(i % names.size()) + u' ' + QString::number(i % 97);
        c.Tipologia = categories.at(i % categories.size());
        c.Giacenza = QString::number(i % 7);
        c.Avviso = QString::number(i % 5);
        c.Costo = i % 4 ? u"1,50"_s : u" 3,25 "_s;
        c.Pagato = paid.at(i % paid.size());
        c.Ditta = u"Ditta "_s + QString::number(i % 9);
        c.DataSca = u"01/02/2027"_s;
        c.Documento = u"Fatt. "_s + QString::number(i);
        if (i == cards - 100) {
            c.Giacenza = u"tre"_s;
            c.Tipologia = u"Ferramenta"_s;
        }
        QByteArray record = c.encode();
        const S::Field &name = S::fields()[S::iNome];
        if (i % 11 == 0) // padding after the name
            record[name.offset + name.capacity] = '\x7F';
        if (i % 13 == 0) // a NUL inside the name
            record[name.offset + 3] = '\0';
        if (i % 17 == 0) { // the category's length byte above its capacity
            const S::Field &category = S::fields()[S::iTipologia];
            record[category.offset] = char(category.capacity + 20);
        }
        archive += record;
    }
    return archive;
}

// What a list shows, as text: its lines in the list box's order, how it ended, where it
// stopped, its total.
QStringList shown(const CompactLines &lines, Elenchi::Esito end,
                  const Elenchi::SchedaNonNumerica &stop, std::optional<double> total = {})
{
    QStringList out = lines.toList();
    out.sort();
    out.append(u"esito %1, scheda %2 %3"_s.arg(int(end)).arg(stop.posizione).arg(stop.codice));
    if (total)
        out.append(u"totale "_s + NumberText::totalText(*total));
    return out;
}

QStringList listOutput(const QString &which)
{
    using C = QList<std::pair<S::Index, QString>>;
    auto search = [](const C &criteria) {
        const Elenchi::Righe r = Elenchi::ricerca(Elenchi::criteriInUso(criteria));
        return shown(r.righe, r.esito, r.interruzione);
    };
    if (which == u"search, no criteria")
        return search({});
    if (which == u"search, name")
        return search({{S::iNome, u"vite"_s}});
    if (which == u"search, three fields")
        return search({{S::iCodice, u"ART-1"_s}, {S::iNome, u"Vi"_s}, {S::iTipologia, u"ferr"_s}});
    if (which == u"search, accented key")
        return search({{S::iTipologia, u"ÈLITE"_s}, {S::iNome, u"ÈSTATE"_s}});
    if (which == u"search, character no card holds")
        return search({{S::iNome, u"vite ☃"_s}});
    if (which == u"low stock") {
        const Elenchi::Righe r = Elenchi::sottoscorta();
        return shown(r.righe, r.esito, r.interruzione);
    }
    if (which == u"unpaid") {
        const Elenchi::Righe r = Elenchi::daSaldare();
        return shown(r.righe, r.esito, r.interruzione);
    }
    if (which == u"inventory" || which == u"inventory, category") {
        const Elenchi::Inventario r = Elenchi::inventario(which == u"inventory" ? QString()
                                                                                : u"ferr"_s);
        return shown(r.righe, r.esito, r.interruzione, r.totale);
    }
    if (which == u"line back to card") {
        const Elenchi::Righe all = Elenchi::ricerca({});
        QStringList out;
        for (const qsizetype i : {qsizetype(0), qsizetype(7), all.righe.size() - 1}) {
            const auto card = Elenchi::schedaDaRiga(all.righe.at(i), FormatoRiga::Standard);
            out.append(card ? QString::number(card->posizione) + u' ' +
                                  QString::fromLatin1(card->scheda.encode().toHex())
                            : u"none"_s);
        }
        return out;
    }
    if (which == u"export grid") {
        ExportGridModel grid;
        grid.load();
        QStringList out{QString::number(grid.rows())};
        for (qint64 row = 0; row < grid.rows(); ++row) {
            QStringList cells;
            for (int column = 0; column < ExportGridModel::CardColumns; ++column)
                cells.append(grid.cellText(row, column));
            out.append(cells.join(u'|'));
        }
        return out;
    }
    return {u"unknown list "_s + which};
}

} // namespace

class StoresTest : public QObject
{
    Q_OBJECT

private:
    PgCluster m_cluster;
    int m_databases = 0;
    std::unique_ptr<TempProgramFolder> m_folder;
    // The archive of the list tests, in a folder and transferred into a database.
    std::unique_ptr<QTemporaryDir> m_listFolder;
    Store::SharedSettings m_listDatabase;

    // A shared backend on a new, empty database.
    std::unique_ptr<Store::SharedBackend> freshShared(Store::SharedSettings *settings = nullptr)
    {
        const QString name = u"archivio_%1"_s.arg(++m_databases);
        if (!m_cluster.createDatabase(name))
            return nullptr;
        const Store::SharedSettings s = m_cluster.settings(name);
        if (settings)
            *settings = s;
        return std::make_unique<Store::SharedBackend>(s);
    }

    std::unique_ptr<Store::Backend> backend(bool shared)
    {
        m_folder = std::make_unique<TempProgramFolder>();
        if (shared)
            return freshShared();
        return std::make_unique<Store::FolderBackend>();
    }

    void addBackends()
    {
        QTest::addColumn<bool>("shared");
        QTest::newRow("folder") << false;
        QTest::newRow("shared") << true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!PgCluster::binaries())
            QSKIP("PostgreSQL server binaries not installed (initdb, pg_ctl under "
                  "/usr/lib/postgresql): `make test` installs them");
        QVERIFY2(m_cluster.start(), qPrintable(m_cluster.error()));
    }

    void cleanup() { m_folder.reset(); }

    void cardsContract_data() { addBackends(); }
    void cardsContract()
    {
        QFETCH(bool, shared);
        const std::unique_ptr<Store::Backend> store = backend(shared);
        QVERIFY(store);
        QCOMPARE(store->shared(), shared);

        const TSchedaProdotto first = card(u"  A-1  "_s, u"Vite € ‘inox’ "_s + QString(80, u'x'));
        const TSchedaProdotto second = card(u"B-2"_s, u"Dado"_s);
        {
            const std::unique_ptr<Store::Cards> cards = store->cards();
            QVERIFY(cards->open());
            QCOMPARE(cards->count(), 0);
            qint64 version = -1;
            QCOMPARE(cards->append(first, &version), std::optional<qint64>(1));
            QCOMPARE(version, shared ? 1 : 0);
            QCOMPARE(cards->append(second), std::optional<qint64>(2));
            QCOMPARE(cards->count(), 2);
            QVERIFY(cards->close());
        }
        const std::unique_ptr<Store::Cards> cards = store->cards();
        QVERIFY(cards->open());
        const auto read = cards->readAt(1);
        QVERIFY(read);
        QCOMPARE(read->record.encode(), stored(first));
        QCOMPARE(read->record.Nome.size(), 50);
        QVERIFY(!cards->readAt(3));

        TSchedaProdotto changed = read->record;
        changed.Giacenza = u"9"_s;
        qint64 now = -1;
        QCOMPARE(cards->writeAt(1, changed, read->version, &now), Store::Written::Done);
        QCOMPARE(now, shared ? 2 : 0);
        QCOMPARE(cards->writeAt(3, changed, std::nullopt), Store::Written::Failed);

        Visited forward;
        QVERIFY(cards->readAll(collect(forward)));
        QCOMPARE(forward.positions, (QList<qint64>{1, 2}));
        QCOMPARE(forward.records, (QList<QByteArray>{stored(changed), stored(second)}));
        Visited backward;
        QVERIFY(cards->readAllBackward(collect(backward)));
        QCOMPARE(backward.positions, (QList<qint64>{2, 1}));
        int visits = 0;
        QVERIFY(cards->readAll([&](qint64, const char *) { return ++visits < 1; }));
        QCOMPARE(visits, 1);

        const QByteArray jpeg("\xFF\xD8\xFF\xE0 not decoded \0 here \xFF\xD9", 26);
        QVERIFY(!cards->photo(2));
        QVERIFY(cards->storePhoto(2, jpeg));
        QCOMPARE(cards->photo(2), std::optional<QByteArray>(jpeg));
        QVERIFY(cards->storePhoto(2, "again"));
        QCOMPARE(cards->photo(2), std::optional<QByteArray>("again"));
        QVERIFY(cards->close());
    }

    void documentsContract_data() { addBackends(); }
    void documentsContract()
    {
        QFETCH(bool, shared);
        const std::unique_ptr<Store::Backend> store = backend(shared);
        QVERIFY(store);
        QTemporaryDir outside;
        const QString source = outside.filePath(u"mine.pdf"_s);
        const QByteArray bytes = QByteArray("%PDF-1.4 \0\x01\xFF", 13).repeated(1000);
        QVERIFY(writeFile(source, bytes));

        Store::Documents &documents = store->documents();
        QCOMPARE(documents.exists(u"Fattura 7.pdf"_s), std::optional<bool>(false));
        QVERIFY(documents.copyIn(source, u"Fattura 7.pdf"_s));
        QCOMPARE(documents.exists(u"Fattura 7.pdf"_s), std::optional<bool>(true));
        const std::optional<QString> path = documents.openablePath(u"Fattura 7.pdf"_s);
        QVERIFY(path);
        QCOMPARE(readFile(*path), bytes);
        QVERIFY(writeFile(outside.filePath(u"empty"_s), QByteArray()));
        QVERIFY(documents.copyIn(outside.filePath(u"empty"_s), u"vuoto.txt"_s));
        const std::optional<QString> empty = documents.openablePath(u"vuoto.txt"_s);
        QVERIFY(empty && QFileInfo(*empty).isFile() && QFileInfo(*empty).size() == 0);
        QVERIFY(!documents.copyIn(outside.filePath(u"missing"_s), u"x.pdf"_s));
        QCOMPARE(documents.exists(u"x.pdf"_s), std::optional<bool>(false));
        QVERIFY(!documents.copyIn(source, u"../escape.pdf"_s));
        QVERIFY(!documents.exists(u"../escape.pdf"_s).value_or(false));
    }

    void priceListsContract_data() { addBackends(); }
    void priceListsContract()
    {
        QFETCH(bool, shared);
        const std::unique_ptr<Store::Backend> store = backend(shared);
        QVERIFY(store);
        Store::PriceLists &lists = store->priceLists();
        QCOMPARE(lists.names(), std::optional<QStringList>(QStringList()));
        QString error;
        QCOMPARE(lists.create(u"Zeta.lis"_s, &error), Store::PriceLists::Creation::Created);
        QCOMPARE(lists.create(u"alfa.lis"_s, &error), Store::PriceLists::Creation::Created);
        QCOMPARE(lists.create(u"Èstate.lis"_s, &error), Store::PriceLists::Creation::Created);
        QCOMPARE(lists.create(u"Zeta.lis"_s, &error), Store::PriceLists::Creation::Exists);
        QCOMPARE(lists.names(),
                 std::optional<QStringList>({u"alfa.lis"_s, u"Zeta.lis"_s, u"Èstate.lis"_s}));

        {
            const std::unique_ptr<Store::Pages> pages = lists.pages(u"Zeta.lis"_s);
            QVERIFY(pages->open());
            QCOMPARE(pages->count(), 0);
            QCOMPARE(pages->append(page(u"P1"_s, u"1,00"_s)), std::optional<qint64>(1));
            QCOMPARE(pages->append(page(u"P2"_s, u"2,00"_s)), std::optional<qint64>(2));
            QVERIFY(pages->close());
        }
        const std::unique_ptr<Store::Pages> pages = lists.pages(u"Zeta.lis"_s);
        QVERIFY(pages->open());
        QCOMPARE(pages->count(), 2);
        auto second = pages->readAt(2);
        QVERIFY(second);
        QCOMPARE(second->record, page(u"P2"_s, u"2,00"_s));
        second->record.Voci[7].Nome = u"  Ultima voce  "_s;
        QCOMPARE(pages->writeAt(2, second->record, second->version), Store::Written::Done);
        QCOMPARE(pages->readAt(2)->record.Voci[7].Nome, u"Ultima voce"_s);
        QVERIFY(!pages->readAt(3));
        QCOMPARE(pages->writeAt(3, second->record, std::nullopt), Store::Written::Failed);
        QVERIFY(pages->close());

        QVERIFY(!lists.pagePhoto(u" Zeta "_s, 1, 2));
        QVERIFY(lists.storePagePhoto(u" Zeta "_s, 1, 2, "photo B2"));
        QCOMPARE(lists.pagePhoto(u"Zeta"_s, 1, 2), std::optional<QByteArray>("photo B2"));
        QVERIFY(!lists.pagePhoto(u"Zeta"_s, 2, 2));
        QVERIFY(lists.storeThumbnail(u"Zeta"_s, 7, "thumb H"));
        QCOMPARE(lists.thumbnail(u"Zeta"_s, 7), std::optional<QByteArray>("thumb H"));
        QVERIFY(!lists.thumbnail(u"Zeta"_s, 6));

        QVERIFY(lists.remove(u"alfa.lis"_s));
        QCOMPARE(lists.names(), std::optional<QStringList>({u"Zeta.lis"_s, u"Èstate.lis"_s}));
    }

    // Every list, line for line and with its order, totals and stopping card, the same from
    // the shared store as from the folder it was transferred from.
    void listsFromBothStores_data()
    {
        QTest::addColumn<QString>("list");
        for (const char *list :
             {"search, no criteria", "search, name", "search, three fields", "search, accented key",
              "search, character no card holds", "low stock", "unpaid", "inventory",
              "inventory, category", "line back to card", "export grid"})
            QTest::newRow(list) << QString::fromLatin1(list);
    }
    void listsFromBothStores()
    {
        QFETCH(QString, list);
        if (!m_listFolder) {
            m_listFolder = std::make_unique<QTemporaryDir>();
            QVERIFY(writeFile(m_listFolder->filePath(u"Magazzino.pro"_s), listArchive(3000)));
            const std::unique_ptr<Store::SharedBackend> shared = freshShared(&m_listDatabase);
            QVERIFY(shared);
            const Store::SharedBackend::Outcome in = shared->transferIn(m_listFolder->path());
            QVERIFY2(in.ok, qPrintable(in.error));
        }
        ProgramFolder::setForTests(m_listFolder->path());
        Store::setCurrent(std::make_unique<Store::FolderBackend>());
        const QStringList fromFolder = listOutput(list);
        Store::setCurrent(std::make_unique<Store::SharedBackend>(m_listDatabase));
        const QStringList fromShared = listOutput(list);
        Store::setCurrent(std::make_unique<Store::FolderBackend>());
        ProgramFolder::setForTests({});
        // Only the list of a character no card can hold is empty.
        QCOMPARE(fromFolder.size() == 1, list == u"search, character no card holds"_s);
        QCOMPARE(fromShared, fromFolder);
    }

    // Two workstations on one card and on one page: the second save of what both showed is
    // refused, writes nothing, and may then overwrite when the user says so.
    void savedElsewhere()
    {
        Store::SharedSettings settings;
        const std::unique_ptr<Store::SharedBackend> office = freshShared(&settings);
        QVERIFY(office);
        Store::SharedBackend till(settings);
        {
            const std::unique_ptr<Store::Cards> cards = office->cards();
            QVERIFY(cards->open() && cards->append(card(u"C"_s, u"Originale"_s)) && cards->close());
        }
        const std::unique_ptr<Store::Cards> a = office->cards();
        const std::unique_ptr<Store::Cards> b = till.cards();
        QVERIFY(a->open());
        const auto shownA = a->readAt(1);
        QVERIFY(a->close());
        QVERIFY(b->open());
        const auto shownB = b->readAt(1);
        QVERIFY(b->close());
        QCOMPARE(shownA->version, shownB->version);

        QVERIFY(b->open());
        QCOMPARE(b->writeAt(1, card(u"C"_s, u"Della cassa"_s), shownB->version),
                 Store::Written::Done);
        QVERIFY(b->close());
        QVERIFY(a->open());
        QCOMPARE(a->writeAt(1, card(u"C"_s, u"Dell'ufficio"_s), shownA->version),
                 Store::Written::Conflict);
        QCOMPARE(a->readAt(1)->record.Nome, u"Della cassa"_s);
        qint64 version = 0;
        QCOMPARE(a->writeAt(1, card(u"C"_s, u"Dell'ufficio"_s), std::nullopt, &version),
                 Store::Written::Done);
        QCOMPARE(version, shownA->version + 2);
        QVERIFY(a->close());

        const std::unique_ptr<Store::Pages> pa = office->priceLists().pages(u"L.lis"_s);
        const std::unique_ptr<Store::Pages> pb = till.priceLists().pages(u"L.lis"_s);
        QVERIFY(pa->open() && pa->append(page(u"X"_s, u"1,00"_s)) && pa->close());
        QVERIFY(pa->open());
        const auto pageA = pa->readAt(1);
        QVERIFY(pa->close());
        QVERIFY(pb->open());
        QCOMPARE(pb->writeAt(1, page(u"Y"_s, u"2,00"_s), pb->readAt(1)->version),
                 Store::Written::Done);
        QVERIFY(pb->close());
        QVERIFY(pa->open());
        QCOMPARE(pa->writeAt(1, page(u"Z"_s, u"3,00"_s), pageA->version), Store::Written::Conflict);
        QCOMPARE(pa->readAt(1)->record, page(u"Y"_s, u"2,00"_s));
        QVERIFY(pa->close());
    }

    // A page saved with its photos is one action: other workstations see neither the page
    // nor a photo until it ends, and then both.
    void pageAndPhotosOneAction()
    {
        Store::SharedSettings settings;
        const std::unique_ptr<Store::SharedBackend> shared = freshShared(&settings);
        QVERIFY(shared);
        Store::PriceLists &lists = shared->priceLists();
        QCOMPARE(lists.create(u"L.lis"_s, nullptr), Store::PriceLists::Creation::Created);
        auto seen = [&](const QString &table) {
            return m_cluster.scalar(settings.database, u"SELECT count(*) FROM "_s + table);
        };
        const std::unique_ptr<Store::Pages> pages = lists.pages(u"L.lis"_s);
        QVERIFY(pages->open());
        QCOMPARE(pages->append(page(u"X"_s, u"1,00"_s)).value_or(0), qint64(1));
        QVERIFY(lists.storePagePhoto(u"L"_s, 0, 1, QByteArray("foto A")));
        QVERIFY(lists.storePagePhoto(u"L"_s, 7, 1, QByteArray("foto H")));
        QCOMPARE(seen(u"pagine"_s), u"0"_s);
        QCOMPARE(seen(u"foto_listino"_s), u"0"_s);
        QVERIFY(pages->close());
        QCOMPARE(seen(u"pagine"_s), u"1"_s);
        QCOMPARE(seen(u"foto_listino"_s), u"2"_s);
        QCOMPARE(lists.pagePhoto(u"L"_s, 7, 1).value_or(QByteArray()), QByteArray("foto H"));
    }

    // Two processes appending 1 000 cards each at the same moment keep all 2 000, at the
    // positions 1 ... 2000, none shared.
    void appendsAtOnce()
    {
        Store::SharedSettings settings;
        const std::unique_ptr<Store::SharedBackend> store = freshShared(&settings);
        QVERIFY(store);
        QVERIFY(!Store::SharedBackend::test(settings)); // the schema is there before both start
        constexpr int kEach = 1000;
        std::vector<std::unique_ptr<QProcess>> workers;
        for (const QString &tag : {u"A"_s, u"B"_s}) {
            auto p = std::make_unique<QProcess>();
            p->start(QStringLiteral(SCAFFARIA_SHARED_APPENDER),
                     {settings.server, QString::number(settings.port), settings.database,
                      settings.user, tag, QString::number(kEach)});
            QVERIFY(p->waitForStarted());
            QVERIFY(p->waitForReadyRead(30000));
            QCOMPARE(p->readLine().trimmed(), QByteArray("pronto"));
            workers.push_back(std::move(p));
        }
        for (auto &p : workers)
            p->write("via\n");
        for (auto &p : workers) {
            QVERIFY(p->waitForFinished(300000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);
        }
        const std::unique_ptr<Store::Cards> cards = store->cards();
        QVERIFY(cards->open());
        QCOMPARE(cards->count(), 2 * kEach);
        QSet<QString> codes;
        qint64 expected = 0;
        QVERIFY(cards->readAll([&](qint64 position, const char *record) {
            if (position != ++expected)
                return false;
            codes.insert(S::field(record, S::iCodice));
            return true;
        }));
        QVERIFY(cards->close());
        QCOMPARE(expected, 2 * kEach);
        QCOMPARE(codes.size(), 2 * kEach);
        QVERIFY(codes.contains(u"A0999"_s) && codes.contains(u"B0000"_s));
    }

    // The server goes away in the middle of a save: nothing of the action stays, the
    // Italian sentence is what the user is shown, and after a restart the next action works.
    void serverStopsDuringSave()
    {
        Store::SharedSettings settings;
        const std::unique_ptr<Store::SharedBackend> store = freshShared(&settings);
        QVERIFY(store);
        {
            const std::unique_ptr<Store::Cards> cards = store->cards();
            QVERIFY(cards->open() && cards->append(card(u"K1"_s, u"Prima"_s)) && cards->close());
        }
        QVERIFY(store->failureText().isEmpty());
        {
            const std::unique_ptr<Store::Cards> cards = store->cards();
            QVERIFY(cards->open());
            QCOMPARE(cards->append(card(u"K2"_s, u"Mai scritta"_s)), std::optional<qint64>(2));
            QVERIFY(m_cluster.stop());
            QCOMPARE(cards->writeAt(1, card(u"K1"_s, u"Cambiata"_s), std::nullopt),
                     Store::Written::Failed);
            QVERIFY(!cards->close());
        }
        QCOMPARE(store->failureText(), Store::sharedFailureText());
        QElapsedTimer timer;
        timer.start();
        {
            const std::unique_ptr<Store::Cards> cards = store->cards();
            QVERIFY(!cards->open());
            QCOMPARE(cards->count(), 0);
        }
        QCOMPARE(Store::SharedBackend::test(settings), std::optional(Store::sharedFailureText()));
        QVERIFY(!store->isEmpty());
        QCOMPARE(store->priceLists().names(), std::nullopt);
        QVERIFY(timer.elapsed() < 5000);

        QVERIFY2(m_cluster.restart(), qPrintable(m_cluster.error()));
        const std::unique_ptr<Store::Cards> cards = store->cards();
        QVERIFY(cards->open());
        QCOMPARE(cards->count(), 1);
        QCOMPARE(cards->readAt(1)->record.Nome, u"Prima"_s);
        QCOMPARE(cards->append(card(u"K3"_s, u"Dopo"_s)), std::optional<qint64>(2));
        QVERIFY(cards->close());
        QCOMPARE(m_cluster.scalar(settings.database, u"SELECT count(*) FROM schede"_s),
                 std::optional<QString>(u"2"_s));
    }

    // A folder with every kind of file and every awkward record (more cards than one block
    // of a query holds) goes into an empty shared archive and comes out again byte for
    // byte, both on worker threads; a second transfer is refused, and the password store
    // stays in its folder.
    void transferInAndOut()
    {
        const std::unique_ptr<Store::SharedBackend> store = freshShared();
        QVERIFY(store);
        QTemporaryDir source;
        constexpr int kCards = 12003;
        makeFolder(source.path(), kCards);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(store->isEmpty(), std::optional<bool>(true));

        Store::SharedBackend::Outcome in;
        qint64 lastDone = -1, lastTotal = -1;
        std::thread([&] {
            in = store->transferIn(source.path(), [&](qint64 done, qint64 total) {
                lastDone = done;
                lastTotal = total;
            });
        }).join();
        QVERIFY2(in.ok, qPrintable(in.error));
        QCOMPARE(lastDone, lastTotal);
        QCOMPARE(store->isEmpty(), std::optional<bool>(false));
        const Store::SharedBackend::Outcome again = store->transferIn(source.path());
        QVERIFY(!again.ok);
        QCOMPARE(again.error, Store::sharedNotEmptyText());

        QTemporaryDir target;
        Store::SharedBackend::Outcome out;
        std::thread([&] { out = store->writeOut(target.path()); }).join();
        QVERIFY2(out.ok, qPrintable(out.error));
        QStringList expected = BackupCopy::keptFiles(source.path());
        expected.removeAll(u"unins000.dll"_s);
        QCOMPARE(BackupCopy::keptFiles(target.path()), expected);
        for (const QString &file : expected)
            QVERIFY2(readFile(source.filePath(file)) == readFile(target.filePath(file)),
                     qPrintable(file));

        // Read through the store, a card is the card the record file gives.
        const QByteArray archive = readFile(source.filePath(u"Magazzino.pro"_s));
        const std::unique_ptr<Store::Cards> cards = store->cards();
        QVERIFY(cards->open());
        for (const qint64 position : {1, 4, 5, 6, 5001, kCards}) {
            const auto read = cards->readAt(position);
            QVERIFY(read);
            QCOMPARE(read->record.encode(),
                     S::decode(archive.constData() + (position - 1) * S::Size).encode());
        }
        QVERIFY(cards->close());
        // From the last card to the first, the record bytes as the file holds them; each
        // worker thread on a connection of its own.
        for (int run = 0; run < 2; ++run) {
            qint64 expected = kCards;
            bool same = true;
            std::thread([&] {
                const std::unique_ptr<Store::Cards> backward = store->cards();
                same = backward->readAllBackward([&](qint64 position, const char *record) {
                    same = position == expected &&
                           QByteArrayView(record, S::Size) ==
                               QByteArrayView(archive).sliced((position - 1) * S::Size, S::Size);
                    --expected;
                    return same;
                }) && same;
            }).join();
            QVERIFY(same);
            QCOMPARE(expected, 0);
        }
    }
};

SCAFFARIA_TEST(StoresTest)

#include "tst_stores.moc"
