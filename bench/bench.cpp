// Times what the warehouse lists ask of the archive on 10 000 and 100 000 cards, beside
// two yardsticks: the floor (reading Magazzino.pro whole, nothing else) and SQLite
// answering the same questions over the same cards loaded into a table. Every answer is
// checked against SQLite's, so the figures compare equal work.

#include "app/backupcopy.h"
#include "common/numbertext.h"
#include "common/programfolder.h"
#include "common/storedtext.h"
#include "lists/elenchi.h"
#include "lists/listarighe.h"
#include "lists/modellorighe.h"
#include "lists/rigaelenco.h"
#include "lists/stampaelenco.h"
#include "lists/trovainelenco.h"
#include "printing/report.h"
#include "warehouse/archivio.h"
#include "warehouse/schedaprodotto.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
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

// Times two answers to one question in alternation, so that both meet the same load on
// the machine; the medians go into the row.
template<typename Row>
void race(Row &row, int column, int runs, const std::function<void()> &ours,
          const std::function<void()> &theirs)
{
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        a.push_back(elapsedMs(ours));
        b.push_back(elapsedMs(theirs));
    }
    row.ours[column] = median(a);
    row.sqlite[column] = median(b);
}

long peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
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

    void load(const QList<TSchedaProdotto> &cards)
    {
        QByteArray create = "CREATE TABLE cards (posizione INTEGER PRIMARY KEY";
        for (const S::Field &f : S::fields())
            create += ", " + QByteArray(f.name).toLower() + " TEXT";
        exec(create + ")");
        exec("BEGIN");
        sqlite3_stmt *insert = nullptr;
        QByteArray sql = "INSERT INTO cards VALUES (?";
        for (int i = 0; i < S::FieldCount; ++i)
            sql += ", ?";
        sqlite3_prepare_v2(m_db, sql + ")", -1, &insert, nullptr);
        qint64 position = 0;
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

struct Row {
    QString question;
    double ours[2] = {-1, -1};
    double sqlite[2] = {-1, -1};
};

bool g_mismatch = false;

void check(const char *what, bool same)
{
    if (!same) {
        std::printf("MISMATCH with SQLite: %s\n", what);
        g_mismatch = true;
    }
}

void runSize(int size, int column, QList<Row> &rows, long &peak)
{
    QTemporaryDir folder;
    ProgramFolder::setForTests(folder.path());
    std::mt19937 rng(20240601u + static_cast<unsigned>(size));
    QList<TSchedaProdotto> cards;
    cards.reserve(size);
    {
        QFile archive(ProgramFolder::file(ArchivioMagazzino::fileName()));
        archive.open(QIODevice::WriteOnly);
        QByteArray block;
        for (int n = 1; n <= size; ++n) {
            cards.append(cardNumber(n, rng));
            block += cards.back().encode();
            if (block.size() >= (4 << 20)) {
                archive.write(block);
                block.clear();
            }
        }
        archive.write(block);
    }
    Sql sql(folder.filePath(u"confronto.db"_s));
    sql.load(cards);
    cards.clear();
    cards.squeeze();

    const int runs = 7;
    int r = 0;
    auto row = [&](const QString &question) -> Row & {
        if (rows.size() <= r)
            rows.append(Row{question});
        return rows[r++];
    };
    ModelloRighe model;
    auto fill = [&model](QList<QString> lines) { model.imposta(std::move(lines)); };

    // The floor: the archive read whole in 4 MiB blocks into one buffer, nothing else.
    row(u"Floor: Magazzino.pro read whole, 4 MiB blocks"_s).ours[column] = medianMs(runs, [] {
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
            x, column, runs, [&] { fill(Elenchi::ricerca({}).righe); },
            [&] { all = sql.lines(sorted(kStandard)); });
        check("all lines", model.righe() == all);
    }
    {
        Row &x = row(u"Search, name contains \"vite\""_s);
        const std::vector<Elenchi::Criterio> criteria =
            Elenchi::criteriInUso({{S::iNome, u"vite"_s}});
        QList<QString> theirs;
        race(
            x, column, runs, [&] { fill(Elenchi::ricerca(criteria).righe); },
            [&] { theirs = sql.lines(sorted(kStandard, "instr(lower(nome), 'vite') > 0")); });
        check("name search", model.righe() == theirs);
    }
    {
        Row &x = row(u"Low-stock lines"_s);
        QList<QString> theirs;
        race(
            x, column, runs, [&] { fill(Elenchi::sottoscorta().righe); },
            [&] {
                theirs = sql.lines(sorted(kStandard, "CAST(replace(giacenza, ',', '.') AS REAL) <= "
                                                     "CAST(replace(avviso, ',', '.') AS REAL)"));
            });
        check("low stock", model.righe() == theirs);
    }
    {
        Row &x = row(u"Unpaid lines"_s);
        QList<QString> theirs;
        race(
            x, column, runs, [&] { fill(Elenchi::daSaldare().righe); },
            [&] { theirs = sql.lines(sorted(kUnpaid, "pagato = 'No'")); });
        check("unpaid", model.righe() == theirs);
    }
    {
        Row &x = row(u"Inventory: lines with values, and the total"_s);
        double ourTotal = 0;
        double theirTotal = 0;
        QList<QString> theirs;
        const QByteArray line =
            "printf('%!-25.25s  %!-42.42s  Scad. %!-10.10s  Costo: € %!-12.12s  Giacenza: "
            "%!-10.10s  Valore: € %s', codice, nome, datasca, costo, giacenza, "
            "replace(printf('%.15g', " +
            QByteArray(kValue) + "), '.', ','))";
        race(
            x, column, runs,
            [&] {
                Elenchi::Inventario inventory = Elenchi::inventario({});
                ourTotal = inventory.totale;
                fill(std::move(inventory.righe));
            },
            [&] {
                theirs = sql.lines(sorted(line.constData()));
                theirTotal = sql.number("SELECT total(" + QByteArray(kValue) + ") FROM cards");
            });
        check("inventory lines", model.righe() == theirs);
        check("inventory total",
              NumberText::totalText(ourTotal) == NumberText::totalText(theirTotal));
    }
    row(u"Inventory total alone (SQLite only, for scale)"_s).sqlite[column] =
        medianMs(runs, [&] { sql.number("SELECT total(" + QByteArray(kValue) + ") FROM cards"); });
    // The last line's card is the archive's last card, found in its last block; the first
    // line's card is the first card, for which the whole archive is read.
    for (const bool lastLine : {true, false}) {
        Row &x = row(lastLine ? u"ApriSchedaDaRiga on the last line: its card"_s
                              : u"ApriSchedaDaRiga on the first line: its card"_s);
        const QString chosen = lastLine ? all.last() : all.first();
        qint64 ours = 0;
        double theirs = 0;
        race(
            x, column, runs,
            [&] { ours = Elenchi::schedaDaRiga(chosen, FormatoRiga::Standard)->posizione; },
            [&] {
                theirs = sql.number("SELECT max(posizione) FROM cards WHERE rtrim(" +
                                        QByteArray(kStandard) + ") = ?1",
                                    StoredText::trimBlanks(chosen).toUtf8());
            });
        check("line back to card", ours == static_cast<qint64>(theirs) && ours > 0);
    }

    // The list box over all lines: filled (sort included), then scrolled to the end and
    // painted; and a find that steps to a line near the end.
    ListaRighe list(nullptr, u"lstRecords"_s, u"Elenco"_s);
    list.resize(960, 360);
    list.show();
    row(u"List box: filled with all standard lines"_s).ours[column] =
        medianMs(runs, [&] { list.imposta(Elenchi::ricerca({}).righe); });
    row(u"List box: scrolled to the end and painted"_s).ours[column] = medianMs(runs, [&] {
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
        row(u"TrovaInElenco: to a match near the end"_s).ours[column] = medianMs(runs, [&] {
            find.azzera();
            list.seleziona(0);
            find.esegui();
        });
        check("find", list.selezionata() == target);
    }
    {
        // The list report of the first 10 000 lines: filled and laid out into pages.
        const QStringList lines = list.righe().mid(0, 10000);
        int pages = 0;
        row(u"List report of 10 000 lines prepared"_s).ours[column] = medianMs(runs, [&] {
            pages = StampaElenco::prepara(u"Riepilogo prodotti in magazzino"_s, lines)
                        ->preparedPages()
                        .size();
        });
        check("report pages", pages > 1);
    }
    peak = std::max(peak, peakMiB());
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

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QList<Row> rows;
    long peak[2] = {0, 0};
    const int sizes[2] = {10000, 100000};
    for (int i = 0; i < 2; ++i) {
        std::fprintf(stderr, "%d cards...\n", sizes[i]);
        runSize(sizes[i], i, rows, peak[i]);
    }

    std::printf("\nMedian of 7 runs, milliseconds (Scaffaria | SQLite).\n\n");
    std::printf("| Question | 10 000: Scaffaria | 10 000: SQLite | 100 000: Scaffaria | "
                "100 000: SQLite |\n|---|---:|---:|---:|---:|\n");
    for (const Row &row : rows) {
        std::printf("| %s | %s | %s | %s | %s |\n", qPrintable(row.question),
                    qPrintable(cell(row.ours[0])), qPrintable(cell(row.sqlite[0])),
                    qPrintable(cell(row.ours[1])), qPrintable(cell(row.sqlite[1])));
    }
    std::printf("\nPeak memory (resident, whole process): %ld MiB after 10 000 cards, "
                "%ld MiB after 100 000.\n",
                peak[0], peak[1]);
    bool slower = false;
    for (const Row &row : rows) {
        if (row.ours[1] >= 0 && row.sqlite[1] >= 0 && row.ours[1] > row.sqlite[1]) {
            std::printf("SLOWER than SQLite at 100 000: %s\n", qPrintable(row.question));
            slower = true;
        }
    }
    std::fprintf(stderr, "backup copy...\n");
    runBackup();
    if (g_mismatch)
        return 2;
    return slower ? 1 : 0;
}
