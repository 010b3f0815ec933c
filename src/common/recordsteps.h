#pragma once

#include "common/dialogs.h"
#include "common/navigation.h"
#include "common/storedtext.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QString>

#include <optional>

// What a screen that edits one record of a file at a time does on its arrows and on Save.
// The record on show lives in the screen's controls; `position` is the label with its
// place in the file (empty for a new record). File is an archive with open, close, count,
// readAt, writeAt and append.
namespace RecordSteps {

struct Texts {
    QString accessError;  // the file cannot be opened, read or written
    QString emptyFile;    // an arrow on a file with no record
    QString photosFailed; // the record was stored but not all of its photos
};

// Another record is on show: a screen reader is told the new position the label reads, and
// the control that has the focus afresh, which now reads the new record's value, so the
// move is heard though the focus never left that control.
inline void announceMove(QWidget *screen, QLabel *position)
{
    QAccessibleEvent moved(position, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&moved);
    QWidget *focus = QApplication::focusWidget();
    if (focus && (focus == screen || screen->isAncestorOf(focus))) {
        QAccessibleEvent focused(focus, QAccessible::Focus);
        QAccessible::updateAccessibility(&focused);
    }
}

// One arrow: opens the file and shows the record the step leads to through
// show(file, position), which reads it and closes the file; or says why there is none.
template<typename File, typename Show>
void navigate(QWidget *screen, File &file, Navigation::Step step, QLabel *position,
              const Texts &texts, Show &&show)
{
    const QString shown = StoredText::trimBlanks(position->text());
    if (!file.open()) {
        Dialogs::error(screen, texts.accessError);
        return;
    }
    const Navigation::Move move = Navigation::step(step, shown, [&file] { return file.count(); });
    switch (move.kind) {
    case Navigation::Move::Kind::Stay:
        file.close();
        return;
    case Navigation::Move::Kind::Empty:
        if (move.clearPosition)
            position->clear();
        file.close();
        Dialogs::information(screen, texts.emptyFile);
        return;
    case Navigation::Move::Kind::Show:
        show(file, move.target);
        // Not when the record could not be read and the screen kept the one it had.
        if (StoredText::trimBlanks(position->text()) == QString::number(move.target))
            announceMove(screen, position);
        return;
    }
}

// Save: rewrites the record at the position shown, or appends it and shows its new
// position; then stores its photos through storePhotos(position) and tells the user. The
// photos are stored only once the record is, and a failure to store them is said after
// the record's own message. False when the record itself could not be stored.
template<typename File, typename Record, typename StorePhotos>
bool save(QWidget *screen, File &file, const Record &record, QLabel *position, const Texts &texts,
          StorePhotos &&storePhotos)
{
    if (!file.open()) {
        Dialogs::error(screen, texts.accessError);
        return false;
    }
    const bool existing = !StoredText::trimBlanks(position->text()).isEmpty();
    qint64 at = StoredText::trimBlanks(position->text()).toLongLong();
    if (existing) {
        if (!file.writeAt(at, record)) {
            file.close();
            Dialogs::error(screen, texts.accessError);
            return false;
        }
    } else {
        const std::optional<qint64> appended = file.append(record);
        if (!appended) {
            file.close();
            Dialogs::error(screen, texts.accessError);
            return false;
        }
        at = *appended;
        position->setText(QString::number(at));
    }
    file.close();

    const bool photosStored = storePhotos(at);
    Dialogs::information(screen, existing ? QStringLiteral("Le modifiche apportate alla scheda "
                                                           "corrente sono state salvate in "
                                                           "archivio.")
                                          : QStringLiteral("La scheda corrente è stata inserita "
                                                           "in archivio."));
    if (!photosStored)
        Dialogs::warning(screen, texts.photosFailed);
    return true;
}

} // namespace RecordSteps
