#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Picture files chosen by the user or kept by the program: read whatever their size,
// written whole or not at all.
namespace PictureFile {

// Reads a picture, its format decided from the content, turned as its EXIF data says.
// A null image when the file is missing or is not a picture.
QImage read(const QString &path);

// The format a file name asks for: its suffix when the writer knows it, JPEG otherwise
// (a name without a suffix, or with one that names no picture format).
QByteArray formatFor(const QString &path);

// Writes the picture in the format of formatFor(path), replacing any previous file; a
// failed write leaves the previous file whole.
bool write(const QString &path, const QImage &picture);

} // namespace PictureFile
