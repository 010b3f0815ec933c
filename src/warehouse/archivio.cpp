#include "warehouse/archivio.h"

#include "common/programfolder.h"
#include "warehouse/picturefile.h"

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
    // Read like any picture the user chooses, so that a large photo loaded from disk and
    // saved with the card can be shown again.
    QImage image = PictureFile::read(photoPath(position));
    if (image.isNull())
        return std::nullopt;
    return image;
}
