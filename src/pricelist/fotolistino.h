#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

// The photos of the price-list pages and their print thumbnails: JPEG files of exactly
// 366 x 274 pixels in the folder Foto_Listino of the program folder.
namespace FotoListino {

inline constexpr QSize PhotoSize(366, 274);

QString folder();
// Creates the folder with any missing parent; an existing folder is left as it is.
bool makeFolder();

// Both paths make sure the folder exists first. The list name is used without leading and
// trailing blanks; the slot is 0 for A ... 7 for H.
QString pagePhotoPath(const QString &listName, int slot, qint64 position);
QString thumbnailPath(const QString &listName, int slot);

// The picture stretched to 366 x 274 with smooth resampling, proportions not kept.
QImage normalise(const QImage &picture);
// Normalises the picture and writes it as JPEG, replacing any file of that name; a failed
// write leaves the previous file whole.
bool store(const QImage &picture, const QString &path);
// A page photo, decoded straight to 366 x 274 whatever the file's own size. Nothing when
// the file is missing or is not a picture.
std::optional<QImage> load(const QString &path);
// A picture the user chose for a slot, decoded straight to 366 x 274 (proportions not
// kept), the size it is stored and printed at: eight huge photos on a page never hold
// their whole size in memory. Nothing when the file is missing or is not a picture.
std::optional<QImage> loadChosen(const QString &path);

// The bytes of the JPEG file store() would write for the picture; empty for a null picture.
QByteArray encode(const QImage &picture);
// A stored photo's bytes decoded straight to 366 x 274. Nothing when they are not a picture.
std::optional<QImage> decode(const QByteArray &bytes);

} // namespace FotoListino
