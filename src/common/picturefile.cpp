#include "common/picturefile.h"

#include "common/durablefile.h"

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace {

// The reader's default limit (128 MiB) refuses the photos of an ordinary camera once they
// are decoded; this one lets through pictures up to about 16000 x 16000 pixels.
constexpr int kAllocationLimitMiB = 1024;

std::function<bool(const QString &)> &writeCheck()
{
    static std::function<bool(const QString &)> check;
    return check;
}

void prepare(QImageReader &reader)
{
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMiB);
}

} // namespace

namespace PictureFile {

QImage read(const QString &path)
{
    QImageReader reader(path);
    prepare(reader);
    // The size before any EXIF turn; the bound is square, so a turn does not change the fit.
    const QSize size = reader.size();
    if (size.width() > kLargest.width() || size.height() > kLargest.height())
        reader.setScaledSize(size.scaled(kLargest, Qt::KeepAspectRatio));
    return reader.read();
}

QImage readStretched(const QString &path, QSize size)
{
    QImageReader reader(path);
    prepare(reader);
    if (reader.size().isValid())
        reader.setScaledSize(size);
    QImage image = reader.read();
    // An EXIF turn of a quarter swaps the sides of the decoded picture.
    if (!image.isNull() && image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
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
    if (writeCheck() && !writeCheck()(path))
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
    return DurableFile::commit(file);
}

QString unreadableMessage()
{
    return QStringLiteral("Attenzione: il file scelto non contiene un'immagine leggibile.");
}

void setWriteCheckForTests(std::function<bool(const QString &path)> check)
{
    writeCheck() = std::move(check);
}

} // namespace PictureFile
