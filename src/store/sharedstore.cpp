#include "store/sharedstore.h"

#include "common/numbertext.h"
#include "common/storedtext.h"
#include "pricelist/elencolistini.h"
#include "store/keptfiles.h"
#include "warehouse/archivio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>

using namespace Qt::StringLiterals;

namespace Store {

namespace {

// The schema this program creates and reads. A later program that changes the tables
// raises it and migrates the older ones it finds.
constexpr int kSchemaVersion = 1;
// Rows per query when a whole archive is read: large blocks keep the round trips few.
constexpr int kBlock = 5000;
// Rows per statement when many cards are inserted at once (a transfer).
constexpr int kInsertBatch = 250;
// The lock every workstation takes while it creates the schema or fills an empty archive.
constexpr qint64 kSchemaLock = 0x5CAFFA01;

// One text column of a record: where its field lies in the record bytes.
struct Column {
    QString name;
    int capacity;
    int offset;
};

const QList<Column> &cardColumns()
{
    static const QList<Column> columns = [] {
        QList<Column> out;
        for (const TSchedaProdotto::Field &f : TSchedaProdotto::fields())
            out.append({QString::fromLatin1(f.name).toLower(), f.capacity, f.offset});
        return out;
    }();
    return columns;
}

const QList<Column> &pageColumns()
{
    static const QList<Column> columns = [] {
        QList<Column> out;
        for (int slot = 0; slot < TPaginaListino::SlotCount; ++slot) {
            for (const TVoceListino::Field &f : TVoceListino::fields())
                out.append({u"v"_s + TPaginaListino::letter(slot).toLower() + u'_' +
                                QString::fromLatin1(f.name).toLower(),
                            f.capacity, slot * TVoceListino::Size + f.offset});
        }
        return out;
    }();
    return columns;
}

QString joined(const QList<Column> &columns, const QString &prefix = {})
{
    QStringList names;
    for (const Column &c : columns)
        names.append(prefix + c.name);
    return names.join(u", "_s);
}

// Qt SQL binds a null byte array or text as NULL: an empty file or field is bound as
// an empty value instead.
QByteArray bytesValue(const QByteArray &bytes)
{
    return bytes.isNull() ? QByteArray("", 0) : bytes;
}
QString textValue(const QString &text) { return text.isNull() ? QStringLiteral("") : text; }

// A record as the database keeps it: the trimmed, cut text of each field, and the record's
// own bytes only when they are not what the program writes for those texts (padding left
// by another program, a text cut after a blank, a NUL inside a field, which a text column
// cannot hold).
struct Row {
    QStringList texts;
    QByteArray compact; // each field's length byte and used bytes, one after the other
    QByteArray raw;     // null when the texts give the record
};

Row rowFromRecord(const QList<Column> &columns, const char *record, int size)
{
    Row row;
    row.texts.reserve(columns.size());
    QByteArray again(size, '\0');
    bool exact = true;
    for (const Column &c : columns) {
        QString text = StoredText::decode(record + c.offset, c.capacity);
        StoredText::encode(text, c.capacity, again.data() + c.offset);
        if (text.contains(QChar(u'\0'))) {
            exact = false;
            text.replace(QChar(u'\0'), QChar(0xFFFD));
        }
        row.texts.append(textValue(text));
    }
    if (!exact || std::memcmp(again.constData(), record, static_cast<std::size_t>(size)) != 0)
        row.raw = QByteArray(record, size);
    // The form the lists read back in bulk: a few dozen bytes where the record holds
    // thousands, laid out again into the record without a text conversion.
    for (const Column &c : columns) {
        const int used = static_cast<unsigned char>(again.at(c.offset));
        row.compact.append(again.constData() + c.offset, used + 1);
    }
    return row;
}

// The record bytes of a row read back (its `grezzo` and `compatto` columns at `first`):
// its own bytes when it kept them, otherwise its compact form laid out again. False when
// the stored bytes are not a record of this layout.
bool recordFromQuery(const QSqlQuery &q, int first, const QList<Column> &columns, int size,
                     char *out)
{
    const QVariant raw = q.value(first);
    if (!raw.isNull()) {
        const QByteArray bytes = raw.toByteArray();
        if (bytes.size() != size)
            return false;
        std::memcpy(out, bytes.constData(), static_cast<std::size_t>(size));
        return true;
    }
    const QByteArray compact = q.value(first + 1).toByteArray();
    std::memset(out, 0, static_cast<std::size_t>(size));
    qsizetype at = 0;
    for (const Column &c : columns) {
        if (at >= compact.size())
            return false;
        const int used = static_cast<unsigned char>(compact.at(at));
        if (used > c.capacity || at + 1 + used > compact.size())
            return false;
        std::memcpy(out + c.offset, compact.constData() + at, static_cast<std::size_t>(used + 1));
        at += 1 + used;
    }
    return at == compact.size();
}

// A number field as the lists read it: the trimmed bytes, plain ASCII for any number.
std::optional<double> listNumber(const char *record, TSchedaProdotto::Index index)
{
    const QByteArrayView bytes = TSchedaProdotto::trimmedBytes(record, index);
    const std::optional<double> n = NumberText::parse(QString::fromLatin1(bytes));
    if (n && !std::isfinite(*n))
        return std::nullopt;
    return n;
}

// What the lists ask at the server: whether the low-stock list may keep the card (its
// stock at or below its threshold, or either not a number, where the list stops), and
// whether its paid flag is exactly "No".
struct Flags {
    bool lowStock = true;
    bool unpaid = false;
};

Flags flagsOf(const char *record)
{
    using S = TSchedaProdotto;
    Flags f;
    const std::optional<double> stock = listNumber(record, S::iGiacenza);
    const std::optional<double> threshold = listNumber(record, S::iAvviso);
    f.lowStock = !stock || !threshold || *stock <= *threshold;
    f.unpaid = S::trimmedBytes(record, S::iPagato) == QByteArrayView("No");
    return f;
}

QString cardPhotoName(qint64 position) { return QString::number(position) + u".jpg"_s; }

QString photoFolderName() { return u"Foto_Listino"_s; }
QString documentFolderName() { return u"Documenti_Allegati"_s; }

bool isPriceListName(const QString &name)
{
    return !name.contains(u'/') && name.size() > 4 && name.endsWith(u".lis"_s, Qt::CaseInsensitive);
}

// A bare file name that stays inside its folder.
bool isBareName(const QString &name)
{
    return !name.isEmpty() && name != u"."_s && name != u".."_s && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(u'\0'));
}

QString pagePhotoName(const QString &listName, int slot, qint64 position)
{
    return StoredText::trimBlanks(listName) + u"_Foto_"_s + TPaginaListino::letter(slot) + u'_' +
           QString::number(position) + u".jpg"_s;
}

QString thumbnailName(const QString &listName, int slot)
{
    return StoredText::trimBlanks(listName) + u"_Anteprima_"_s + TPaginaListino::letter(slot) +
           u".jpg"_s;
}

QStringList schemaStatements()
{
    QStringList sql;
    sql << u"CREATE TABLE scaffaria_schema (versione integer NOT NULL)"_s;
    sql << u"INSERT INTO scaffaria_schema (versione) VALUES (%1)"_s.arg(kSchemaVersion);
    // The number of cards: its row is locked by each append, so positions stay 1..n.
    sql << u"CREATE TABLE scaffaria_contatori (nome text PRIMARY KEY, valore bigint NOT NULL)"_s;
    sql << u"INSERT INTO scaffaria_contatori (nome, valore) VALUES ('schede', 0)"_s;

    QString cards = u"CREATE TABLE schede (posizione bigint PRIMARY KEY CHECK (posizione > 0), "
                    "versione bigint NOT NULL, grezzo bytea CHECK (octet_length(grezzo) = %1), "
                    "compatto bytea NOT NULL, "_s.arg(TSchedaProdotto::Size);
    for (const Column &c : cardColumns())
        cards += u"%1 text NOT NULL CHECK (char_length(%1) <= %2), "_s.arg(c.name).arg(c.capacity);
    cards += u"sottoscorta boolean NOT NULL, da_saldare boolean NOT NULL)"_s;
    sql << cards;
    sql << u"CREATE INDEX schede_sottoscorta ON schede (posizione) WHERE sottoscorta"_s;
    sql << u"CREATE INDEX schede_da_saldare ON schede (posizione) WHERE da_saldare"_s;
    sql << u"CREATE INDEX schede_grezze ON schede (posizione) WHERE grezzo IS NOT NULL"_s;
    sql << u"CREATE TABLE foto_schede (posizione bigint PRIMARY KEY, jpeg bytea NOT NULL)"_s;

    sql << u"CREATE TABLE listini (nome_file text PRIMARY KEY, pagine bigint NOT NULL DEFAULT 0)"_s;
    QString pages = u"CREATE TABLE pagine (nome_file text NOT NULL REFERENCES listini "
                    "ON DELETE CASCADE, posizione bigint NOT NULL CHECK (posizione > 0), "
                    "versione bigint NOT NULL, grezzo bytea CHECK (octet_length(grezzo) = %1), "
                    "compatto bytea NOT NULL, "_s.arg(TPaginaListino::Size);
    for (const Column &c : pageColumns())
        pages += u"%1 text NOT NULL CHECK (char_length(%1) <= %2), "_s.arg(c.name).arg(c.capacity);
    pages += u"PRIMARY KEY (nome_file, posizione))"_s;
    sql << pages;
    // The page photos and print thumbnails, by their file name in the photo folder.
    sql << u"CREATE TABLE foto_listino (nome_file text PRIMARY KEY, jpeg bytea NOT NULL)"_s;
    sql << u"CREATE TABLE documenti (nome_file text PRIMARY KEY, dati bytea NOT NULL)"_s;
    // Any other file the folder keeps, by its path there, so that a transfer loses nothing.
    sql << u"CREATE TABLE altri_file (percorso text PRIMARY KEY, dati bytea NOT NULL)"_s;
    return sql;
}

QString insertCardsSql(int rows)
{
    const int perRow = 4 + static_cast<int>(cardColumns().size()) + 2;
    QString sql = u"INSERT INTO schede (posizione, versione, grezzo, compatto, "_s +
                  joined(cardColumns()) + u", sottoscorta, da_saldare) VALUES "_s;
    QStringList tuples;
    tuples.reserve(rows);
    QStringList marks(perRow, u"?"_s);
    for (int i = 0; i < rows; ++i)
        tuples.append(u'(' + marks.join(u',') + u')');
    return sql + tuples.join(u',');
}

void bindCard(QSqlQuery &q, qint64 position, qint64 version, const char *record)
{
    const Row row = rowFromRecord(cardColumns(), record, TSchedaProdotto::Size);
    const Flags flags = flagsOf(record);
    q.addBindValue(position);
    q.addBindValue(version);
    q.addBindValue(row.raw.isNull() ? QVariant(QMetaType(QMetaType::QByteArray)) : row.raw);
    q.addBindValue(row.compact);
    for (const QString &t : row.texts)
        q.addBindValue(t);
    q.addBindValue(flags.lowStock);
    q.addBindValue(flags.unpaid);
}

// The statement and values that insert a page at its position, version 1.
std::pair<QString, QVariantList> pageInsert(const QString &fileName, qint64 position,
                                            const QByteArray &record)
{
    const Row row = rowFromRecord(pageColumns(), record.constData(), TPaginaListino::Size);
    QStringList marks(pageColumns().size() + 5, u"?"_s);
    QVariantList values{fileName, position, 1,
                        row.raw.isNull() ? QVariant(QMetaType(QMetaType::QByteArray))
                                         : QVariant(row.raw),
                        row.compact};
    for (const QString &t : row.texts)
        values.append(t);
    return {u"INSERT INTO pagine (nome_file, posizione, versione, grezzo, compatto, "_s +
                joined(pageColumns()) + u") VALUES ("_s + marks.join(u',') + u')',
            values};
}

} // namespace

QString sharedFailureText()
{
    return u"Attenzione: l'archivio condiviso non risponde. Controllare la rete e il server, poi "
           "riprovare."_s;
}

QString sharedNotEmptyText()
{
    return u"Attenzione: l'archivio condiviso contiene già dei dati."_s;
}

// ---------------------------------------------------------------------------------------
// Connections and transactions

// What every action of one shared backend shares: its settings and its connections.
struct SharedConnections {
    SharedSettings settings;
    QString prefix;
    QMutex mutex;
    QSet<QString> names;         // the connections made, one per thread
    QSet<QString> schemaChecked; // connections that have seen the schema since they opened
    std::atomic<bool> lastFromServer{false};
    std::unique_ptr<QTemporaryDir> openable;

    // Each thread its own connection, named by a number no later thread gets again.
    QString threadConnectionName()
    {
        static std::atomic<quint64> threads{0};
        thread_local const quint64 thread = ++threads;
        return prefix + u'-' + QString::number(thread);
    }

    static void configure(QSqlDatabase &db, const SharedSettings &s)
    {
        db.setHostName(s.server);
        db.setPort(s.port);
        db.setDatabaseName(s.database);
        db.setUserName(s.user);
        db.setPassword(s.password);
        // A dead server or network is noticed within seconds, never waited on for minutes.
        db.setConnectOptions(u"connect_timeout=3;keepalives=1;keepalives_idle=5;"
                             "keepalives_interval=2;keepalives_count=2;tcp_user_timeout=9000;"
                             "application_name=Scaffaria"_s);
    }

    // Opens a connection and makes sure the schema is there. False on any failure.
    static bool openChecked(QSqlDatabase &db, bool *schemaSeen)
    {
        if (!db.isOpen() && !db.open())
            return false;
        if (*schemaSeen)
            return true;
        QSqlQuery q(db);
        // A workstation that waits on another's lock for long gives up instead of freezing.
        if (!q.exec(u"SET lock_timeout = '10s'"_s))
            return false;
        if (!ensureSchema(db))
            return false;
        *schemaSeen = true;
        return true;
    }

    static bool ensureSchema(QSqlDatabase &db)
    {
        QSqlQuery q(db);
        if (!q.exec(u"SELECT to_regclass('scaffaria_schema') IS NOT NULL"_s) || !q.next())
            return false;
        if (q.value(0).toBool())
            return checkVersion(db);
        q.finish();
        // Two workstations starting on an empty database at once: one creates the schema,
        // the other waits for it and then finds it.
        if (!db.transaction())
            return false;
        bool ok = q.exec(u"SELECT pg_advisory_xact_lock(%1)"_s.arg(kSchemaLock)) &&
                  q.exec(u"SELECT to_regclass('scaffaria_schema') IS NOT NULL"_s) && q.next();
        if (ok && !q.value(0).toBool()) {
            q.finish();
            for (const QString &statement : schemaStatements()) {
                if (!q.exec(statement)) {
                    ok = false;
                    break;
                }
            }
        }
        q.finish();
        if (!ok) {
            db.rollback();
            return false;
        }
        return db.commit() && checkVersion(db);
    }

    // A schema written by a later program is not this program's to use.
    static bool checkVersion(QSqlDatabase &db)
    {
        QSqlQuery q(db);
        return q.exec(u"SELECT max(versione) FROM scaffaria_schema"_s) && q.next() &&
               q.value(0).toInt() == kSchemaVersion;
    }

    // The connection of the calling thread, open and with its schema; closed after a
    // failure, so the next action connects again.
    std::optional<QSqlDatabase> connection()
    {
        const QString name = threadConnectionName();
        QSqlDatabase db;
        bool seen = false;
        {
            QMutexLocker lock(&mutex);
            if (!names.contains(name)) {
                db = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
                configure(db, settings);
                names.insert(name);
            } else {
                db = QSqlDatabase::database(name, false);
            }
            seen = db.isOpen() && schemaChecked.contains(name);
        }
        if (!db.isValid() || !openChecked(db, &seen)) {
            db.close();
            return std::nullopt;
        }
        QMutexLocker lock(&mutex);
        schemaChecked.insert(name);
        return db;
    }

    void forget(QSqlDatabase &db)
    {
        db.close();
        QMutexLocker lock(&mutex);
        schemaChecked.remove(db.connectionName());
    }
};

namespace {

// One user action on the shared store: one transaction on the thread's connection. A
// failure rolls the transaction back and closes the connection, so the next action opens
// a fresh one; everything asked after a failure within the same action fails too.
//
// A session begun while another action of the same store is open on this thread (a page's
// photos stored while its page is being saved) joins that action instead of starting a
// transaction of its own: its work is committed or undone with the page, and its failure
// fails the whole action.
class Session
{
public:
    explicit Session(SharedConnections *d) : d(d) {}
    ~Session()
    {
        if (m_open)
            abort();
        leave();
    }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    bool inAction() const { return m_open; }
    bool failed() const { return m_failed || (m_outer && m_outer->m_failed); }

    bool begin()
    {
        if (m_open)
            return !failed();
        m_failed = false;
        if (Session *outer = s_active; outer && outer->d == d && outer->m_open) {
            m_outer = outer;
            m_db = outer->m_db;
            m_open = true;
            return !outer->m_failed;
        }
        // A connection that broke since the last action is noticed here: try once more on a
        // fresh one before giving up.
        for (int attempt = 0; attempt < 2; ++attempt) {
            std::optional<QSqlDatabase> db = d->connection();
            if (!db)
                break;
            if (db->transaction()) {
                m_db = *db;
                m_open = true;
                m_previous = s_active;
                s_active = this;
                return true;
            }
            d->forget(*db);
        }
        fail();
        return false;
    }

    bool commit()
    {
        if (!m_open)
            return false;
        m_open = false;
        if (m_outer) {
            m_outer = nullptr;
            return !m_failed;
        }
        leave();
        if (m_failed)
            return false;
        if (m_db.commit())
            return true;
        m_db.rollback();
        d->forget(m_db);
        m_failed = true;
        d->lastFromServer = true;
        return false;
    }

    void abort()
    {
        if (m_outer) {
            // Work left unfinished inside another action spoils that action.
            m_outer->fail();
            m_outer = nullptr;
        } else if (m_open) {
            m_db.rollback();
        }
        leave();
        m_open = false;
        m_failed = true;
    }

    // A statement failed: nothing of the action stays.
    void fail()
    {
        if (m_outer) {
            m_outer->fail();
            m_outer = nullptr;
            m_open = false;
            m_failed = true;
            return;
        }
        if (m_open)
            m_db.rollback();
        if (m_db.isValid())
            d->forget(m_db);
        leave();
        m_open = false;
        m_failed = true;
        d->lastFromServer = true;
    }

    QSqlQuery query()
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        return q;
    }

    // Runs a prepared statement with its values; fails the action when it fails.
    bool exec(QSqlQuery &q, const QString &sql, const QVariantList &values = {})
    {
        if (!q.prepare(sql)) {
            fail();
            return false;
        }
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec()) {
            fail();
            return false;
        }
        return true;
    }

    QSqlDatabase &db() { return m_db; }

private:
    // No longer the thread's open action.
    void leave()
    {
        if (s_active == this)
            s_active = m_previous;
        m_previous = nullptr;
    }

    static thread_local Session *s_active; // the open action of this thread, if any

    SharedConnections *d;
    QSqlDatabase m_db;
    Session *m_outer = nullptr;    // the action this session joined
    Session *m_previous = nullptr; // the thread's open action when this one began
    bool m_open = false;
    bool m_failed = false;
};

thread_local Session *Session::s_active = nullptr;

// Runs an UPDATE of one record that raises its version, refused when `shownVersion` is
// given and the record no longer has it. When nothing was updated, `existsSql` tells a
// record saved elsewhere (Conflict) from one that is not there (Failed).
Written versionedUpdate(Session &session, QString sql, QVariantList values,
                        std::optional<qint64> shownVersion, qint64 *newVersion,
                        const QString &existsSql, const QVariantList &existsValues)
{
    if (shownVersion) {
        sql += u" AND versione = ?"_s;
        values << *shownVersion;
    }
    sql += u" RETURNING versione"_s;
    QSqlQuery q = session.query();
    if (!session.exec(q, sql, values))
        return Written::Failed;
    if (q.next()) {
        if (newVersion)
            *newVersion = q.value(0).toLongLong();
        return Written::Done;
    }
    q.finish();
    if (!session.exec(q, existsSql, existsValues))
        return Written::Failed;
    return q.next() && shownVersion ? Written::Conflict : Written::Failed;
}

// Runs `work` inside the caller's action, or in one of its own when there is none.
template<typename Result, typename Work>
Result within(Session &session, const Result &failure, Work &&work)
{
    const bool own = !session.inAction();
    if ((own && !session.begin()) || session.failed())
        return failure;
    Result result = work();
    if (session.failed() || (own && !session.commit()))
        result = failure;
    return result;
}

QVariant nullBytes() { return QVariant(QMetaType(QMetaType::QByteArray)); }

// The counter rows: locked by the update, so two appends at once take turns.
std::optional<qint64> nextPosition(Session &s, QSqlQuery &q, const QString &sql,
                                   const QVariantList &values)
{
    if (!s.exec(q, sql, values))
        return std::nullopt;
    if (!q.next()) {
        s.fail();
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

// ---------------------------------------------------------------------------------------
// Cards

class SharedCards final : public Cards
{
public:
    explicit SharedCards(SharedConnections *d) : m_session(d) {}

    bool open() override { return m_session.begin(); }
    bool close() override { return m_session.commit(); }

    qint64 count() override
    {
        return within<qint64>(m_session, 0, [&]() -> qint64 { return countNow(); });
    }

    std::optional<Read<TSchedaProdotto>> readAt(qint64 position) override
    {
        using Result = std::optional<Read<TSchedaProdotto>>;
        return within<Result>(m_session, std::nullopt, [&]() -> Result {
            QSqlQuery q = m_session.query();
            if (!m_session.exec(q,
                                u"SELECT versione, grezzo, compatto"_s +
                                    u" FROM schede WHERE posizione = ?"_s,
                                {position}))
                return std::nullopt;
            if (!q.next())
                return std::nullopt;
            QByteArray record(TSchedaProdotto::Size, '\0');
            if (!recordFromQuery(q, 1, cardColumns(), TSchedaProdotto::Size, record.data())) {
                m_session.fail();
                return std::nullopt;
            }
            return Read<TSchedaProdotto>{TSchedaProdotto::decode(record.constData()),
                                         q.value(0).toLongLong()};
        });
    }

    Written writeAt(qint64 position, const TSchedaProdotto &card,
                    std::optional<qint64> shownVersion, qint64 *newVersion) override
    {
        return within<Written>(m_session, Written::Failed, [&]() -> Written {
            const QByteArray record = card.encode();
            const Row row = rowFromRecord(cardColumns(), record.constData(), TSchedaProdotto::Size);
            const Flags flags = flagsOf(record.constData());
            QString sql =
                u"UPDATE schede SET versione = versione + 1, grezzo = ?, compatto = ?, "_s;
            QVariantList values{row.raw.isNull() ? nullBytes() : QVariant(row.raw), row.compact};
            for (int i = 0; i < cardColumns().size(); ++i) {
                sql += cardColumns()[i].name + u" = ?, "_s;
                values.append(row.texts[i]);
            }
            sql += u"sottoscorta = ?, da_saldare = ? WHERE posizione = ?"_s;
            values << flags.lowStock << flags.unpaid << position;
            return versionedUpdate(m_session, sql, values, shownVersion, newVersion,
                                   u"SELECT 1 FROM schede WHERE posizione = ?"_s, {position});
        });
    }

    std::optional<qint64> append(const TSchedaProdotto &card, qint64 *newVersion) override
    {
        using Result = std::optional<qint64>;
        return within<Result>(m_session, std::nullopt, [&]() -> Result {
            QSqlQuery q = m_session.query();
            const Result position = nextPosition(
                m_session, q,
                u"UPDATE scaffaria_contatori SET valore = valore + 1 WHERE nome = 'schede' "
                "RETURNING valore"_s,
                {});
            if (!position)
                return std::nullopt;
            q.finish();
            const QByteArray record = card.encode();
            if (!q.prepare(insertCardsSql(1))) {
                m_session.fail();
                return std::nullopt;
            }
            bindCard(q, *position, 1, record.constData());
            if (!q.exec()) {
                m_session.fail();
                return std::nullopt;
            }
            if (newVersion)
                *newVersion = 1;
            return position;
        });
    }

    bool readAll(const Visit &visit, const Progress &progress) override
    {
        return readBlocks(QString(), {}, false, visit, progress);
    }

    bool readAllBackward(const Visit &visit, const Progress &progress) override
    {
        return readBlocks(QString(), {}, true, visit, progress);
    }

    bool readSelected(const Selection &selection, const Visit &visit,
                      const Progress &progress) override
    {
        QString where;
        QVariantList values;
        switch (selection.kind) {
        case Selection::Kind::All:
            break;
        case Selection::Kind::LowStock:
            where = u"sottoscorta"_s;
            break;
        case Selection::Kind::Unpaid:
            where = u"da_saldare"_s;
            break;
        case Selection::Kind::Search:
        case Selection::Kind::Category: {
            QStringList terms;
            for (const auto &[index, key] : selection.criteria) {
                // A key no text column can hold is left to the list's own check.
                if (key.isEmpty() || key.contains('\0') || index < 0 ||
                    index >= TSchedaProdotto::FieldCount)
                    continue;
                // Under the C collation lower() folds exactly A-Z, whatever the database's
                // own locale, and much faster than translate() would.
                terms.append(
                    u"strpos(lower(%1 COLLATE \"C\"), ?) > 0"_s.arg(cardColumns()[index].name));
                values.append(StoredText::fromCp1252(key));
            }
            where = terms.join(u" AND "_s);
            break;
        }
        }
        // A card kept with its own bytes is always visited: its text columns may not be
        // exactly its fields (a NUL inside one), and the list checks it anyway.
        if (!where.isEmpty())
            where = u"(("_s + where + u") OR grezzo IS NOT NULL)"_s;
        return readBlocks(where, values, false, visit, progress);
    }

    std::optional<QByteArray> photo(qint64 position) override
    {
        using Result = std::optional<QByteArray>;
        return within<Result>(m_session, std::nullopt, [&]() -> Result {
            QSqlQuery q = m_session.query();
            if (!m_session.exec(q, u"SELECT jpeg FROM foto_schede WHERE posizione = ?"_s,
                                {position}))
                return std::nullopt;
            if (!q.next())
                return std::nullopt;
            return q.value(0).toByteArray();
        });
    }

    bool storePhoto(qint64 position, const QByteArray &jpeg) override
    {
        return within<bool>(m_session, false, [&] {
            QSqlQuery q = m_session.query();
            return m_session.exec(q,
                                  u"INSERT INTO foto_schede (posizione, jpeg) VALUES (?, ?) "
                                  "ON CONFLICT (posizione) DO UPDATE SET jpeg = EXCLUDED.jpeg"_s,
                                  {position, bytesValue(jpeg)});
        });
    }

private:
    qint64 countNow()
    {
        QSqlQuery q = m_session.query();
        if (!m_session.exec(q, u"SELECT valore FROM scaffaria_contatori WHERE nome = 'schede'"_s))
            return 0;
        if (!q.next()) {
            m_session.fail();
            return 0;
        }
        return q.value(0).toLongLong();
    }

    // Reads the cards that match `where` in blocks keyed by position, each block one query.
    bool readBlocks(const QString &where, const QVariantList &values, bool backward,
                    const Visit &visit, const Progress &progress)
    {
        return within<bool>(m_session, false, [&]() -> bool {
            const qint64 total = countNow();
            if (m_session.failed())
                return false;
            const QString sql = u"SELECT posizione, grezzo, compatto"_s +
                                u" FROM schede WHERE posizione "_s + (backward ? u'<' : u'>') +
                                u" ?"_s + (where.isEmpty() ? QString() : u" AND "_s + where) +
                                u" ORDER BY posizione"_s + (backward ? u" DESC"_s : QString()) +
                                u" LIMIT %1"_s.arg(kBlock);
            QSqlQuery q = m_session.query();
            if (!q.prepare(sql)) {
                m_session.fail();
                return false;
            }
            qint64 last = backward ? std::numeric_limits<qint64>::max() : 0;
            qint64 done = 0;
            char record[TSchedaProdotto::Size];
            for (;;) {
                q.addBindValue(last);
                for (const QVariant &v : values)
                    q.addBindValue(v);
                if (!q.exec()) {
                    m_session.fail();
                    return false;
                }
                int rows = 0;
                while (q.next()) {
                    ++rows;
                    last = q.value(0).toLongLong();
                    if (!recordFromQuery(q, 1, cardColumns(), TSchedaProdotto::Size, record)) {
                        m_session.fail();
                        return false;
                    }
                    if (!visit(last, record))
                        return true;
                }
                // Progress counts the positions passed, which is what the total counts.
                done = backward ? (rows < kBlock ? total : total - last + 1) : last;
                if (rows < kBlock)
                    done = total;
                if (progress)
                    progress(std::min(done, total), total);
                if (rows < kBlock)
                    return true;
            }
        });
    }

    Session m_session;
};

// ---------------------------------------------------------------------------------------
// Price-list pages

class SharedPages final : public Pages
{
public:
    SharedPages(SharedConnections *d, const QString &fileName) : m_session(d), m_fileName(fileName)
    {
    }

    // As with a list file, opening makes a missing list, empty.
    bool open() override
    {
        if (!m_session.begin())
            return false;
        QSqlQuery q = m_session.query();
        return m_session.exec(
            q, u"INSERT INTO listini (nome_file) VALUES (?) ON CONFLICT DO NOTHING"_s,
            {m_fileName});
    }
    bool close() override { return m_session.commit(); }

    qint64 count() override
    {
        return within<qint64>(m_session, 0, [&]() -> qint64 {
            QSqlQuery q = m_session.query();
            if (!m_session.exec(q, u"SELECT pagine FROM listini WHERE nome_file = ?"_s,
                                {m_fileName}))
                return 0;
            return q.next() ? q.value(0).toLongLong() : 0;
        });
    }

    std::optional<Read<TPaginaListino>> readAt(qint64 position) override
    {
        using Result = std::optional<Read<TPaginaListino>>;
        return within<Result>(m_session, std::nullopt, [&]() -> Result {
            QSqlQuery q = m_session.query();
            if (!m_session.exec(q,
                                u"SELECT versione, grezzo, compatto"_s +
                                    u" FROM pagine WHERE nome_file = ? AND posizione = ?"_s,
                                {m_fileName, position}))
                return std::nullopt;
            if (!q.next())
                return std::nullopt;
            QByteArray record(TPaginaListino::Size, '\0');
            if (!recordFromQuery(q, 1, pageColumns(), TPaginaListino::Size, record.data())) {
                m_session.fail();
                return std::nullopt;
            }
            return Read<TPaginaListino>{TPaginaListino::decode(record.constData()),
                                        q.value(0).toLongLong()};
        });
    }

    Written writeAt(qint64 position, const TPaginaListino &page, std::optional<qint64> shownVersion,
                    qint64 *newVersion) override
    {
        return within<Written>(m_session, Written::Failed, [&]() -> Written {
            const QByteArray record = page.encode();
            const Row row = rowFromRecord(pageColumns(), record.constData(), TPaginaListino::Size);
            QString sql = u"UPDATE pagine SET versione = versione + 1, grezzo = ?, compatto = ?"_s;
            QVariantList values{row.raw.isNull() ? nullBytes() : QVariant(row.raw), row.compact};
            for (int i = 0; i < pageColumns().size(); ++i) {
                sql += u", "_s + pageColumns()[i].name + u" = ?"_s;
                values.append(row.texts[i]);
            }
            sql += u" WHERE nome_file = ? AND posizione = ?"_s;
            values << m_fileName << position;
            return versionedUpdate(m_session, sql, values, shownVersion, newVersion,
                                   u"SELECT 1 FROM pagine WHERE nome_file = ? AND posizione = ?"_s,
                                   {m_fileName, position});
        });
    }

    std::optional<qint64> append(const TPaginaListino &page, qint64 *newVersion) override
    {
        using Result = std::optional<qint64>;
        return within<Result>(m_session, std::nullopt, [&]() -> Result {
            QSqlQuery q = m_session.query();
            if (!m_session.exec(
                    q, u"INSERT INTO listini (nome_file) VALUES (?) ON CONFLICT DO NOTHING"_s,
                    {m_fileName}))
                return std::nullopt;
            q.finish();
            const Result position = nextPosition(
                m_session, q,
                u"UPDATE listini SET pagine = pagine + 1 WHERE nome_file = ? RETURNING pagine"_s,
                {m_fileName});
            if (!position)
                return std::nullopt;
            q.finish();
            if (!insertPage(m_session, m_fileName, *position, page.encode()))
                return std::nullopt;
            if (newVersion)
                *newVersion = 1;
            return position;
        });
    }

    static bool insertPage(Session &s, const QString &fileName, qint64 position,
                           const QByteArray &record)
    {
        const auto [sql, values] = pageInsert(fileName, position, record);
        QSqlQuery q = s.query();
        return s.exec(q, sql, values);
    }

private:
    Session m_session;
    QString m_fileName;
};

// Fetches or stores one file-like value of a table, each call its own transaction.
class Blobs
{
public:
    explicit Blobs(SharedConnections *d) : d(d) {}

    // The value kept under the name; nothing when the server fails, and *found false when
    // there is no such row.
    std::optional<QByteArray> get(const QString &table, const QString &key, const QString &column,
                                  const QString &name, bool *found)
    {
        Session s(d);
        *found = false;
        using Result = std::optional<QByteArray>;
        return within<Result>(s, std::nullopt, [&]() -> Result {
            QSqlQuery q = s.query();
            if (!s.exec(q, u"SELECT %1 FROM %2 WHERE %3 = ?"_s.arg(column, table, key), {name}))
                return std::nullopt;
            if (!q.next())
                return QByteArray();
            *found = true;
            return bytesValue(q.value(0).toByteArray());
        });
    }

    std::optional<bool> exists(const QString &table, const QString &key, const QString &name)
    {
        Session s(d);
        using Result = std::optional<bool>;
        return within<Result>(s, std::nullopt, [&]() -> Result {
            QSqlQuery q = s.query();
            if (!s.exec(q, u"SELECT 1 FROM %1 WHERE %2 = ?"_s.arg(table, key), {name}))
                return std::nullopt;
            return q.next();
        });
    }

    bool put(const QString &table, const QString &key, const QString &column, const QString &name,
             const QByteArray &bytes)
    {
        Session s(d);
        return within<bool>(s, false, [&] {
            QSqlQuery q = s.query();
            return s.exec(q,
                          u"INSERT INTO %1 (%2, %3) VALUES (?, ?) ON CONFLICT (%2) DO UPDATE "
                          "SET %3 = EXCLUDED.%3"_s.arg(table, key, column),
                          {name, bytesValue(bytes)});
        });
    }

private:
    SharedConnections *d;
};

class SharedPriceLists final : public PriceLists
{
public:
    explicit SharedPriceLists(SharedConnections *d) : d(d), m_blobs(d) {}

    std::optional<QStringList> names() override
    {
        Session s(d);
        using Result = std::optional<QStringList>;
        return within<Result>(s, std::nullopt, [&]() -> Result {
            QSqlQuery q = s.query();
            if (!s.exec(q, u"SELECT nome_file FROM listini"_s))
                return std::nullopt;
            QStringList out;
            while (q.next())
                out.append(q.value(0).toString());
            std::sort(out.begin(), out.end(), ElencoListini::lessFolded);
            return out;
        });
    }

    Creation create(const QString &fileName, QString *error) override
    {
        Session s(d);
        const Creation made = within<Creation>(s, Creation::Failed, [&]() -> Creation {
            QSqlQuery q = s.query();
            if (!s.exec(q,
                        u"INSERT INTO listini (nome_file) VALUES (?) ON CONFLICT DO NOTHING "
                        "RETURNING nome_file"_s,
                        {fileName}))
                return Creation::Failed;
            return q.next() ? Creation::Created : Creation::Exists;
        });
        if (made == Creation::Failed && error)
            *error = sharedFailureText();
        return made;
    }

    bool remove(const QString &fileName) override
    {
        Session s(d);
        return within<bool>(s, false, [&] {
            QSqlQuery q = s.query();
            return s.exec(q, u"DELETE FROM listini WHERE nome_file = ?"_s, {fileName});
        });
    }

    std::unique_ptr<Pages> pages(const QString &fileName) override
    {
        return std::make_unique<SharedPages>(d, fileName);
    }

    std::optional<QByteArray> pagePhoto(const QString &listName, int slot, qint64 position) override
    {
        return found(u"foto_listino"_s, pagePhotoName(listName, slot, position));
    }
    bool storePagePhoto(const QString &listName, int slot, qint64 position,
                        const QByteArray &jpeg) override
    {
        return m_blobs.put(u"foto_listino"_s, u"nome_file"_s, u"jpeg"_s,
                           pagePhotoName(listName, slot, position), jpeg);
    }
    std::optional<QByteArray> thumbnail(const QString &listName, int slot) override
    {
        return found(u"foto_listino"_s, thumbnailName(listName, slot));
    }
    bool storeThumbnail(const QString &listName, int slot, const QByteArray &jpeg) override
    {
        return m_blobs.put(u"foto_listino"_s, u"nome_file"_s, u"jpeg"_s,
                           thumbnailName(listName, slot), jpeg);
    }

private:
    // A missing photo and an unreachable server both mean there is nothing to show.
    std::optional<QByteArray> found(const QString &table, const QString &name)
    {
        bool there = false;
        std::optional<QByteArray> bytes = m_blobs.get(table, u"nome_file"_s, u"jpeg"_s, name,
                                                      &there);
        if (!there)
            return std::nullopt;
        return bytes;
    }

    SharedConnections *d;
    Blobs m_blobs;
};

class SharedDocuments final : public Documents
{
public:
    explicit SharedDocuments(SharedConnections *d) : d(d), m_blobs(d) {}

    std::optional<bool> exists(const QString &name) override
    {
        if (!isBareName(name))
            return std::nullopt;
        return m_blobs.exists(u"documenti"_s, u"nome_file"_s, name);
    }

    bool copyIn(const QString &sourcePath, const QString &name) override
    {
        if (!isBareName(name)) {
            d->lastFromServer = false;
            return false;
        }
        QFile file(sourcePath);
        if (!file.open(QIODevice::ReadOnly)) {
            d->lastFromServer = false;
            return false;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            d->lastFromServer = false;
            return false;
        }
        return m_blobs.put(u"documenti"_s, u"nome_file"_s, u"dati"_s, name, bytes);
    }

    std::optional<QString> openablePath(const QString &name) override
    {
        if (!isBareName(name))
            return std::nullopt;
        bool there = false;
        const std::optional<QByteArray> bytes = m_blobs.get(u"documenti"_s, u"nome_file"_s,
                                                            u"dati"_s, name, &there);
        if (!there)
            return std::nullopt;
        QMutexLocker lock(&d->mutex);
        if (!d->openable) {
            d->openable = std::make_unique<QTemporaryDir>();
            if (!d->openable->isValid()) {
                d->openable.reset();
                return std::nullopt;
            }
            QFile::setPermissions(d->openable->path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        const QString path = QDir(d->openable->path()).filePath(name);
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(*bytes) != bytes->size() || !out.commit())
            return std::nullopt;
        return path;
    }

private:
    SharedConnections *d;
    Blobs m_blobs;
};

// The connection of a worker's whole transfer, removed again when it is done.
class OwnConnection
{
public:
    explicit OwnConnection(const SharedSettings &settings)
    {
        static std::atomic<quint64> serial{0};
        m_name = u"scaffaria-trasferimento-"_s + QString::number(++serial);
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, m_name);
        SharedConnections::configure(db, settings);
    }
    ~OwnConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    std::optional<QSqlDatabase> open()
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        bool seen = false;
        if (!SharedConnections::openChecked(db, &seen))
            return std::nullopt;
        return db;
    }

private:
    QString m_name;
};

// Whether the archive holds nothing, on an open connection inside its transaction.
std::optional<bool> emptyOn(QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(u"SELECT (SELECT valore FROM scaffaria_contatori WHERE nome = 'schede') = 0 "
                "AND NOT EXISTS (SELECT 1 FROM schede) AND NOT EXISTS (SELECT 1 FROM listini) "
                "AND NOT EXISTS (SELECT 1 FROM foto_schede) "
                "AND NOT EXISTS (SELECT 1 FROM foto_listino) "
                "AND NOT EXISTS (SELECT 1 FROM documenti) "
                "AND NOT EXISTS (SELECT 1 FROM altri_file)"_s) ||
        !q.next())
        return std::nullopt;
    return q.value(0).toBool();
}

bool execOn(QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db);
    if (!q.prepare(sql))
        return false;
    for (const QVariant &v : values)
        q.addBindValue(v);
    return q.exec();
}

QByteArray readWhole(const QString &path, bool *ok)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *ok = false;
        return {};
    }
    QByteArray bytes = file.readAll();
    *ok = file.error() == QFileDevice::NoError;
    return bytes;
}

} // namespace

// ---------------------------------------------------------------------------------------
// The backend

struct SharedBackend::Private : SharedConnections {
    std::unique_ptr<PriceLists> priceLists;
    std::unique_ptr<Documents> documents;
};

SharedBackend::SharedBackend(const SharedSettings &settings) : d(std::make_unique<Private>())
{
    d->settings = settings;
    static std::atomic<quint64> serial{0};
    d->prefix = u"scaffaria-condiviso-"_s + QString::number(++serial);
    d->priceLists = std::make_unique<SharedPriceLists>(d.get());
    d->documents = std::make_unique<SharedDocuments>(d.get());
}

SharedBackend::~SharedBackend()
{
    QSet<QString> names;
    {
        QMutexLocker lock(&d->mutex);
        names = d->names;
    }
    // Removing a connection closes it, whichever thread it was made on.
    for (const QString &name : names)
        QSqlDatabase::removeDatabase(name);
}

std::optional<QString> SharedBackend::test(const SharedSettings &settings)
{
    OwnConnection connection(settings);
    if (!connection.open())
        return sharedFailureText();
    return std::nullopt;
}

QString SharedBackend::description() const
{
    return u"Archivio condiviso: "_s + d->settings.server + u'/' + d->settings.database;
}

QString SharedBackend::failureText() const
{
    return d->lastFromServer ? sharedFailureText() : QString();
}

std::unique_ptr<Cards> SharedBackend::cards() { return std::make_unique<SharedCards>(d.get()); }

PriceLists &SharedBackend::priceLists() { return *d->priceLists; }

Documents &SharedBackend::documents() { return *d->documents; }

std::optional<bool> SharedBackend::isEmpty()
{
    Session s(d.get());
    using Result = std::optional<bool>;
    return within<Result>(s, std::nullopt, [&]() -> Result {
        const Result empty = emptyOn(s.db());
        if (!empty)
            s.fail();
        return empty;
    });
}

SharedBackend::Outcome SharedBackend::transferIn(const QString &folder, const Progress &progress)
{
    const Outcome failed{false, sharedFailureText()};
    OwnConnection connection(d->settings);
    std::optional<QSqlDatabase> opened = connection.open();
    if (!opened)
        return failed;
    QSqlDatabase &db = *opened;

    const QDir dir(folder);
    const QStringList files = keptFiles(folder);
    qint64 total = 0;
    for (const QString &f : files)
        total += QFileInfo(dir.filePath(f)).size();
    qint64 done = 0;
    auto advance = [&](qint64 bytes) {
        done += bytes;
        if (progress)
            progress(std::min(done, total), total);
    };

    if (!db.transaction())
        return failed;
    auto fail = [&](const QString &error) {
        db.rollback();
        return Outcome{false, error};
    };
    // Two workstations transferring at once: the second finds the first one's data.
    if (!execOn(db, u"SELECT pg_advisory_xact_lock(%1)"_s.arg(kSchemaLock), {}))
        return fail(sharedFailureText());
    const std::optional<bool> empty = emptyOn(db);
    if (!empty)
        return fail(sharedFailureText());
    if (!*empty)
        return fail(sharedNotEmptyText());

    static const QRegularExpression cardPhoto(u"^([1-9][0-9]{0,17})\\.jpg$"_s);
    const QString unreadable =
        u"Attenzione: impossibile leggere il file %1 della cartella: nessun dato è stato "
        "trasferito."_s;
    for (const QString &relative : files) {
        const QString path = dir.filePath(relative);
        if (relative == passwordStoreName()) {
            // Each workstation keeps its own password store in its own folder.
            advance(QFileInfo(path).size());
            continue;
        }
        if (relative == ArchivioMagazzino::fileName()) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return fail(unreadable.arg(relative));
            const qint64 records = file.size() / TSchedaProdotto::Size;
            const QString full = insertCardsSql(kInsertBatch);
            qint64 position = 0;
            while (position < records) {
                const int rows =
                    static_cast<int>(std::min<qint64>(kInsertBatch, records - position));
                const QByteArray block = file.read(qint64(rows) * TSchedaProdotto::Size);
                if (block.size() != qint64(rows) * TSchedaProdotto::Size)
                    return fail(unreadable.arg(relative));
                QSqlQuery q(db);
                if (!q.prepare(rows == kInsertBatch ? full : insertCardsSql(rows)))
                    return fail(sharedFailureText());
                for (int i = 0; i < rows; ++i)
                    bindCard(q, position + i + 1, 1,
                             block.constData() + qint64(i) * TSchedaProdotto::Size);
                if (!q.exec())
                    return fail(sharedFailureText());
                position += rows;
                advance(block.size());
            }
            if (!execOn(db, u"UPDATE scaffaria_contatori SET valore = ? WHERE nome = 'schede'"_s,
                        {records}))
                return fail(sharedFailureText());
            advance(file.size() % TSchedaProdotto::Size);
            continue;
        }
        bool ok = true;
        if (isPriceListName(relative)) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return fail(unreadable.arg(relative));
            const qint64 pages = file.size() / TPaginaListino::Size;
            if (!execOn(db, u"INSERT INTO listini (nome_file, pagine) VALUES (?, ?)"_s,
                        {relative, pages}))
                return fail(sharedFailureText());
            for (qint64 p = 1; p <= pages; ++p) {
                const QByteArray page = file.read(TPaginaListino::Size);
                if (page.size() != TPaginaListino::Size)
                    return fail(unreadable.arg(relative));
                const auto [sql, values] = pageInsert(relative, p, page);
                if (!execOn(db, sql, values))
                    return fail(sharedFailureText());
                advance(page.size());
            }
            advance(file.size() % TPaginaListino::Size);
            continue;
        }
        const QByteArray bytes = readWhole(path, &ok);
        if (!ok)
            return fail(unreadable.arg(relative));
        const QRegularExpressionMatch photo = cardPhoto.match(relative);
        bool stored;
        if (photo.hasMatch()) {
            stored = execOn(db, u"INSERT INTO foto_schede (posizione, jpeg) VALUES (?, ?)"_s,
                            {photo.captured(1).toLongLong(), bytesValue(bytes)});
        } else if (relative.startsWith(photoFolderName() + u'/')) {
            stored = execOn(db, u"INSERT INTO foto_listino (nome_file, jpeg) VALUES (?, ?)"_s,
                            {relative.mid(photoFolderName().size() + 1), bytesValue(bytes)});
        } else if (relative.startsWith(documentFolderName() + u'/')) {
            stored = execOn(db, u"INSERT INTO documenti (nome_file, dati) VALUES (?, ?)"_s,
                            {relative.mid(documentFolderName().size() + 1), bytesValue(bytes)});
        } else {
            stored = execOn(db, u"INSERT INTO altri_file (percorso, dati) VALUES (?, ?)"_s,
                            {relative, bytesValue(bytes)});
        }
        if (!stored)
            return fail(sharedFailureText());
        advance(bytes.size());
    }
    if (!db.commit())
        return fail(sharedFailureText());
    return {true, {}};
}

SharedBackend::Outcome SharedBackend::writeOut(const QString &folder, const Progress &progress)
{
    const Outcome failed{false, sharedFailureText()};
    const QString notWritten =
        u"Attenzione: impossibile scrivere il file %1 nella cartella scelta."_s;
    OwnConnection connection(d->settings);
    std::optional<QSqlDatabase> opened = connection.open();
    if (!opened)
        return failed;
    QSqlDatabase &db = *opened;
    // One snapshot of the whole archive, however long the writing takes.
    if (!db.transaction())
        return failed;
    if (!QSqlQuery(db).exec(u"SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"_s)) {
        db.rollback();
        return failed;
    }
    struct Guard {
        QSqlDatabase &db;
        ~Guard() { db.rollback(); }
    } guard{db};

    const QDir dir(folder);
    qint64 total = 0;
    {
        QSqlQuery q(db);
        if (!q.exec(u"SELECT (SELECT count(*) FROM schede) + (SELECT count(*) FROM pagine) + "
                    "(SELECT count(*) FROM foto_schede) + (SELECT count(*) FROM foto_listino) + "
                    "(SELECT count(*) FROM documenti) + (SELECT count(*) FROM altri_file)"_s) ||
            !q.next())
            return failed;
        total = q.value(0).toLongLong();
    }
    qint64 done = 0;
    auto advance = [&](qint64 n) {
        done += n;
        if (progress)
            progress(std::min(done, total), total);
    };
    auto writeFile = [&](const QString &relative, const QByteArray &bytes) {
        if (!isKeptPath(relative))
            return false;
        const QString path = dir.filePath(relative);
        if (!QDir().mkpath(QFileInfo(path).path()))
            return false;
        QSaveFile out(path);
        return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
    };

    // The archive, streamed in blocks into its file.
    {
        QSaveFile out(dir.filePath(ArchivioMagazzino::fileName()));
        if (!QDir().mkpath(folder) || !out.open(QIODevice::WriteOnly))
            return {false, notWritten.arg(ArchivioMagazzino::fileName())};
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.prepare(
                u"SELECT posizione, grezzo, compatto"_s +
                u" FROM schede WHERE posizione > ? ORDER BY posizione LIMIT %1"_s.arg(kBlock)))
            return failed;
        qint64 last = 0;
        QByteArray block;
        for (;;) {
            q.addBindValue(last);
            if (!q.exec())
                return failed;
            int rows = 0;
            block.resize(0);
            while (q.next()) {
                const qint64 position = q.value(0).toLongLong();
                // Positions are 1..n: a gap would shift every later card.
                if (position != last + 1)
                    return failed;
                last = position;
                const qsizetype at = block.size();
                block.resize(at + TSchedaProdotto::Size);
                if (!recordFromQuery(q, 1, cardColumns(), TSchedaProdotto::Size, block.data() + at))
                    return failed;
                ++rows;
            }
            if (out.write(block) != block.size())
                return {false, notWritten.arg(ArchivioMagazzino::fileName())};
            advance(rows);
            if (rows < kBlock)
                break;
        }
        if (!out.commit())
            return {false, notWritten.arg(ArchivioMagazzino::fileName())};
    }

    // The price lists, each with its pages.
    {
        QSqlQuery lists(db);
        lists.setForwardOnly(true);
        if (!lists.exec(u"SELECT nome_file FROM listini ORDER BY nome_file"_s))
            return failed;
        QStringList names;
        while (lists.next())
            names.append(lists.value(0).toString());
        for (const QString &name : names) {
            if (!isPriceListName(name) || !isKeptPath(name))
                return {false, notWritten.arg(name)};
            QSqlQuery q(db);
            q.setForwardOnly(true);
            if (!q.prepare(u"SELECT posizione, grezzo, compatto"_s +
                           u" FROM pagine WHERE nome_file = ? ORDER BY posizione"_s))
                return failed;
            q.addBindValue(name);
            if (!q.exec())
                return failed;
            QByteArray bytes;
            qint64 last = 0;
            while (q.next()) {
                const qint64 position = q.value(0).toLongLong();
                if (position != last + 1)
                    return failed;
                last = position;
                const qsizetype at = bytes.size();
                bytes.resize(at + TPaginaListino::Size);
                if (!recordFromQuery(q, 1, pageColumns(), TPaginaListino::Size, bytes.data() + at))
                    return failed;
            }
            if (!writeFile(name, bytes))
                return {false, notWritten.arg(name)};
            advance(last);
        }
    }

    // The photos, documents and other files, one query each so that only one is held.
    struct Source {
        QString keys;
        QString one;
        std::function<QString(const QVariant &)> path;
    };
    const std::vector<Source> sources = {
        {u"SELECT posizione FROM foto_schede ORDER BY posizione"_s,
         u"SELECT jpeg FROM foto_schede WHERE posizione = ?"_s,
         [](const QVariant &k) { return cardPhotoName(k.toLongLong()); }},
        {u"SELECT nome_file FROM foto_listino ORDER BY nome_file"_s,
         u"SELECT jpeg FROM foto_listino WHERE nome_file = ?"_s,
         [](const QVariant &k) { return photoFolderName() + u'/' + k.toString(); }},
        {u"SELECT nome_file FROM documenti ORDER BY nome_file"_s,
         u"SELECT dati FROM documenti WHERE nome_file = ?"_s,
         [](const QVariant &k) { return documentFolderName() + u'/' + k.toString(); }},
        {u"SELECT percorso FROM altri_file ORDER BY percorso"_s,
         u"SELECT dati FROM altri_file WHERE percorso = ?"_s,
         [](const QVariant &k) { return k.toString(); }},
    };
    for (const Source &source : sources) {
        QSqlQuery keys(db);
        keys.setForwardOnly(true);
        if (!keys.exec(source.keys))
            return failed;
        QVariantList all;
        while (keys.next())
            all.append(keys.value(0));
        for (const QVariant &key : all) {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            if (!q.prepare(source.one))
                return failed;
            q.addBindValue(key);
            if (!q.exec() || !q.next())
                return failed;
            const QString relative = source.path(key);
            if (!writeFile(relative, q.value(0).toByteArray()))
                return {false, notWritten.arg(relative)};
            advance(1);
        }
    }
    return {true, {}};
}

} // namespace Store
