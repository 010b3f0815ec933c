#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// Picture files chosen by the user or kept by the program: read whatever their size,
// written whole or not at all.
namespace PictureFile {

// The largest picture kept at its own size: a photo beyond it is decoded scaled down to
// fit (about 256 MiB decoded), so that a huge file cannot take the machine's memory.
constexpr QSize kLargest(8192, 8192);

// Reads a picture, its format decided from the content, turned as its EXIF data says,
// decoded scaled down to fit kLargest when it is larger, its proportions kept.
// A null image when the file is missing or is not a picture.
QImage read(const QString &path);

// Reads a picture decoded straight to the given size, its proportions not kept: a slot
// picture that is stored and printed at that size never holds the whole photo in memory.
// A null image when the file is missing or is not a picture.
QImage readStretched(const QString &path, QSize size);

// The format a file name asks for: its suffix when the writer knows it, JPEG otherwise
// (a name without a suffix, or with one that names no picture format).
QByteArray formatFor(const QString &path);

// Writes the picture in the format of formatFor(path), replacing any previous file; a
// failed write leaves the previous file whole. True once the new file has reached the disk.
bool write(const QString &path, const QImage &picture);

// The warning shown when a file the user chose is not a readable picture.
QString unreadableMessage();

// For tests only: a check run before every write; a write whose path it refuses fails as a
// full disk would, leaving the previous file whole. An empty function removes it.
void setWriteCheckForTests(std::function<bool(const QString &path)> check);

} // namespace PictureFile
