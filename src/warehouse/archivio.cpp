#include "warehouse/archivio.h"

#include "common/picturefile.h"
#include "common/programfolder.h"

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
    return PictureFile::write(photoPath(position), photo);
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
