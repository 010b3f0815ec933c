#pragma once

#include "store/store.h"

#include <QString>

#include <optional>

// The shared store: the shop's data in a PostgreSQL database that several workstations use
// at once, reached through Qt SQL's PostgreSQL driver. Every action is one transaction;
// a card or page saved elsewhere since it was read is caught by its version.
namespace Store {

struct SharedSettings {
    QString server;
    int port = 5432;
    QString database;
    QString user;
    QString password;

    bool operator==(const SharedSettings &) const = default;
};

// The sentence every failure of the shared store shows.
QString sharedFailureText();
// "Attenzione: l'archivio condiviso contiene già dei dati."
QString sharedNotEmptyText();

class SharedBackend final : public Backend
{
public:
    explicit SharedBackend(const SharedSettings &settings);
    ~SharedBackend() override;

    // Connects (within a few seconds) and makes sure the schema is there, creating it in an
    // empty database. Nothing on success, else the Italian sentence to show.
    static std::optional<QString> test(const SharedSettings &settings);

    bool shared() const override { return true; }
    QString description() const override;
    QString failureText() const override;
    std::unique_ptr<Cards> cards() override;
    PriceLists &priceLists() override;
    Documents &documents() override;

    // Whether the shared archive holds no card, price list, photo or document; nothing when
    // the server cannot be reached.
    std::optional<bool> isEmpty();

    struct Outcome {
        bool ok = false;
        QString error; // the Italian sentence when not ok
    };
    // Copies every file the folder store keeps in `folder` (the archive, the card photos, the
    // price lists and their photos, the documents) into the empty shared archive in one
    // transaction. Refused with sharedNotEmptyText() when the archive is not empty. May run
    // on a worker thread; `progress` hears bytes or records done of the total.
    Outcome transferIn(const QString &folder, const Progress &progress = {});
    // Writes the shared archive's data into `folder` as the files the folder store would
    // hold for them, byte for byte. May run on a worker thread.
    Outcome writeOut(const QString &folder, const Progress &progress = {});

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Store
