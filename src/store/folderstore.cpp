#include "store/folderstore.h"

#include "common/durablefile.h"
#include "common/picturefile.h"
#include "common/programfolder.h"
#include "pricelist/archiviolistino.h"
#include "pricelist/elencolistini.h"
#include "pricelist/fotolistino.h"
#include "warehouse/archivio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace Store {

namespace {

// A picture file kept by the program, as bytes: nothing when it is missing, is not a
// regular file, leads out of the program folder through a planted link, or is larger than
// any picture the decoder would accept.
std::optional<QByteArray> pictureBytes(const QString &path)
{
    if (ProgramFolder::leadsOutside(path) || !QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > PictureFile::kMostBytes)
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (bytes.isEmpty() && file.size() > 0)
        return std::nullopt;
    return bytes;
}

class FolderCards final : public Cards
{
public:
    bool open() override { return m_archive.open(); }
    bool close() override
    {
        // Every write of the record file has reached the disk when it reports success.
        m_archive.close();
        return true;
    }
    qint64 count() override { return m_archive.count(); }
    std::optional<Read<TSchedaProdotto>> readAt(qint64 position) override
    {
        std::optional<TSchedaProdotto> card = m_archive.readAt(position);
        if (!card)
            return std::nullopt;
        return Read<TSchedaProdotto>{std::move(*card), 0};
    }
    Written writeAt(qint64 position, const TSchedaProdotto &card, std::optional<qint64>,
                    qint64 *newVersion) override
    {
        if (newVersion)
            *newVersion = 0;
        return m_archive.writeAt(position, card) ? Written::Done : Written::Failed;
    }
    std::optional<qint64> append(const TSchedaProdotto &card, qint64 *newVersion) override
    {
        if (newVersion)
            *newVersion = 0;
        return m_archive.append(card);
    }
    bool readAll(const Visit &visit, const Progress &progress) override
    {
        return m_archive.readAll(visit, progress);
    }
    bool readAllBackward(const Visit &visit, const Progress &progress) override
    {
        return m_archive.readAllBackward(visit, progress);
    }
    std::optional<QByteArray> photo(qint64 position) override
    {
        return pictureBytes(ArchivioMagazzino::photoPath(position));
    }
    bool storePhoto(qint64 position, const QByteArray &jpeg) override
    {
        return PictureFile::writeBytes(ArchivioMagazzino::photoPath(position), jpeg);
    }

private:
    ArchivioMagazzino m_archive;
};

class FolderPages final : public Pages
{
public:
    explicit FolderPages(const QString &path) : m_file(path) {}
    bool open() override { return m_file.open(); }
    bool close() override
    {
        m_file.close();
        return true;
    }
    qint64 count() override { return m_file.count(); }
    std::optional<Read<TPaginaListino>> readAt(qint64 position) override
    {
        std::optional<TPaginaListino> page = m_file.readAt(position);
        if (!page)
            return std::nullopt;
        return Read<TPaginaListino>{std::move(*page), 0};
    }
    Written writeAt(qint64 position, const TPaginaListino &page, std::optional<qint64>,
                    qint64 *newVersion) override
    {
        if (newVersion)
            *newVersion = 0;
        return m_file.writeAt(position, page) ? Written::Done : Written::Failed;
    }
    std::optional<qint64> append(const TPaginaListino &page, qint64 *newVersion) override
    {
        if (newVersion)
            *newVersion = 0;
        return m_file.append(page);
    }

private:
    ArchivioListino m_file;
};

class FolderPriceLists final : public PriceLists
{
public:
    std::optional<QStringList> names() override
    {
        return ElencoListini::files(ProgramFolder::path());
    }
    Creation create(const QString &fileName, QString *error) override
    {
        switch (ElencoListini::create(ElencoListini::pathOf(fileName), error)) {
        case ElencoListini::Creation::Created:
            return Creation::Created;
        case ElencoListini::Creation::Exists:
            return Creation::Exists;
        case ElencoListini::Creation::Failed:
            break;
        }
        return Creation::Failed;
    }
    bool remove(const QString &fileName) override
    {
        return ElencoListini::remove(ElencoListini::pathOf(fileName));
    }
    std::unique_ptr<Pages> pages(const QString &fileName) override
    {
        return std::make_unique<FolderPages>(ElencoListini::pathOf(fileName));
    }
    std::optional<QByteArray> pagePhoto(const QString &listName, int slot, qint64 position) override
    {
        return pictureBytes(FotoListino::pagePhotoPath(listName, slot, position));
    }
    bool storePagePhoto(const QString &listName, int slot, qint64 position,
                        const QByteArray &jpeg) override
    {
        return PictureFile::writeBytes(FotoListino::pagePhotoPath(listName, slot, position), jpeg);
    }
    std::optional<QByteArray> thumbnail(const QString &listName, int slot) override
    {
        return pictureBytes(FotoListino::thumbnailPath(listName, slot));
    }
    bool storeThumbnail(const QString &listName, int slot, const QByteArray &jpeg) override
    {
        return PictureFile::writeBytes(FotoListino::thumbnailPath(listName, slot), jpeg);
    }
};

QString documentsFolder() { return ProgramFolder::file(u"Documenti_Allegati"_s); }

// A bare file name, one that can only mean a file directly inside the documents folder.
bool bareName(const QString &name)
{
    if (name.isEmpty() || name == u"."_s || name == u".."_s)
        return false;
    return !name.contains(u'/') && !name.contains(u'\\') && !name.contains(QChar(0));
}

// The document's path, or nothing when the name could lead elsewhere, by its text or
// through a link planted in the folder.
std::optional<QString> documentPath(const QString &name)
{
    if (!bareName(name))
        return std::nullopt;
    const QString path = QDir(documentsFolder()).filePath(name);
    if (ProgramFolder::leadsOutside(path))
        return std::nullopt;
    return path;
}

// Copies a file whole, replacing the target only once the copy is complete.
bool copyWhole(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QSaveFile target(to);
    if (!DurableFile::open(target))
        return false;
    QByteArray block(4 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = source.read(block.data(), block.size());
        if (got < 0) {
            target.cancelWriting();
            target.commit();
            return false;
        }
        if (got == 0)
            break;
        if (target.write(block.constData(), got) != got) {
            target.cancelWriting();
            target.commit();
            return false;
        }
    }
    return DurableFile::commit(target);
}

class FolderDocuments final : public Documents
{
public:
    std::optional<bool> exists(const QString &name) override
    {
        // The folder is made here, so that a folder that cannot be made fails before the
        // user is asked anything.
        if (!QDir().mkpath(documentsFolder()))
            return std::nullopt;
        const std::optional<QString> path = documentPath(name);
        if (!path)
            return std::nullopt;
        return QFileInfo::exists(*path);
    }
    bool copyIn(const QString &sourcePath, const QString &name) override
    {
        if (!QDir().mkpath(documentsFolder()))
            return false;
        const std::optional<QString> path = documentPath(name);
        return path && copyWhole(sourcePath, *path);
    }
    std::optional<QString> openablePath(const QString &name) override
    {
        // The file itself; one that is missing is left to the system's opener to report.
        return documentPath(name);
    }
};

} // namespace

struct FolderBackend::Private {
    FolderPriceLists priceLists;
    FolderDocuments documents;
};

FolderBackend::FolderBackend() : d(std::make_unique<Private>()) {}

FolderBackend::~FolderBackend() = default;

QString FolderBackend::description() const { return u"Archivio nella cartella del programma"_s; }

std::unique_ptr<Cards> FolderBackend::cards() { return std::make_unique<FolderCards>(); }

PriceLists &FolderBackend::priceLists() { return d->priceLists; }

Documents &FolderBackend::documents() { return d->documents; }

} // namespace Store
