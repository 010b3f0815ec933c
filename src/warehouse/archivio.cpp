#include "warehouse/archivio.h"

#include "common/programfolder.h"

#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

ArchivioMagazzino::ArchivioMagazzino()
    : m_file(ProgramFolder::file(fileName()), TSchedaProdotto::Size)
{
}

std::optional<TSchedaProdotto> ArchivioMagazzino::readAt(qint64 position)
{
    char record[TSchedaProdotto::Size];
    if (!m_file.readAt(position, record))
        return std::nullopt;
    return TSchedaProdotto::decode(record);
}

bool ArchivioMagazzino::writeAt(qint64 position, const TSchedaProdotto &card)
{
    return m_file.writeAt(position, card.encode().constData());
}

std::optional<qint64> ArchivioMagazzino::append(const TSchedaProdotto &card)
{
    qint64 position = 0;
    if (!m_file.append(card.encode().constData(), &position))
        return std::nullopt;
    return position;
}

QString ArchivioMagazzino::photoPath(qint64 position)
{
    return ProgramFolder::file(QString::number(position) + QStringLiteral(".jpg"));
}

bool ArchivioMagazzino::storePhoto(qint64 position, const QImage &photo)
{
    if (photo.isNull())
        return false;
    QSaveFile file(photoPath(position));
    // Unbuffered, so that a short write is seen at once and the commit is never reached.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    QImageWriter writer(&file, "jpg");
    writer.setQuality(90);
    if (!writer.write(photo)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<QImage> ArchivioMagazzino::loadPhoto(qint64 position)
{
    QImageReader reader(photoPath(position));
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}
