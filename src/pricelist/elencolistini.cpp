#include "pricelist/elencolistini.h"

#include "common/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ElencoListini {

namespace {

char16_t folded(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? char16_t(u - (u'a' - u'A')) : u;
}

} // namespace

bool lessFolded(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = folded(a[i]);
        const char16_t y = folded(b[i]);
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    // Names equal but for case still need a fixed order.
    return a < b;
}

QStringList files(const QString &folder)
{
    // Name filters ignore letter case unless told otherwise, so "DOLCI.LIS" copied from
    // another system is listed too.
    QStringList names = QDir(folder).entryList({QStringLiteral("*.lis")},
                                               QDir::Files | QDir::Hidden | QDir::System,
                                               QDir::NoSort);
    std::sort(names.begin(), names.end(), lessFolded);
    return names;
}

QString pathOf(const QString &fileName) { return ProgramFolder::file(fileName); }

QString nameOf(const QString &fileName)
{
    return fileName.chopped(std::min<qsizetype>(4, fileName.size()));
}

bool isUsableName(const QString &name)
{
    // A slash would put the list, or its photos, in another folder.
    for (QChar c : name) {
        if (c.category() == QChar::Other_Control || c == u'/')
            return false;
    }
    constexpr qsizetype kFileNameBytes = 255;
    const QString longest = name + QStringLiteral("_Foto_H_000000.jpg");
    return QFile::encodeName(longest).size() <= kFileNameBytes;
}

Creation create(const QString &path, QString *error)
{
    if (QFileInfo::exists(path))
        return Creation::Exists;
    QFile file(path);
    // NewOnly refuses a file that appeared in the meantime instead of emptying it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (error)
            *error = file.errorString();
        return QFileInfo::exists(path) ? Creation::Exists : Creation::Failed;
    }
    file.close();
    return Creation::Created;
}

bool remove(const QString &path)
{
    QFile::remove(path);
    return !QFileInfo::exists(path);
}

} // namespace ElencoListini
