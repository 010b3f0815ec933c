#pragma once

#include "common/recordfile.h"
#include "pricelist/paginalistino.h"

#include <optional>

// One price-list file: a flat sequence of 3696-byte pages, counted from 1, used inside one
// user action. Opening creates a missing file empty and never truncates an existing one.
class ArchivioListino final
{
public:
    explicit ArchivioListino(const QString &path);

    bool open() { return m_file.open(); }
    void close() { m_file.close(); }
    qint64 count() const { return m_file.count(); }
    std::optional<TPaginaListino> readAt(qint64 position);
    // Writes the whole page with one write.
    bool writeAt(qint64 position, const TPaginaListino &page);
    // The new page's position, or nothing when the write failed.
    std::optional<qint64> append(const TPaginaListino &page);

private:
    RecordFile m_file;
};
