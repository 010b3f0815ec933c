#include "pricelist/archiviolistino.h"

ArchivioListino::ArchivioListino(const QString &path) : m_file(path, TPaginaListino::Size) {}

std::optional<TPaginaListino> ArchivioListino::readAt(qint64 position)
{
    char record[TPaginaListino::Size];
    if (!m_file.readAt(position, record))
        return std::nullopt;
    return TPaginaListino::decode(record);
}

bool ArchivioListino::writeAt(qint64 position, const TPaginaListino &page)
{
    return m_file.writeAt(position, page.encode().constData());
}

std::optional<qint64> ArchivioListino::append(const TPaginaListino &page)
{
    qint64 position = 0;
    if (!m_file.append(page.encode().constData(), &position))
        return std::nullopt;
    return position;
}
