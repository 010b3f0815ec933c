#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class QIODevice;

// Picture files chosen by the user or kept by the program: read within a bound of memory
// and time whatever their header claims, written whole or not at all.
namespace PictureFile {

// The most pixels a picture is kept with: a larger one is decoded scaled down to fit, its
// proportions kept.
constexpr qint64 kMostPixels = qint64(64) << 20;
// The most memory one decoding may take, the decoder's own work included: a picture that
// would need more at any size it can be decoded to gives no picture at all.
constexpr qint64 kMostBytes = qint64(256) << 20;

// Reads a picture, its format decided from the content (JPEG, PNG, BMP or GIF), turned as
// its EXIF data says, decoded scaled down when it has more than kMostPixels or would take
// more than kMostBytes. A null image when the file is missing, is not a picture, claims
// a size that is invalid, or is too large to decode within the bounds at any scale.
QImage read(const QString &path);
QImage read(QIODevice *device);

// Reads a picture decoded straight to the given size, its proportions not kept: a slot
// picture that is stored and printed at that size never holds the whole photo in memory.
// A null image in the same cases as read().
QImage readStretched(const QString &path, QSize size);
QImage readStretched(QIODevice *device, QSize size);

// The same for a picture held as the bytes of its file (as a store gives it), within the
// same bounds.
QImage fromBytes(const QByteArray &bytes);
QImage fromBytesStretched(const QByteArray &bytes, QSize size);

// A picture made elsewhere (a camera frame), scaled down to kMostPixels when larger.
QImage fitted(const QImage &picture);

// The format a file name asks for: its suffix when the writer knows it, JPEG otherwise
// (a name without a suffix, or with one that names no picture format).
QByteArray formatFor(const QString &path);

// Writes the picture in the format of formatFor(path), replacing any previous file; a
// failed write leaves the previous file whole. True once the new file has reached the disk.
bool write(const QString &path, const QImage &picture);

// The bytes of the file write() would make for a name with that format's suffix (JPEG at
// the same quality by default); empty for a null picture or when encoding fails.
QByteArray encode(const QImage &picture, const QByteArray &format = QByteArrayLiteral("jpg"));
// Replaces a file by bytes already encoded, whole or not at all, under the same test check
// as write(). True once the new file has reached the disk.
bool writeBytes(const QString &path, const QByteArray &bytes);

// The warning shown when a file the user chose is not a readable picture.
QString unreadableMessage();

// For tests only: a check run before every write; a write whose path it refuses fails as a
// full disk would, leaving the previous file whole. An empty function removes it.
void setWriteCheckForTests(std::function<bool(const QString &path)> check);

} // namespace PictureFile
