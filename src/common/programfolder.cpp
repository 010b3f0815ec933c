#include "common/programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString &overridden()
{
    static QString folder;
    return folder;
}
} // namespace

namespace ProgramFolder {

QString path()
{
    if (!overridden().isEmpty())
        return overridden();
    return QCoreApplication::applicationDirPath();
}

QString file(const QString &name) { return QDir(path()).filePath(name); }

void setForTests(const QString &folder) { overridden() = folder; }

} // namespace ProgramFolder
