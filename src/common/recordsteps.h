#pragma once

#include "common/dialogs.h"
#include "common/navigation.h"
#include "common/storedtext.h"
#include "store/store.h"

#include <QLabel>
#include <QString>

#include <optional>

// What a screen that edits one record of a file at a time does on its arrows and on Save.
// The record on show lives in the screen's controls; `position` is the label with its
// place in the file (empty for a new record). File is one of the store's record sets
// (Store::Cards, Store::Pages).
namespace RecordSteps {

struct Texts {
    QString accessError;  // the file cannot be opened, read or written
    QString emptyFile;    // an arrow on a file with no record
    QString photosFailed; // the record was stored but not all of its photos
};

// Asked when the record was saved by another workstation after this screen showed it.
inline QString modifiedElsewhere()
{
    return QStringLiteral("Attenzione: la scheda è stata modificata da un'altra postazione "
                          "dopo essere stata aperta.\r\n\r\nSovrascrivere le modifiche "
                          "dell'altra postazione?");
}

// One arrow: opens the file and shows the record the step leads to through
// show(file, position), which reads it and closes the file; or says why there is none.
template<typename File, typename Show>
void navigate(QWidget *screen, File &file, Navigation::Step step, QLabel *position,
              const Texts &texts, Show &&show)
{
    const QString shown = StoredText::trimBlanks(position->text());
    if (!file.open()) {
        Dialogs::error(screen, Store::failureText(texts.accessError));
        return;
    }
    const Navigation::Move move = Navigation::step(step, shown, [&file] { return file.count(); });
    switch (move.kind) {
    case Navigation::Move::Kind::Stay:
        file.close();
        return;
    case Navigation::Move::Kind::Empty:
        if (!file.close()) {
            Dialogs::error(screen, Store::failureText(texts.accessError));
            return;
        }
        if (move.clearPosition)
            position->clear();
        Dialogs::information(screen, texts.emptyFile);
        return;
    case Navigation::Move::Kind::Show:
        show(file, move.target);
        return;
    }
}

// Save, as one action of the store: rewrites the record at the position shown, or appends
// it; then stores its photos through storePhotos(position), and ends the action. Only once
// the action has ended well does the screen show the new position and remember the
// record's version, and the user hear of it; a failure to store the photos is said after
// the record's own message. `version` is the version of the record on show (none for a new
// one): a record saved elsewhere since then is overwritten only when the user says so.
// False when the record itself was not stored (the screen is then left as it was).
template<typename File, typename Record, typename StorePhotos>
bool save(QWidget *screen, File &file, const Record &record, QLabel *position,
          std::optional<qint64> &version, const Texts &texts, StorePhotos &&storePhotos)
{
    const bool existing = !StoredText::trimBlanks(position->text()).isEmpty();
    std::optional<qint64> check = existing ? version : std::nullopt;
    for (;;) {
        if (!file.open()) {
            Dialogs::error(screen, Store::failureText(texts.accessError));
            return false;
        }
        qint64 at = StoredText::trimBlanks(position->text()).toLongLong();
        qint64 stored = 0;
        if (existing) {
            const Store::Written written = file.writeAt(at, record, check, &stored);
            if (written == Store::Written::Conflict) {
                // The question waits for the user outside the action.
                file.close();
                if (!Dialogs::destructiveQuestion(screen, modifiedElsewhere()))
                    return false;
                check.reset();
                continue;
            }
            if (written != Store::Written::Done) {
                file.close();
                Dialogs::error(screen, Store::failureText(texts.accessError));
                return false;
            }
        } else {
            const std::optional<qint64> appended = file.append(record, &stored);
            if (!appended) {
                file.close();
                Dialogs::error(screen, Store::failureText(texts.accessError));
                return false;
            }
            at = *appended;
        }
        const bool photosStored = storePhotos(at);
        if (!file.close()) {
            Dialogs::error(screen, Store::failureText(texts.accessError));
            return false;
        }
        if (!existing)
            position->setText(QString::number(at));
        version = stored;

        Dialogs::information(screen, existing ? QStringLiteral("Le modifiche apportate alla "
                                                               "scheda corrente sono state "
                                                               "salvate in archivio.")
                                              : QStringLiteral("La scheda corrente è stata "
                                                               "inserita in archivio."));
        if (!photosStored)
            Dialogs::warning(screen, texts.photosFailed);
        return true;
    }
}

} // namespace RecordSteps
