#include "common/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTemporaryFile>

#include <cerrno>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {
QString &overridden()
{
    static QString folder;
    return folder;
}

QString &settled()
{
    static QString folder;
    return folder;
}

QString executableFolder() { return QCoreApplication::applicationDirPath(); }
} // namespace

namespace ProgramFolder {

QString path()
{
    if (!overridden().isEmpty())
        return overridden();
    if (!settled().isEmpty())
        return settled();
    return executableFolder();
}

QString file(const QString &name) { return QDir(path()).filePath(name); }

void setForTests(const QString &folder) { overridden() = folder; }

void settle()
{
    const QString own = executableFolder();
    const QString chosen = choose(own, keepsFilesBeside(own),
                                  QProcessEnvironment::systemEnvironment());
    if (chosen != own)
        prepare(chosen, templateFolder(own));
    settled() = chosen;
}

QString choose(const QString &executableFolder, bool executableFolderWritable,
               const QProcessEnvironment &environment)
{
    if (executableFolderWritable)
        return executableFolder;
    // Relative values of XDG_DATA_HOME are invalid and ignored, as the base-directory
    // rules of the desktop say.
    QString data = environment.value(u"XDG_DATA_HOME"_s);
    if (data.isEmpty() || QDir::isRelativePath(data)) {
        QString home = environment.value(u"HOME"_s);
        if (home.isEmpty())
            home = QDir::homePath();
        data = QDir(home).filePath(u".local/share"_s);
    }
    return QDir::cleanPath(QDir(data).filePath(u"Scaffaria"_s));
}

bool canWrite(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(u".scrittura-XXXXXX"_s));
    return probe.open();
}

bool holdsProgramFiles(const QString &folder)
{
    const QDir dir(folder);
    return QFileInfo(dir.filePath(u"unins000.dll"_s)).isFile() ||
           QFileInfo(dir.filePath(u"Magazzino.pro"_s)).isFile();
}

bool keepsFilesBeside(const QString &executableFolder, bool writable)
{
    if (holdsProgramFiles(executableFolder))
        return true;
    return !QFileInfo(templateFolder(executableFolder)).isDir() && writable;
}

bool keepsFilesBeside(const QString &executableFolder)
{
    return keepsFilesBeside(executableFolder, canWrite(executableFolder));
}

bool leadsOutside(const QString &path)
{
    const QString folder = QDir::cleanPath(QDir(ProgramFolder::path()).absolutePath());
    const QString raw = QDir::fromNativeSeparators(
        QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path);
    if (!raw.startsWith(folder + u'/'))
        return false;
    const QStringList parts = raw.mid(folder.size() + 1).split(u'/', Qt::SkipEmptyParts);
    QByteArray at = QFile::encodeName(folder);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        if (part == u"."_s)
            continue;
        if (part == u".."_s)
            return true;
        at += '/' + QFile::encodeName(part);
        struct stat info;
        if (::lstat(at.constData(), &info) != 0)
            return errno != ENOENT && errno != ENOTDIR; // what is missing is made inside
        if (S_ISLNK(info.st_mode))
            return true;
        if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode))
            return true; // a pipe or a device where a file is expected
    }
    return false;
}

void prepare(const QString &folder, const QString &templateFolder)
{
    // A folder that cannot be made, or a copy that fails, is not reported here: the
    // program then meets the folder as it is and gives its access messages there.
    if (!QDir().mkpath(folder))
        return;
    const QDir templates(templateFolder);
    const QDir target(folder);
    for (const QString &name : templates.entryList(QDir::Files)) {
        const QString copy = target.filePath(name);
        if (!QFileInfo::exists(copy))
            QFile::copy(templates.filePath(name), copy);
    }
}

QString templateFolder(const QString &executableFolder)
{
    return QDir::cleanPath(QDir(executableFolder).filePath(u"../share/scaffaria"_s));
}

QString installedDocument(const QString &name)
{
    return QDir::cleanPath(QDir(executableFolder()).filePath(u"../share/doc/scaffaria/"_s + name));
}

} // namespace ProgramFolder
