// Times what the warehouse lists and the export ask of the archive, on 10 000 and 100 000
// cards or on the sizes BENCH_CARDS names (for example BENCH_CARDS=1000000, or
// "10000 1000000"), beside two yardsticks: the floor (reading Magazzino.pro whole, nothing
// else) and SQLite answering the same questions over the same cards loaded into a table.
// Every answer is checked against SQLite's, so the figures compare equal work. The same
// lists are timed from the shared store too, on a private PostgreSQL cluster holding the
// same cards (when the server is installed), and checked against the folder's lines. Each
// question's own peak memory is measured too: the highest resident size while it runs, less
// what the process held when it began (the bench's SQLite and its other lists not counted).
// The table goes to the standard output and, with one row per question and size, to
// results.csv in the bench's build folder.

#include "app/backupcopy.h"
#include "common/numbertext.h"
#include "common/programfolder.h"
#include "common/storedtext.h"
#include "lists/elenchi.h"
#include "lists/expgrid.h"
#include "lists/listarighe.h"
#include "lists/modellorighe.h"
#include "lists/rigaelenco.h"
#include "lists/stampaelenco.h"
#include "lists/trovainelenco.h"
#include "lists/xlsexport.h"
#include "printing/report.h"
#include "store/folderstore.h"
#include "store/sharedstore.h"
#include "support/pgcluster.h"
#include "warehouse/archivio.h"
#include "warehouse/schedaprodotto.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>

#include <malloc.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using S = TSchedaProdotto;

// ---- The cards -------------------------------------------------------------------------

const QStringList kNomi = {u"Vite"_s,     u"Bullone"_s,  u"Dado"_s,     u"Rondella"_s,
                           u"Tassello"_s, u"Chiodo"_s,   u"Cerniera"_s, u"Maniglia"_s,
                           u"Tubo"_s,     u"Raccordo"_s, u"Valvola"_s,  u"Guarnizione"_s};
const QStringList kAggettivi = {u"zincata"_s, u"inox"_s,       u"in ottone"_s, u"autofilettante"_s,
                                u"svasata"_s, u"rinforzata"_s, u"per legno"_s, u"già montata"_s};
const QStringList kCategorie = {u"Ferramenta"_s, u"Idraulica"_s, u"Elettricità"_s,
                                u"Utensili"_s,   u"Vernici"_s,   u"Giardinaggio"_s,
                                u"Edilizia"_s,   u"Serramenti"_s};
const QStringList kDitte = {u"Rossi S.r.l."_s, u"Bianchi & Figli"_s, u"Verdi S.p.A."_s,
                            u"Neri Forniture"_s, u"Colombo Metalli"_s};

TSchedaProdotto cardNumber(int n, std::mt19937 &rng)
{
    auto pick = [&rng](const QStringList &list) {
        return list.at(static_cast<int>(rng() % static_cast<unsigned>(list.size())));
    };
    auto number = [&rng](int low, int high) {
        return low + static_cast<int>(rng() % static_cast<unsigned>(high - low + 1));
    };
    TSchedaProdotto c;
    // Codes repeat in other letter cases now and then, as they do in a real archive.
    c.Codice = (rng() % 7 == 0 ? u"art-%1"_s : u"ART-%1"_s).arg(n, 6, 10, QChar(u'0'));
    c.Nome = u"%1 %2 %3x%4 mm"_s.arg(pick(kNomi), pick(kAggettivi))
                 .arg(number(2, 12))
                 .arg(number(10, 120));
    c.Giacenza = QString::number(number(-3, 200));
    c.Avviso = QString::number(number(0, 20));
    c.Costo = u"%1,%2"_s.arg(number(0, 999)).arg(number(0, 99), 2, 10, QChar(u'0'));
    c.Prezzo = u"%1,%2"_s.arg(number(1, 1999)).arg(number(0, 99), 2, 10, QChar(u'0'));
    c.UM = u"Confezione da %1 pezzi"_s.arg(number(1, 500));
    c.Tipologia = pick(kCategorie);
    c.Caratteristiche = u"Articolo %1 di qualità professionale, adatto a uso interno ed esterno, "
                        u"resistente alla corrosione."_s.arg(n);
    c.Collocazione = u"Scaffale %1, ripiano %2"_s.arg(number(1, 60)).arg(number(1, 8));
    c.Ditta = pick(kDitte);
    c.Agente = u"Agente %1"_s.arg(number(1, 40));
    c.Recapito = u"02 %1"_s.arg(number(1000000, 9999999));
    c.Documento = u"Fattura n. %1/2024"_s.arg(number(1, 3000));
    c.Pagamento = u"Bonifico 30 gg"_s;
    c.DataSca = u"%1/%2/2025"_s.arg(number(1, 28), 2, 10, QChar(u'0'))
                    .arg(number(1, 12), 2, 10, QChar(u'0'));
    c.Note = rng() % 3 == 0 ? u"Ordinare prima della fine del mese."_s : QString();
    c.Pagato = rng() % 10 < 7 ? S::paidYes() : S::paidNo();
    return c;
}

// ---- Timing ----------------------------------------------------------------------------

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double elapsedMs(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(elapsedMs(work));
    return median(times);
}

// A figure of /proc/self/status, in KiB.
long statusKiB(const char *key)
{
    QFile f(u"/proc/self/status"_s);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray wanted = QByteArray(key) + ':';
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(wanted))
            return line.mid(wanted.size()).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// The memory one piece of work takes for itself: the resident size's high-water mark is
// set back to the present size before the work (the system allows it through clear_refs),
// and the mark after it, less the size before, is the work's own peak.
class OwnPeak
{
public:
    OwnPeak()
    {
        // Memory freed earlier but still resident (SQLite's answers, the last list) goes back
        // first, so that the work cannot hide its own use in it.
        ::malloc_trim(0);
        QFile reset(u"/proc/self/clear_refs"_s);
        m_reset = reset.open(QIODevice::WriteOnly) && reset.write("5") == 1;
        m_before = statusKiB("VmRSS");
    }
    double mib() const
    {
        const long high = m_reset ? statusKiB("VmHWM") : statusKiB("VmRSS");
        return std::max(0L, high - m_before) / 1024.0;
    }

private:
    bool m_reset = false;
    long m_before = 0;
};

struct Row {
    QString question;
    std::vector<double> ours, sqlite, peak; // per size; -1 where not measured
};

int g_runs = 7;
// The private PostgreSQL cluster of the shared store's timings; not started when the server
// is not installed.
PgCluster *g_cluster = nullptr;

// The own peak of one more run of our answer, untimed: handing freed memory back before it
// makes the next allocations fault their pages in anew, which must not weigh on the times.
double ownPeak(const std::function<void()> &ours, const std::function<void()> &prepare)
{
    if (prepare)
        prepare();
    const OwnPeak watch;
    ours();
    return watch.mib();
}

// Times our answer `g_runs` times and keeps the median, then its own peak. `prepare` runs
// before each, untimed and outside the peak (emptying what the last answer left).
void oursOnly(Row &row, int column, const std::function<void()> &ours,
              const std::function<void()> &prepare = {})
{
    std::vector<double> times;
    for (int i = 0; i < g_runs; ++i) {
        if (prepare)
            prepare();
        times.push_back(elapsedMs(ours));
    }
    row.ours[column] = median(times);
    row.peak[column] = ownPeak(ours, prepare);
}

// Times two answers to one question in alternation, so that both meet the same load on
// the machine; the medians and our own peak go into the row.
void race(Row &row, int column, const std::function<void()> &ours,
          const std::function<void()> &theirs, const std::function<void()> &prepare = {})
{
    std::vector<double> a, b;
    for (int i = 0; i < g_runs; ++i) {
        if (prepare)
            prepare();
        a.push_back(elapsedMs(ours));
        b.push_back(elapsedMs(theirs));
    }
    row.ours[column] = median(a);
    row.sqlite[column] = median(b);
    row.peak[column] = ownPeak(ours, prepare);
}

// ---- SQLite ----------------------------------------------------------------------------

const char *kStandard = "printf('Cod. %!-22.22s  %!-34.34s  Cat. %!-22.22s  Giac. %!-4.4s  "
                        "Pagato: %!-2.2s  Scad. %!-10.10s  Costo: € %s', codice, nome, "
                        "tipologia, giacenza, pagato, datasca, costo)";
const char *kUnpaid = "printf('Cod. %!-20.20s  %!-30.30s  %!-20.20s  Giac. %!-4.4s  %!-24.24s  "
                      "Scad. %!-10.10s  Costo: € %s', codice, nome, tipologia, giacenza, ditta, "
                      "datasca, costo)";
const char *kValue = "(CAST(replace(giacenza, ',', '.') AS REAL) * "
                     "CAST(replace(costo, ',', '.') AS REAL))";

class Sql
{
public:
    explicit Sql(const QString &path)
    {
        sqlite3_open(path.toUtf8().constData(), &m_db);
        exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; "
             "PRAGMA cache_size=-524288; PRAGMA mmap_size=1073741824;");
    }
    ~Sql() { sqlite3_close(m_db); }

    void exec(const char *sql) { sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

    // Adds cards after the `before` already loaded (the table is made with the first ones).
    void load(const QList<TSchedaProdotto> &cards, qint64 before)
    {
        if (before == 0) {
            QByteArray create = "CREATE TABLE cards (posizione INTEGER PRIMARY KEY";
            for (const S::Field &f : S::fields())
                create += ", " + QByteArray(f.name).toLower() + " TEXT";
            exec(create + ")");
        }
        exec("BEGIN");
        sqlite3_stmt *insert = nullptr;
        QByteArray sql = "INSERT INTO cards VALUES (?";
        for (int i = 0; i < S::FieldCount; ++i)
            sql += ", ?";
        sqlite3_prepare_v2(m_db, sql + ")", -1, &insert, nullptr);
        qint64 position = before;
        for (const TSchedaProdotto &c : cards) {
            sqlite3_bind_int64(insert, 1, ++position);
            int column = 2;
            for (const S::Field &f : S::fields()) {
                const QByteArray text = StoredText::trimBlanks(c.*f.member).toUtf8();
                sqlite3_bind_text(insert, column++, text.constData(), int(text.size()),
                                  SQLITE_TRANSIENT);
            }
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        exec("COMMIT");
    }

    // The first column of every row, as text.
    QList<QString> lines(const QByteArray &sql, const QByteArray &bound = {})
    {
        QList<QString> out;
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr);
        if (!bound.isNull())
            sqlite3_bind_text(stmt, 1, bound.constData(), int(bound.size()), SQLITE_TRANSIENT);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            out.append(
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)),
                                  sqlite3_column_bytes(stmt, 0)));
        }
        sqlite3_finalize(stmt);
        return out;
    }

    double number(const QByteArray &sql, const QByteArray &bound = {})
    {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
            std::printf("SQLite: %s\n", sqlite3_errmsg(m_db));
        if (!bound.isNull())
            sqlite3_bind_text(stmt, 1, bound.constData(), int(bound.size()), SQLITE_TRANSIENT);
        double value = 0;
        if (sqlite3_step(stmt) == SQLITE_ROW)
            value = sqlite3_column_double(stmt, 0);
        sqlite3_finalize(stmt);
        return value;
    }

private:
    sqlite3 *m_db = nullptr;
};

// List order in SQL: NOCASE folds exactly the letters A to Z, UTF-8 bytes keep the order
// of the characters, and equal lines keep archive order.
QByteArray sorted(const char *line, const QByteArray &where = {})
{
    return "SELECT " + QByteArray(line) + " AS riga FROM cards" +
           (where.isEmpty() ? QByteArray() : " WHERE " + where) +
           " ORDER BY riga COLLATE NOCASE, posizione";
}

// ---- One size --------------------------------------------------------------------------

bool g_mismatch = false;

void check(const char *what, bool same)
{
    if (!same) {
        std::printf("MISMATCH with SQLite: %s\n", what);
        g_mismatch = true;
    }
}

// What the bench notes beside the table for each size.
struct Notes {
    double heldAfterExportMiB = 0;
    double heldAfterListsMiB = 0;
    double archiveMB = 0;
};

QList<QStringList> sqlRows(Sql &sql)
{
    QList<QStringList> rows;
    const char *columns[] = {"codice",    "costo",           "nome",         "giacenza", "um",
                             "tipologia", "caratteristiche", "collocazione", "ditta",    "agente",
                             "recapito",  "documento",       "pagamento",    "datasca",  "note",
                             "prezzo",    "pagato"};
    QList<QList<QString>> byColumn;
    for (const char *c : columns)
        byColumn.append(sql.lines("SELECT " + QByteArray(c) + " FROM cards ORDER BY posizione"));
    for (qsizetype r = 0; r < byColumn.first().size(); ++r) {
        QStringList row;
        for (const QList<QString> &column : byColumn)
            row.append(column.at(r));
        rows.append(row);
    }
    return rows;
}

// The lists from the shared store: the archive transferred into a fresh database of the
// private cluster, then the very lists and the export grid run with the shared store in
// use, each list's cards chosen at the server; every answer is checked against the
// folder's own.
template<typename RowOf, typename Fill, typename Empty>
void sharedStore(int size, int column, RowOf &row, Fill &fill, Empty &empty, ModelloRighe &model)
{
    const QString database = u"bench_"_s + QString::number(size);
    if (!g_cluster->createDatabase(database)) {
        check("shared database", false);
        return;
    }
    {
        Store::SharedBackend shared(g_cluster->settings(database));
        Row &x = row(u"Shared store: the folder transferred in (once)"_s);
        bool ok = false;
        x.ours[column] = elapsedMs([&] { ok = shared.transferIn(ProgramFolder::path()).ok; });
        check("shared transfer", ok);
    }
    struct Question {
        QString name;
        std::function<CompactLines()> lines;
    };
    const std::vector<Question> questions = {
        {u"Shared store: search, no criteria: all standard lines, sorted"_s,
         [] { return Elenchi::ricerca({}).righe; }},
        {u"Shared store: search, name contains \"vite\""_s,
         [] {
             return Elenchi::ricerca(Elenchi::criteriInUso({{S::iNome, u"vite"_s}})).righe;
         }},
        {u"Shared store: search, three fields: code \"art-00\", name \"vite\", category "
         "\"ferr\""_s,
         [] {
             return Elenchi::ricerca(Elenchi::criteriInUso({{S::iCodice, u"art-00"_s},
                                                            {S::iNome, u"vite"_s},
                                                            {S::iTipologia, u"ferr"_s}}))
                 .righe;
         }},
        {u"Shared store: low-stock lines"_s, [] { return Elenchi::sottoscorta().righe; }},
        {u"Shared store: unpaid lines"_s, [] { return Elenchi::daSaldare().righe; }},
        {u"Shared store: inventory: lines with values, and the total"_s,
         [] { return Elenchi::inventario({}).righe; }},
        {u"Shared store: inventory of category \"ferr\": lines with values, and the total"_s,
         [] { return Elenchi::inventario(u"ferr"_s).righe; }},
    };
    std::vector<QList<QString>> folder;
    for (const Question &q : questions) {
        fill(q.lines());
        folder.push_back(model.righe().toList());
    }
    ExportGridModel folderGrid;
    folderGrid.load();

    Store::setCurrent(std::make_unique<Store::SharedBackend>(g_cluster->settings(database)));
    for (std::size_t i = 0; i < questions.size(); ++i) {
        oursOnly(
            row(questions[i].name), column, [&] { fill(questions[i].lines()); }, empty);
        fill(questions[i].lines());
        check(qPrintable(questions[i].name), model.righe().toList() == folder[i]);
    }
    {
        auto grid = std::make_unique<ExportGridModel>();
        oursOnly(
            row(u"Shared store: export grid filled from the archive"_s), column,
            [&] { grid->load(); }, [&] { grid->clear(); });
        bool same = grid->rows() == folderGrid.rows();
        for (qint64 r = 0; same && r < grid->rows(); r += 997) {
            for (int c = 0; c < ExportGridModel::CardColumns; ++c)
                same = same && grid->cellText(r, c) == folderGrid.cellText(r, c);
        }
        check("shared export grid", same);
    }
    Store::setCurrent(std::make_unique<Store::FolderBackend>());
    model.svuota();
}

void runSize(int size, int column, QList<Row> &rows, Notes &notes)
{
    QTemporaryDir folder;
    ProgramFolder::setForTests(folder.path());
    std::mt19937 rng(20240601u + static_cast<unsigned>(size));
    {
        // The cards go to the archive and to SQLite a block at a time: the bench never
        // holds all of them.
        Sql loader(folder.filePath(u"confronto.db"_s));
        QFile archive(ProgramFolder::file(ArchivioMagazzino::fileName()));
        archive.open(QIODevice::WriteOnly);
        QList<TSchedaProdotto> cards;
        QByteArray block;
        for (int n = 1; n <= size; ++n) {
            cards.append(cardNumber(n, rng));
            block += cards.back().encode();
            if (cards.size() == 10000 || n == size) {
                archive.write(block);
                block.clear();
                loader.load(cards, n - static_cast<int>(cards.size()));
                cards.clear();
            }
        }
        notes.archiveMB = static_cast<double>(archive.size()) / 1e6;
    }
    Sql sql(folder.filePath(u"confronto.db"_s));
    g_runs = size >= 500000 ? 3 : 7;

    int r = 0;
    auto row = [&](const QString &question) -> Row & {
        if (rows.size() <= r)
            rows.append(Row{question, {}, {}, {}});
        Row &x = rows[r++];
        const std::size_t sizes = std::max<std::size_t>(x.ours.size(), column + 1);
        x.ours.resize(sizes, -1);
        x.sqlite.resize(sizes, -1);
        x.peak.resize(sizes, -1);
        return x;
    };
    ModelloRighe model;
    auto fill = [&model](CompactLines lines) { model.imposta(std::move(lines)); };
    auto empty = [&model] { model.svuota(); };

    // The floor: the archive read whole in 4 MiB blocks into one buffer, nothing else.
    oursOnly(row(u"Floor: Magazzino.pro read whole, 4 MiB blocks"_s), column, [] {
        QFile f(ProgramFolder::file(ArchivioMagazzino::fileName()));
        f.open(QIODevice::ReadOnly);
        QByteArray buffer(4 << 20, Qt::Uninitialized);
        while (f.read(buffer.data(), buffer.size()) > 0) {
        }
    });

    QList<QString> all;
    {
        Row &x = row(u"Search, no criteria: all standard lines, sorted"_s);
        race(
            x, column, [&] { fill(Elenchi::ricerca({}).righe); },
            [&] { all = sql.lines(sorted(kStandard)); }, empty);
        check("all lines", model.righe().toList() == all);
    }
    {
        Row &x = row(u"Search, name contains \"vite\""_s);
        const std::vector<Elenchi::Criterio> criteria =
            Elenchi::criteriInUso({{S::iNome, u"vite"_s}});
        QList<QString> theirs;
        race(
            x, column, [&] { fill(Elenchi::ricerca(criteria).righe); },
            [&] { theirs = sql.lines(sorted(kStandard, "instr(lower(nome), 'vite') > 0")); },
            empty);
        check("name search", model.righe().toList() == theirs);
    }
    {
        Row &x = row(u"Search, three fields: code \"art-00\", name \"vite\", category \"ferr\""_s);
        const std::vector<Elenchi::Criterio> criteria = Elenchi::criteriInUso(
            {{S::iCodice, u"art-00"_s}, {S::iNome, u"vite"_s}, {S::iTipologia, u"ferr"_s}});
        QList<QString> theirs;
        race(
            x, column, [&] { fill(Elenchi::ricerca(criteria).righe); },
            [&] {
                theirs = sql.lines(sorted(kStandard, "instr(lower(codice), 'art-00') > 0 AND "
                                                     "instr(lower(nome), 'vite') > 0 AND "
                                                     "instr(lower(tipologia), 'ferr') > 0"));
            },
            empty);
        check("three-field search", model.righe().toList() == theirs);
    }
    {
        Row &x = row(u"Low-stock lines"_s);
        QList<QString> theirs;
        race(
            x, column, [&] { fill(Elenchi::sottoscorta().righe); },
            [&] {
                theirs = sql.lines(sorted(kStandard, "CAST(replace(giacenza, ',', '.') AS REAL) <= "
                                                     "CAST(replace(avviso, ',', '.') AS REAL)"));
            },
            empty);
        check("low stock", model.righe().toList() == theirs);
    }
    {
        Row &x = row(u"Unpaid lines"_s);
        QList<QString> theirs;
        race(
            x, column, [&] { fill(Elenchi::daSaldare().righe); },
            [&] { theirs = sql.lines(sorted(kUnpaid, "pagato = 'No'")); }, empty);
        check("unpaid", model.righe().toList() == theirs);
    }
    const QByteArray inventoryLine =
        "printf('%!-25.25s  %!-42.42s  Scad. %!-10.10s  Costo: € %!-12.12s  Giacenza: "
        "%!-10.10s  Valore: € %s', codice, nome, datasca, costo, giacenza, "
        "replace(printf('%.15g', " +
        QByteArray(kValue) + "), '.', ','))";
    for (const bool whole : {true, false}) {
        Row &x = row(whole ? u"Inventory: lines with values, and the total"_s
                           : u"Inventory of category \"ferr\": lines with values, and the total"_s);
        const QString filter = whole ? QString() : u"ferr"_s;
        const QByteArray where = whole ? QByteArray() : "instr(lower(tipologia), 'ferr') > 0";
        double ourTotal = 0;
        double theirTotal = 0;
        QList<QString> theirs;
        race(
            x, column,
            [&] {
                Elenchi::Inventario inventory = Elenchi::inventario(filter);
                ourTotal = inventory.totale;
                fill(std::move(inventory.righe));
            },
            [&] {
                theirs = sql.lines(sorted(inventoryLine.constData(), where));
                theirTotal = sql.number("SELECT total(" + QByteArray(kValue) + ") FROM cards" +
                                        (where.isEmpty() ? QByteArray() : " WHERE " + where));
            },
            empty);
        check("inventory lines", model.righe().toList() == theirs);
        check("inventory total",
              NumberText::totalText(ourTotal) == NumberText::totalText(theirTotal));
    }
    {
        Row &x = row(u"Inventory total alone (SQLite only, for scale)"_s);
        std::vector<double> times;
        for (int i = 0; i < g_runs; ++i)
            times.push_back(elapsedMs(
                [&] { sql.number("SELECT total(" + QByteArray(kValue) + ") FROM cards"); }));
        x.sqlite[column] = median(times);
    }
    // The last line's card is the archive's last card, found in its last block; the first
    // line's card is the first card, for which the whole archive is read.
    for (const bool lastLine : {true, false}) {
        Row &x = row(lastLine ? u"ApriSchedaDaRiga on the last line: its card"_s
                              : u"ApriSchedaDaRiga on the first line: its card"_s);
        const QString chosen = lastLine ? all.last() : all.first();
        qint64 ours = 0;
        double theirs = 0;
        race(
            x, column,
            [&] { ours = Elenchi::schedaDaRiga(chosen, FormatoRiga::Standard)->posizione; },
            [&] {
                theirs = sql.number("SELECT max(posizione) FROM cards WHERE rtrim(" +
                                        QByteArray(kStandard) + ") = ?1",
                                    StoredText::trimBlanks(chosen).toUtf8());
            });
        check("line back to card", ours == static_cast<qint64>(theirs) && ours > 0);
    }
    if (g_cluster)
        sharedStore(size, column, row, fill, empty, model);
    model.svuota();

    // The list box over all lines: filled (sort included), then scrolled to the end and
    // painted; and a find that steps to a line near the end.
    {
        ListaRighe list(nullptr, u"lstRecords"_s, u"Elenco"_s);
        list.resize(960, 360);
        list.show();
        const long listsBefore = statusKiB("VmRSS");
        oursOnly(
            row(u"List box: filled with all standard lines"_s), column,
            [&] { list.imposta(Elenchi::ricerca({}).righe); }, [&] { list.svuota(); });
        oursOnly(row(u"List box: scrolled to the end and painted"_s), column, [&] {
            list.verticalScrollBar()->setValue(0);
            list.viewport()->grab();
            list.scrollToBottom();
            list.viewport()->grab();
        });
        {
            QLineEdit key;
            TrovaInElenco find(nullptr, &key, &list, TrovaInElenco::Avviso::Semplice);
            const int target = list.conta() - 3;
            key.setText(list.righe().at(target).mid(5, 10).toLower());
            oursOnly(row(u"TrovaInElenco: to a match near the end"_s), column, [&] {
                find.azzera();
                list.seleziona(0);
                find.esegui();
            });
            check("find", list.selezionata() == target);
        }
        {
            // The list report of the first 10 000 lines: filled and laid out into pages.
            QStringList lines;
            for (qsizetype i = 0; i < std::min<qsizetype>(10000, list.conta()); ++i)
                lines.append(list.righe().at(i));
            int pages = 0;
            oursOnly(row(u"List report of 10 000 lines prepared"_s), column, [&] {
                pages = StampaElenco::prepara(u"Riepilogo prodotti in magazzino"_s, lines)
                            ->preparedPages()
                            .size();
            });
            check("report pages", pages > 1);
        }
        // What the list box keeps once emptied, as its screen does when it closes.
        list.svuota();
        ::malloc_trim(0);
        notes.heldAfterListsMiB = std::max(0L, statusKiB("VmRSS") - listsBefore) / 1024.0;
    }

    // The export: the grid filled from the archive, then the grid and the file together,
    // as the export screen does them; the file is checked against SQLite's rows.
    const long exportBefore = statusKiB("VmRSS");
    const QString xls = ProgramFolder::file(XlsExport::fileName());
    {
        auto grid = std::make_unique<ExportGridModel>();
        oursOnly(
            row(u"Export grid: filled from the archive"_s), column, [&] { grid->load(); },
            [&] { grid->clear(); });
        check("grid rows", grid->rows() == size);
        grid->clear();
        bool written = false;
        oursOnly(
            row(u"Export: grid filled and Magazzino.xls written"_s), column,
            [&] {
                grid->load();
                written = XlsExport::write(xls, *grid);
            },
            [&] { grid->clear(); });
        check("export written", written);
        // What the export screen keeps once its grid is gone.
        grid.reset();
        ::malloc_trim(0);
        notes.heldAfterExportMiB = std::max(0L, statusKiB("VmRSS") - exportBefore) / 1024.0;
    }
    if (size <= 100000) {
        QFile f(xls);
        f.open(QIODevice::ReadOnly);
        check("export bytes", f.readAll() == XlsExport::document(sqlRows(sql)));
    } else {
        check("export size", QFileInfo(xls).size() > qint64(size) * 600);
    }
    ProgramFolder::setForTests({});
}

QString cell(double ms)
{
    if (ms < 0)
        return u"—"_s;
    return QString::number(ms, 'f', ms < 1 ? 3 : 1);
}

// ---- The backup copies -------------------------------------------------------------------

// A copy of 100 000 cards and 1 000 photos: written and read back whole, the check at start
// that finds the data unchanged, and a restore with its check, into a folder of its own.
void runBackup()
{
    constexpr int kCards = 100000;
    constexpr int kPhotos = 1000;
    QTemporaryDir folder;
    const QString data = folder.filePath(u"dati"_s);
    const QString other = folder.filePath(u"ripristino"_s);
    QDir().mkpath(data);
    QDir().mkpath(other);
    std::mt19937 rng(20240601u);
    {
        QFile archive(QDir(data).filePath(ArchivioMagazzino::fileName()));
        archive.open(QIODevice::WriteOnly);
        QByteArray block;
        for (int n = 1; n <= kCards; ++n) {
            block += cardNumber(n, rng).encode();
            if (block.size() >= (4 << 20)) {
                archive.write(block);
                block.clear();
            }
        }
        archive.write(block);
    }
    // Photos as a camera's: 1024 x 768 JPEG of a scene with fine detail.
    QImage scene(1024, 768, QImage::Format_RGB32);
    for (int y = 0; y < scene.height(); ++y) {
        for (int x = 0; x < scene.width(); ++x)
            scene.setPixel(x, y,
                           qRgb((x * 7 + rng() % 40) & 255, (y * 3 + rng() % 40) & 255,
                                ((x + y) + rng() % 40) & 255));
    }
    const QString first = QDir(data).filePath(u"1.jpg"_s);
    scene.save(first, "JPEG", 85);
    for (int n = 2; n <= kPhotos; ++n)
        QFile::copy(first, QDir(data).filePath(QString::number(n) + u".jpg"_s));

    qint64 bytes = 0;
    for (const QString &name : BackupCopy::keptFiles(data))
        bytes += QFileInfo(QDir(data).filePath(name)).size();
    const QString copy = folder.filePath(u"copia.zip"_s);
    const QDateTime when = QDateTime::currentDateTime();
    const int runs = 3;
    const double write = medianMs(runs, [&] {
        check("backup copy written",
              BackupCopy::write(data, copy, BackupCopy::Kind::Kept, when).ok);
    });
    const double same =
        medianMs(runs, [&] { check("data unchanged", BackupCopy::holdsSameData(data, copy)); });
    const double checked =
        medianMs(runs, [&] { check("copy whole", BackupCopy::check(copy, other, nullptr).ok); });
    const double restored =
        medianMs(runs, [&] { check("copy restored", BackupCopy::restore(copy, other).ok); });
    check("restored data equal", BackupCopy::holdsSameData(other, copy));
    std::printf("\nBackup copy of %d cards and %d photos (%.0f MB of data, %.0f MB copy), median "
                "of %d runs, milliseconds:\n\n",
                kCards, kPhotos, double(bytes) / 1e6, double(QFileInfo(copy).size()) / 1e6, runs);
    std::printf("| Step | ms |\n|---|---:|\n");
    std::printf("| Copy written, read back and checked, synced | %s |\n", qPrintable(cell(write)));
    std::printf("| Start with unchanged data: no new copy | %s |\n", qPrintable(cell(same)));
    std::printf("| Check of the copy before a restore | %s |\n", qPrintable(cell(checked)));
    std::printf("| Restore: extracted, synced, renamed into place | %s |\n",
                qPrintable(cell(restored)));
}

QString csvNumber(double value) { return value < 0 ? QString() : QString::number(value, 'f', 3); }

QString grouped(int n)
{
    QString digits = QString::number(n);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u' ');
    return digits;
}

// The sizes to run: BENCH_CARDS when set (numbers apart by blanks or commas), else 10 000
// and 100 000.
std::vector<int> sizes()
{
    std::vector<int> out;
    const QString wanted = qEnvironmentVariable("BENCH_CARDS");
    for (const QString &part : wanted.split(QRegularExpression(u"[\\s,]+"_s), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = part.toInt(&ok);
        if (ok && n > 0)
            out.push_back(n);
        else
            std::fprintf(stderr, "BENCH_CARDS: not a number of cards: %s\n", qPrintable(part));
    }
    if (out.empty())
        out = {10000, 100000};
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const std::vector<int> counts = sizes();
    PgCluster cluster;
    if (!PgCluster::binaries())
        std::fprintf(stderr, "Shared store left out: the PostgreSQL server is not installed\n");
    else if (!cluster.start())
        std::fprintf(stderr, "Shared store left out: %s\n", qPrintable(cluster.error()));
    else
        g_cluster = &cluster;
    const long baseline = statusKiB("VmRSS");
    QList<Row> rows;
    std::vector<Notes> notes(counts.size());
    for (std::size_t i = 0; i < counts.size(); ++i) {
        std::fprintf(stderr, "%d cards...\n", counts[i]);
        runSize(counts[i], static_cast<int>(i), rows, notes[i]);
    }
    for (Row &row : rows) {
        row.ours.resize(counts.size(), -1);
        row.sqlite.resize(counts.size(), -1);
        row.peak.resize(counts.size(), -1);
    }

    std::printf("\nMedian of 7 runs (3 from 500 000 cards), milliseconds; own peak memory in "
                "MiB.\n\n| Question |");
    for (int n : counts)
        std::printf(" %s: Scaffaria | %s: SQLite | %s: peak MiB |", qPrintable(grouped(n)),
                    qPrintable(grouped(n)), qPrintable(grouped(n)));
    std::printf("\n|---|");
    for (std::size_t i = 0; i < counts.size(); ++i)
        std::printf("---:|---:|---:|");
    std::printf("\n");
    for (const Row &row : rows) {
        std::printf("| %s |", qPrintable(row.question));
        for (std::size_t i = 0; i < counts.size(); ++i)
            std::printf(" %s | %s | %s |", qPrintable(cell(row.ours[i])),
                        qPrintable(cell(row.sqlite[i])),
                        qPrintable(row.peak[i] < 0 ? u"—"_s
                                                   : QString::number(row.peak[i], 'f', 0)));
        std::printf("\n");
    }
    std::printf("\nThe process held %ld MiB before the first archive was made.\n", baseline / 1024);
    for (std::size_t i = 0; i < counts.size(); ++i)
        std::printf(
            "%s cards (Magazzino.pro %.0f MB): still held once emptied, %.0f MiB of the list "
            "box of all lines, %.0f MiB of the export grid.\n",
            qPrintable(grouped(counts[i])), notes[i].archiveMB, notes[i].heldAfterListsMiB,
            notes[i].heldAfterExportMiB);

    QFile csv(QStringLiteral(SCAFFARIA_BENCH_DIR "/results.csv"));
    if (csv.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        QTextStream out(&csv);
        out << "cards,question,scaffaria_ms,sqlite_ms,peak_mib\n";
        for (std::size_t i = 0; i < counts.size(); ++i) {
            for (const Row &row : rows) {
                QString question = row.question;
                question.replace(u'"', u"\"\""_s);
                out << counts[i] << ",\"" << question << "\"," << csvNumber(row.ours[i]) << ','
                    << csvNumber(row.sqlite[i]) << ','
                    << (row.peak[i] < 0 ? QString() : QString::number(row.peak[i], 'f', 1)) << '\n';
            }
        }
        std::printf("\nWritten: %s\n", qPrintable(csv.fileName()));
    }

    const std::size_t largest = counts.size() - 1;
    bool slower = false;
    for (const Row &row : rows) {
        if (row.ours[largest] >= 0 && row.sqlite[largest] >= 0 &&
            row.ours[largest] > row.sqlite[largest]) {
            std::printf("SLOWER than SQLite at %s: %s\n", qPrintable(grouped(counts[largest])),
                        qPrintable(row.question));
            slower = true;
        }
    }
    std::fprintf(stderr, "backup copy...\n");
    runBackup();
    if (g_mismatch)
        return 2;
    return slower ? 1 : 0;
}
