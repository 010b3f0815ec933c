#include "store/keptfiles.h"

#include "warehouse/archivio.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace Store {

namespace {

QString photoFolder() { return u"Foto_Listino"_s; }
QString documentFolder() { return u"Documenti_Allegati"_s; }

const QRegularExpression &photoName()
{
    static const QRegularExpression re(u"^[1-9][0-9]*\\.jpg$"_s);
    return re;
}

// The temporary name a restore gives a file beside its final one.
const QRegularExpression &restoreLeftover()
{
    static const QRegularExpression re(u"^\\.scaffaria-ripristino-[0-9]+$"_s);
    return re;
}

bool isPriceList(const QString &name)
{
    return name.size() > 4 && name.endsWith(u".lis"_s, Qt::CaseInsensitive);
}

bool validFileName(const QString &name)
{
    if (name.isEmpty() || name == u"."_s || name == u".."_s)
        return false;
    if (name.toUtf8().size() > 255)
        return false;
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == u'\\' || c == u'/' || c == u':')
            return false;
    }
    return true;
}

QStringList filesIn(const QDir &dir, const QString &prefix)
{
    QStringList out;
    for (const QString &name :
         dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        if (restoreLeftover().match(name).hasMatch())
            continue;
        if (isKeptPath(prefix + name))
            out.append(prefix + name);
    }
    return out;
}

} // namespace

QString passwordStoreName() { return u"unins000.dll"_s; }

bool isKeptPath(const QString &relative)
{
    const QStringList parts = relative.split(u'/');
    if (parts.size() == 1) {
        const QString &name = parts.first();
        if (!validFileName(name))
            return false;
        return name == ArchivioMagazzino::fileName() || name == passwordStoreName() ||
               photoName().match(name).hasMatch() || isPriceList(name);
    }
    if (parts.size() == 2) {
        if (parts.first() != photoFolder() && parts.first() != documentFolder())
            return false;
        return validFileName(parts.last()) && !restoreLeftover().match(parts.last()).hasMatch();
    }
    return false;
}

QStringList keptFiles(const QString &dataFolder)
{
    const QDir dir(dataFolder);
    QStringList out = filesIn(dir, QString());
    for (const QString &sub : {photoFolder(), documentFolder()}) {
        const QDir inner(dir.filePath(sub));
        if (QFileInfo(inner.path()).isDir())
            out += filesIn(inner, sub + u'/');
    }
    out.sort();
    return out;
}

} // namespace Store
