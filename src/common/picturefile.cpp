#include "common/picturefile.h"

#include "common/durablefile.h"
#include "common/programfolder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <optional>

namespace {

// The decoders' own check of every picture they allocate, behind the plan below.
constexpr int kAllocationLimitMiB = int(PictureFile::kMostBytes >> 20);
// A sequential JPEG is decoded scaled down by the decoder itself, with little memory, but
// its work still grows with the pixels its header claims (about half a millisecond a
// megapixel even when the data behind the header is missing).
constexpr qint64 kMostJpegSourcePixels = qint64(256) << 20;
// A progressive JPEG keeps every coefficient of the whole picture while it is decoded.
constexpr qint64 kMostJpegCoefficientBytes = qint64(96) << 20;
// PNG, BMP and GIF are decoded whole (or line by line at the same cost) before any scaling.
constexpr qint64 kMostOtherSourcePixels = qint64(48) << 20;

std::function<bool(const QString &)> &writeCheck()
{
    static std::function<bool(const QString &)> check;
    return check;
}

// What the decoder of a JPEG needs beyond its output, from the frame header.
struct JpegFrame {
    bool progressive = false;
    bool arithmetic = false;
    qint64 coefficientBytes = 0;
    // The fewest bytes that can hold the blocks the header claims: Huffman coding spends at
    // least a bit on each block's DC coefficient (progressive) or two bits on its DC value
    // and its end of block (sequential). A file shorter than that lies about its size, and
    // decoding it would only spend the claimed pixels' time on filling them grey.
    qint64 fewestBytes = 0;
};

bool readBytes(QIODevice *device, char *into, qint64 size)
{
    return device->read(into, size) == size;
}

// Walks the JPEG's segments up to its frame header. Nothing when there is none before the
// first scan, or the segments do not hold together.
std::optional<JpegFrame> jpegFrame(QIODevice *device)
{
    const qint64 start = device->pos();
    std::optional<JpegFrame> found;
    unsigned char two[2];
    if (!readBytes(device, reinterpret_cast<char *>(two), 2) || two[0] != 0xFF || two[1] != 0xD8) {
        device->seek(start);
        return found;
    }
    for (int segments = 0; segments < 4096 && !found; ++segments) {
        char c = 0;
        if (!device->getChar(&c))
            break;
        if (static_cast<unsigned char>(c) != 0xFF)
            break;
        unsigned char marker = 0xFF;
        while (marker == 0xFF) { // fill bytes
            if (!device->getChar(&c))
                break;
            marker = static_cast<unsigned char>(c);
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue; // no length
        if (marker == 0xD9 || marker == 0xDA)
            break; // the end or a scan before any frame header
        if (!readBytes(device, reinterpret_cast<char *>(two), 2))
            break;
        const int length = (two[0] << 8) | two[1];
        if (length < 2)
            break;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                           marker != 0xCC;
        if (!frame) {
            if (!device->seek(device->pos() + length - 2))
                break;
            continue;
        }
        QByteArray header = device->read(length - 2);
        if (header.size() < 6)
            break;
        const auto byte = [&header](int i) { return static_cast<unsigned char>(header.at(i)); };
        const qint64 height = (byte(1) << 8) | byte(2);
        const qint64 width = (byte(3) << 8) | byte(4);
        const int components = byte(5);
        if (components < 1 || header.size() < 6 + 3 * components)
            break;
        int hMax = 1;
        int vMax = 1;
        for (int i = 0; i < components; ++i) {
            hMax = std::max(hMax, byte(7 + 3 * i) >> 4);
            vMax = std::max(vMax, byte(7 + 3 * i) & 15);
        }
        JpegFrame result;
        result.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
        result.arithmetic = marker >= 0xC9;
        qint64 blocks = 0;
        for (int i = 0; i < components; ++i) {
            const int h = std::max(1, byte(7 + 3 * i) >> 4);
            const int v = std::max(1, byte(7 + 3 * i) & 15);
            const qint64 across = (width * h + 8 * hMax - 1) / (8 * hMax);
            const qint64 down = (height * v + 8 * vMax - 1) / (8 * vMax);
            blocks += across * down;
            // Blocks of 8 x 8 coefficients of two bytes each, rounded up to whole MCUs.
            result.coefficientBytes += (across + h) * (down + v) * 128;
        }
        if (!result.arithmetic)
            result.fewestBytes = result.progressive ? blocks / 8 : blocks / 4;
        found = result;
    }
    device->seek(start);
    return found;
}

// The bytes a pixel takes once decoded, from the format a decoder announces. Some decoders
// announce a value that is no format at all for a header they could not read: it counts as
// the common four.
qint64 bytesPerPixel(int announced)
{
    if (announced <= QImage::Format_Invalid || announced >= QImage::NImageFormats)
        return 4;
    const auto format = static_cast<QImage::Format>(announced);
    return std::max(1, QImage::toPixelFormat(format).bitsPerPixel() / 8);
}

qint64 pixels(QSize size) { return qint64(size.width()) * size.height(); }

// What one reading decodes, decided from the header before anything is decoded.
struct Plan {
    bool possible = false;
    QSize scaledTo; // invalid: decoded at its own size
};

// The size the JPEG decoder gives for a wanted size: it decodes at the largest of 1/1, 1/2,
// 1/4, 1/8 that is not smaller than the wanted size, then scales the rest of the way.
QSize jpegDecoded(QSize source, QSize wanted)
{
    int denominator = std::min(source.width() / std::max(1, wanted.width()),
                               source.height() / std::max(1, wanted.height()));
    denominator = denominator < 2 ? 1 : denominator < 4 ? 2 : denominator < 8 ? 4 : 8;
    return QSize((source.width() + denominator - 1) / denominator,
                 (source.height() + denominator - 1) / denominator);
}

Plan planFor(QImageReader &reader, QIODevice *device, const std::optional<JpegFrame> &frame,
             QSize wanted)
{
    Plan plan;
    const QByteArray format = reader.format();
    const bool jpeg = format == "jpeg" || format == "jpg";
    if (!jpeg && format != "png" && format != "bmp" && format != "gif")
        return plan; // the formats a photo comes in; no other decoder is offered a file
    QSize source = reader.size();
    // A bitmap stored top-down says so with a negative height.
    source = QSize(std::abs(source.width()), std::abs(source.height()));
    if (source.isEmpty())
        return plan;
    const qint64 depth = bytesPerPixel(int(reader.imageFormat()));
    const qint64 turnCopies = reader.autoTransform() &&
                                      reader.transformation() != QImageIOHandler::TransformationNone
                                  ? 2
                                  : 1;

    if (jpeg) {
        if (!frame || device->size() < frame->fewestBytes)
            return plan;
        // Arithmetic coding has no such floor: its pictures are held to the other formats'.
        if (frame->arithmetic && pixels(source) > kMostOtherSourcePixels)
            return plan;
        qint64 work = 0;
        if (frame->progressive) {
            if (frame->coefficientBytes > kMostJpegCoefficientBytes)
                return plan;
            work = frame->coefficientBytes;
        } else if (pixels(source) > kMostJpegSourcePixels) {
            return plan;
        }
        if (wanted.isValid()) {
            const qint64 bytes = work + pixels(jpegDecoded(source, wanted)) * depth +
                                 pixels(wanted) * 4 * turnCopies;
            plan.possible = bytes <= PictureFile::kMostBytes;
            plan.scaledTo = wanted;
            return plan;
        }
        for (int denominator : {1, 2, 4, 8}) {
            const QSize target(std::max(1, source.width() / denominator),
                               std::max(1, source.height() / denominator));
            const qint64 decoded = pixels(denominator == 1 ? source : jpegDecoded(source, target));
            const qint64 bytes = work + decoded * depth * turnCopies +
                                 (denominator == 1 ? 0 : pixels(target) * depth);
            if (pixels(target) <= PictureFile::kMostPixels && bytes <= PictureFile::kMostBytes) {
                plan.possible = true;
                if (denominator > 1)
                    plan.scaledTo = target;
                return plan;
            }
        }
        return plan;
    }

    if (pixels(source) > kMostOtherSourcePixels)
        return plan;
    // PNG scales line by line as it decodes; BMP and GIF are decoded whole, then scaled.
    const bool scalesWhileDecoding = reader.supportsOption(QImageIOHandler::ScaledSize);
    qint64 bytes = pixels(source) * depth * turnCopies;
    if (wanted.isValid()) {
        bytes = (scalesWhileDecoding ? 0 : bytes) + pixels(wanted) * 4 * turnCopies;
        plan.scaledTo = wanted;
    }
    plan.possible = bytes <= PictureFile::kMostBytes;
    return plan;
}

QImage decode(QIODevice *device, QSize wanted)
{
    if (!device || !device->isOpen() || device->isSequential())
        return QImage();
    // Read before the decoder reads anything, which leaves the device where it was.
    const std::optional<JpegFrame> frame = jpegFrame(device);
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMiB);
    const Plan plan = planFor(reader, device, frame, wanted);
    if (!plan.possible)
        return QImage();
    if (plan.scaledTo.isValid())
        reader.setScaledSize(plan.scaledTo);
    return reader.read();
}

// Only a regular file is offered to a decoder: a pipe or a device would never end. A
// name of the program folder that leads out of it is not read at all.
QImage decodeFile(const QString &path, QSize wanted)
{
    if (ProgramFolder::leadsOutside(path) || !QFileInfo(path).isFile())
        return QImage();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    return decode(&file, wanted);
}

QImage stretched(QImage image, QSize size)
{
    // An EXIF turn of a quarter swaps the sides of the decoded picture.
    if (!image.isNull() && image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace

namespace PictureFile {

QImage read(const QString &path) { return decodeFile(path, QSize()); }

QImage read(QIODevice *device) { return decode(device, QSize()); }

QImage readStretched(const QString &path, QSize size)
{
    return stretched(decodeFile(path, size), size);
}

QImage readStretched(QIODevice *device, QSize size)
{
    return stretched(decode(device, size), size);
}

QImage fromBytes(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return QImage();
    return decode(&buffer, QSize());
}

QImage fromBytesStretched(const QByteArray &bytes, QSize size)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return QImage();
    return stretched(decode(&buffer, size), size);
}

QImage fitted(const QImage &picture)
{
    if (pixels(picture.size()) <= kMostPixels)
        return picture;
    return picture.scaled(QSize(8192, 8192), Qt::KeepAspectRatio, Qt::SmoothTransformation);
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
    if (!DurableFile::open(file))
        return false;
    const QByteArray format = formatFor(path);
    QImageWriter writer(&file, format);
    if (format == "jpg" || format == "jpeg")
        writer.setQuality(90);
    if (!writer.write(picture)) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return DurableFile::commit(file);
}

QByteArray encode(const QImage &picture, const QByteArray &format)
{
    if (picture.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    QImageWriter writer(&buffer, format);
    if (format == "jpg" || format == "jpeg")
        writer.setQuality(90);
    if (!writer.write(picture))
        return {};
    buffer.close();
    return bytes;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return false;
    if (writeCheck() && !writeCheck()(path))
        return false;
    return DurableFile::writeWhole(path, bytes);
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
