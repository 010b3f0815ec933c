#include "common/picturefile.h"

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace {

// The reader's default limit (128 MiB) refuses the photos of an ordinary camera once they
// are decoded; this one lets through pictures up to about 16000 x 16000 pixels.
constexpr int kAllocationLimitMiB = 1024;

} // namespace

namespace PictureFile {

QImage read(const QString &path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMiB);
    return reader.read();
}

QByteArray formatFor(const QString &path)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (!suffix.isEmpty() && QImageWriter::supportedImageFormats().contains(suffix))
        return suffix;
    return QByteArrayLiteral("jpg");
}

bool write(const QString &path, const QImage &picture)
{
    if (picture.isNull())
        return false;
    QSaveFile file(path);
    // Unbuffered, so that a short write is seen at once and the commit is never reached.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray format = formatFor(path);
    QImageWriter writer(&file, format);
    if (format == "jpg" || format == "jpeg")
        writer.setQuality(90);
    if (!writer.write(picture)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace PictureFile
