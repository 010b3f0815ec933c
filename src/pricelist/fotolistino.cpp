#include "pricelist/fotolistino.h"

#include "common/picturefile.h"

#include "common/programfolder.h"
#include "common/storedtext.h"
#include "pricelist/paginalistino.h"

#include <QDir>
#include <QPainter>

namespace FotoListino {

QString folder() { return ProgramFolder::file(QStringLiteral("Foto_Listino")); }

bool makeFolder() { return QDir().mkpath(folder()); }

QString pagePhotoPath(const QString &listName, int slot, qint64 position)
{
    makeFolder();
    const QString name = StoredText::trimBlanks(listName) + QStringLiteral("_Foto_") +
                         TPaginaListino::letter(slot) + u'_' + QString::number(position) +
                         QStringLiteral(".jpg");
    return QDir(folder()).filePath(name);
}

QString thumbnailPath(const QString &listName, int slot)
{
    makeFolder();
    const QString name = StoredText::trimBlanks(listName) + QStringLiteral("_Anteprima_") +
                         TPaginaListino::letter(slot) + QStringLiteral(".jpg");
    return QDir(folder()).filePath(name);
}

QImage normalise(const QImage &picture)
{
    QImage out(PhotoSize, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(out.rect(), picture);
    painter.end();
    return out;
}

bool store(const QImage &picture, const QString &path)
{
    return !picture.isNull() && PictureFile::write(path, normalise(picture));
}

std::optional<QImage> load(const QString &path)
{
    // Decoded straight to the size the photo is kept at: a page of eight huge files never
    // holds their whole pictures.
    QImage image = PictureFile::readStretched(path, PhotoSize);
    if (image.isNull())
        return std::nullopt;
    return image;
}

std::optional<QImage> loadChosen(const QString &path)
{
    QImage image = PictureFile::readStretched(path, PhotoSize);
    if (image.isNull())
        return std::nullopt;
    return image;
}

QByteArray encode(const QImage &picture)
{
    if (picture.isNull())
        return {};
    return PictureFile::encode(normalise(picture));
}

std::optional<QImage> decode(const QByteArray &bytes)
{
    QImage image = PictureFile::fromBytesStretched(bytes, PhotoSize);
    if (image.isNull())
        return std::nullopt;
    return image;
}

} // namespace FotoListino
