#pragma once

#include "pricelist/paginalistino.h"
#include "warehouse/schedaprodotto.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Where the shop's data live. The program talks to one store at a time: the folder store
// (the record files, photo files and documents in the program folder, the default) or the
// shared store (a PostgreSQL database that several workstations use at once). Screens,
// lists, printing and backups reach the data only through these interfaces, so every
// behaviour is written once and holds for both stores.
//
// A user action brackets its work between open() and close(): the folder store opens and
// closes its file; the shared store begins and ends one database transaction. Nothing is
// kept between actions in either store.
namespace Store {

// Hears now and then how many records have been visited of how many.
using Progress = std::function<void(qint64 done, qint64 total)>;
// Gets each record as the folder's record file holds it (TSchedaProdotto::Size bytes for a
// card), in position order; returns false to stop.
using Visit = std::function<bool(qint64 position, const char *record)>;

enum class Written {
    Done,     // the record is stored
    Conflict, // another workstation saved the record after it was read: nothing written
    Failed,   // nothing written: the file or the server failed
};

// A record as read, with the version it had then. The folder store has one writer and
// no versions: its version is always 0 and it never answers Conflict.
template<typename Record> struct Read {
    Record record;
    qint64 version = 0;
};

// A version no record ever has: a write checked against it is refused (Conflict) by a store
// that keeps versions, as for a record saved elsewhere since it was read.
inline constexpr qint64 kNoVersion = -1;

// What a list asks of the archive, so that the shared store can filter at the server.
// The store visits, in position order, at least every card the list keeps and every card
// whose numbers the list needs are not numbers (the list stops at the first of those);
// the list still checks each card it is given, so a store that visits every card is
// always right.
struct Selection {
    enum class Kind {
        All,      // every card
        Search,   // every criterion's key inside its field (A-Z folded)
        LowStock, // stock at or below the threshold
        Unpaid,   // the paid flag exactly "No"
        Category, // inventory: the category holds the key (A-Z folded); stock and cost needed
    };
    Kind kind = Kind::All;
    // Search and Category: the field and the key, as bytes in the archive's code page,
    // with A-Z folded to a-z (see Elenchi::Criterio).
    std::vector<std::pair<TSchedaProdotto::Index, QByteArray>> criteria;
};

// The warehouse archive: the cards at positions 1..n and the photo of each position.
class Cards
{
public:
    virtual ~Cards() = default;

    virtual bool open() = 0;
    // Ends the action. False when what it wrote did not become lasting (the shared store's
    // commit failed): the action then wrote nothing.
    virtual bool close() = 0;

    virtual qint64 count() = 0;
    virtual std::optional<Read<TSchedaProdotto>> readAt(qint64 position) = 0;
    // Rewrites the card at a position. With `shownVersion` the write is refused (Conflict)
    // when the card's version is no longer that one; without it the card is overwritten.
    // *newVersion, when given, receives the version the card has now.
    virtual Written writeAt(qint64 position, const TSchedaProdotto &card,
                            std::optional<qint64> shownVersion, qint64 *newVersion = nullptr) = 0;
    // Adds the card after the last one; two workstations appending at once get different
    // positions. Nothing when the write failed.
    virtual std::optional<qint64> append(const TSchedaProdotto &card,
                                         qint64 *newVersion = nullptr) = 0;

    virtual bool readAll(const Visit &visit, const Progress &progress = {}) = 0;
    // From the last card to the first.
    virtual bool readAllBackward(const Visit &visit, const Progress &progress = {}) = 0;
    // The cards a list may keep (see Selection); by default every card.
    virtual bool readSelected(const Selection &selection, const Visit &visit,
                              const Progress &progress = {})
    {
        (void)selection;
        return readAll(visit, progress);
    }

    // The photo of a position as the bytes of its JPEG file; nothing when there is none.
    virtual std::optional<QByteArray> photo(qint64 position) = 0;
    // Replaces the photo of a position, whole or not at all.
    virtual bool storePhoto(qint64 position, const QByteArray &jpeg) = 0;
};

// One price list's pages at positions 1..n.
class Pages
{
public:
    virtual ~Pages() = default;
    virtual bool open() = 0;
    virtual bool close() = 0;
    virtual qint64 count() = 0;
    virtual std::optional<Read<TPaginaListino>> readAt(qint64 position) = 0;
    virtual Written writeAt(qint64 position, const TPaginaListino &page,
                            std::optional<qint64> shownVersion, qint64 *newVersion = nullptr) = 0;
    virtual std::optional<qint64> append(const TPaginaListino &page,
                                         qint64 *newVersion = nullptr) = 0;
};

// The price lists, each known by its file name as the folder holds it ("Nome.lis", blanks
// included), with their page photos and print thumbnails (JPEG bytes, 366 x 274).
class PriceLists
{
public:
    virtual ~PriceLists() = default;
    // The file names, sorted with only A-Z folded.
    virtual std::optional<QStringList> names() = 0;
    enum class Creation { Created, Exists, Failed };
    virtual Creation create(const QString &fileName, QString *error) = 0;
    // Removes the list; false when it is still there afterwards.
    virtual bool remove(const QString &fileName) = 0;
    virtual std::unique_ptr<Pages> pages(const QString &fileName) = 0;

    // The list name is the file name without ".lis", trimmed; slot 0 is A ... 7 is H.
    virtual std::optional<QByteArray> pagePhoto(const QString &listName, int slot,
                                                qint64 position) = 0;
    virtual bool storePagePhoto(const QString &listName, int slot, qint64 position,
                                const QByteArray &jpeg) = 0;
    virtual std::optional<QByteArray> thumbnail(const QString &listName, int slot) = 0;
    virtual bool storeThumbnail(const QString &listName, int slot, const QByteArray &jpeg) = 0;
};

// The attached documents, each known by its bare file name (see
// TfrmAllegaCartella::insideFolder).
class Documents
{
public:
    virtual ~Documents() = default;
    virtual std::optional<bool> exists(const QString &name) = 0;
    // Copies a file of the user's into the store under the name, replacing a document of
    // that name, whole or not at all.
    virtual bool copyIn(const QString &sourcePath, const QString &name) = 0;
    // A path on this computer from which the document can be opened: the file itself in
    // the folder store, a fresh copy in a private temporary folder for the shared store.
    // Nothing when the document is missing or cannot be fetched; the folder store gives the
    // file's path whenever the name is safe and leaves a missing file to the system's
    // opener, as the attachments dialog always has.
    virtual std::optional<QString> openablePath(const QString &name) = 0;
};

class Backend
{
public:
    virtual ~Backend() = default;
    virtual bool shared() const = 0;
    // "Archivio nella cartella del programma" or "Archivio condiviso: server/database".
    virtual QString description() const = 0;
    // The sentence to show for the last failure in place of the screen's own text, or
    // empty when the screen's own text applies (the folder store).
    virtual QString failureText() const = 0;

    virtual std::unique_ptr<Cards> cards() = 0;
    virtual PriceLists &priceLists() = 0;
    virtual Documents &documents() = 0;
};

// The store in use; the folder store until another is set.
Backend &current();
void setCurrent(std::unique_ptr<Backend> backend);

// A screen's failure text for the store in use: the shared store's own sentence when it
// has one, otherwise the screen's.
QString failureText(const QString &screenText);

} // namespace Store
