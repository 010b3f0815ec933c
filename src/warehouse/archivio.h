#pragma once

#include "common/recordfile.h"
#include "warehouse/schedaprodotto.h"

#include <QImage>
#include <optional>

// The warehouse archive Magazzino.pro in the program folder, and the photo files named
// after the card positions (1.jpg, 2.jpg, ...).
class ArchivioMagazzino final
{
public:
    ArchivioMagazzino();

    static QString fileName() { return QStringLiteral("Magazzino.pro"); }

    bool open() { return m_file.open(); }
    void close() { m_file.close(); }
    qint64 count() const { return m_file.count(); }
    std::optional<TSchedaProdotto> readAt(qint64 position);
    bool writeAt(qint64 position, const TSchedaProdotto &card);
    // The new card's position, or nothing when the write failed.
    std::optional<qint64> append(const TSchedaProdotto &card);
    // Visits every card as raw bytes; decode only the fields you need.
    // `progress` hears now and then how many cards have been visited of how many.
    bool readAll(const std::function<bool(qint64 position, const char *record)> &visit,
                 const std::function<void(qint64 done, qint64 total)> &progress = {})
    {
        return m_file.readAll(visit, progress);
    }
    // From the last card to the first.
    bool readAllBackward(const std::function<bool(qint64 position, const char *record)> &visit,
                         const std::function<void(qint64 done, qint64 total)> &progress = {})
    {
        return m_file.readAllBackward(visit, progress);
    }

    // The photo file of a position: the position without leading zeros, then ".jpg".
    static QString photoPath(qint64 position);
    // Writes the photo as JPEG, replacing any previous file; a failed write leaves the
    // previous file whole.
    static bool storePhoto(qint64 position, const QImage &photo);
    // Nothing when the file is missing or is not a picture.
    static std::optional<QImage> loadPhoto(qint64 position);

private:
    RecordFile m_file;
};
