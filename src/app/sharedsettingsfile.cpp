#include "app/sharedsettingsfile.h"

#include "app/crypt.h"
#include "common/durablefile.h"
#include "common/programfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kSection = "Archivio condiviso";
const QByteArray kServer = "Server";
const QByteArray kPort = "Porta";
const QByteArray kDatabase = "Database";
const QByteArray kUser = "Utente";
const QByteArray kPassword = "Password";

// The cipher takes one byte per character: the password goes through it as UTF-8 bytes,
// so that any character survives the round trip.
QString encipher(const QString &password)
{
    return Crypt::Encrypt(QString::fromLatin1(password.toUtf8()));
}

std::optional<QString> decipher(const QString &hex)
{
    if (hex.size() % 2 != 0)
        return std::nullopt;
    const std::optional<QString> bytes = Crypt::Decrypt(hex);
    if (!bytes)
        return std::nullopt;
    const QByteArray utf8 = bytes->toLatin1();
    const QString password = QString::fromUtf8(utf8);
    if (password.toUtf8() != utf8)
        return std::nullopt;
    return password;
}

// The keys of the section, names folded to lower case; nothing when the file has no such
// section or holds a line that is neither blank, a comment, a section header nor a key.
std::optional<QHash<QByteArray, QByteArray>> keysOf(const QByteArray &content)
{
    QHash<QByteArray, QByteArray> keys;
    bool inSection = false;
    bool found = false;
    for (const QByteArray &raw : content.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            if (!line.endsWith(']'))
                return std::nullopt;
            inSection =
                line.mid(1, line.size() - 2).trimmed().compare(kSection, Qt::CaseInsensitive) == 0;
            found = found || inSection;
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            return std::nullopt;
        if (inSection)
            keys.insert(line.left(eq).trimmed().toLower(), line.mid(eq + 1).trimmed());
    }
    if (!found)
        return std::nullopt;
    return keys;
}

std::optional<QString> textOf(const QHash<QByteArray, QByteArray> &keys, const QByteArray &key)
{
    const auto it = keys.constFind(key.toLower());
    if (it == keys.cend())
        return std::nullopt;
    const QString text = QString::fromUtf8(*it);
    if (text.toUtf8() != *it)
        return std::nullopt;
    return text;
}

// A value goes on one line of the file: no line breaks or other control characters.
bool fitsOneLine(const QString &value)
{
    for (QChar ch : value) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            return false;
    }
    return value == value.trimmed();
}

} // namespace

namespace SharedSettingsFile {

QString fileName() { return u"Archivio_condiviso.ini"_s; }

QString path() { return ProgramFolder::file(fileName()); }

bool validPort(const QString &text)
{
    if (text.isEmpty() || text.size() > 5)
        return false;
    for (QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            return false;
    }
    const int port = text.toInt();
    return port >= 1 && port <= 65535;
}

Content read()
{
    const QString file = path();
    const QFileInfo info(file);
    if (!info.exists() && !info.isSymLink())
        return {};
    Content damaged{State::Damaged, {}};
    if (ProgramFolder::leadsOutside(file))
        return damaged;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return damaged;
    const QByteArray content = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return damaged;
    const std::optional<QHash<QByteArray, QByteArray>> keys = keysOf(content);
    if (!keys)
        return damaged;

    const std::optional<QString> server = textOf(*keys, kServer);
    const std::optional<QString> port = textOf(*keys, kPort);
    const std::optional<QString> database = textOf(*keys, kDatabase);
    const std::optional<QString> user = textOf(*keys, kUser);
    const std::optional<QString> hex = textOf(*keys, kPassword);
    if (!server || server->isEmpty() || !port || !validPort(*port) || !database ||
        database->isEmpty() || !user || user->isEmpty() || !hex)
        return damaged;
    const std::optional<QString> password = decipher(*hex);
    if (!password)
        return damaged;

    Content content_;
    content_.state = State::Present;
    content_.settings.server = *server;
    content_.settings.port = port->toInt();
    content_.settings.database = *database;
    content_.settings.user = *user;
    content_.settings.password = *password;
    return content_;
}

bool write(const Store::SharedSettings &settings)
{
    if (!fitsOneLine(settings.server) || !fitsOneLine(settings.database) ||
        !fitsOneLine(settings.user) || settings.server.isEmpty() || settings.database.isEmpty() ||
        settings.user.isEmpty() || !validPort(QString::number(settings.port)))
        return false;
    const QByteArray ending = "\r\n";
    QByteArray out = '[' + kSection + ']' + ending;
    out += kServer + '=' + settings.server.toUtf8() + ending;
    out += kPort + '=' + QByteArray::number(settings.port) + ending;
    out += kDatabase + '=' + settings.database.toUtf8() + ending;
    out += kUser + '=' + settings.user.toUtf8() + ending;
    out += kPassword + '=' + encipher(settings.password).toLatin1() + ending;

    // The new file is made readable by its owner only before any byte of it is written.
    QSaveFile file(path());
    if (!DurableFile::open(file))
        return false;
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(out) != out.size()) {
        file.cancelWriting();
        return false;
    }
    return DurableFile::commit(file);
}

bool remove()
{
    const QString file = path();
    const QFileInfo info(file);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (!QFile::remove(file))
        return false;
    DurableFile::syncFolder(ProgramFolder::path());
    return !QFileInfo(file).exists() && !QFileInfo(file).isSymLink();
}

} // namespace SharedSettingsFile
