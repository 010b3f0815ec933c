#include "app/passwordstore.h"

#include "common/durablefile.h"
#include "common/programfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

namespace {

const QByteArray kSection = QByteArrayLiteral("Accesso");
const QByteArray kKey = QByteArrayLiteral("Valore");

// One line of the file without its line ending, and the ending as it was ("\r\n", "\n"
// or nothing for a last line without one), so that untouched lines are written back
// byte for byte.
struct Line {
    QByteArray text;
    QByteArray ending;
};

QList<Line> splitLines(const QByteArray &content)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        const qsizetype newline = content.indexOf('\n', start);
        if (newline < 0) {
            lines.append({content.mid(start), QByteArray()});
            break;
        }
        qsizetype end = newline;
        if (end > start && content.at(end - 1) == '\r')
            --end;
        lines.append({content.mid(start, end - start), content.mid(end, newline + 1 - end)});
        start = newline + 1;
    }
    return lines;
}

bool sameName(const QByteArray &a, const QByteArray &b)
{
    return a.trimmed().compare(b, Qt::CaseInsensitive) == 0;
}

// The name of a section header "[name]", or nothing for any other line.
std::optional<QByteArray> sectionName(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1);
}

bool isOurKey(const QByteArray &line)
{
    const qsizetype eq = line.indexOf('=');
    return eq > 0 && sameName(line.left(eq), kKey);
}

// Where the key's line is, or where the section's last line is when it has no such key.
struct Position {
    qsizetype section = -1; // index of the section header
    qsizetype key = -1;     // index of the key's line
    qsizetype last = -1;    // index of the section's last non-blank line
};

Position locate(const QList<Line> &lines)
{
    Position at;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QByteArray> name = sectionName(lines.at(i).text);
        if (name) {
            if (at.section >= 0)
                break; // the section ends where the next one begins
            if (sameName(*name, kSection))
                at.section = at.last = i;
            continue;
        }
        if (at.section < 0)
            continue;
        if (!lines.at(i).text.trimmed().isEmpty())
            at.last = i;
        if (isOurKey(lines.at(i).text)) {
            at.key = i;
            break;
        }
    }
    return at;
}

// The file's content: empty when it does not exist, nothing when it cannot be read or is
// a link planted at its name.
std::optional<QByteArray> readContent(const QString &fileName)
{
    if (ProgramFolder::leadsOutside(fileName))
        return std::nullopt;
    if (!QFileInfo::exists(fileName))
        return QByteArray();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}

} // namespace

namespace PasswordStore {

QString path() { return ProgramFolder::file(QStringLiteral("unins000.dll")); }

std::optional<QString> read()
{
    const std::optional<QByteArray> content = readContent(path());
    if (!content)
        return std::nullopt;
    const QList<Line> lines = splitLines(*content);
    const Position at = locate(lines);
    if (at.key < 0)
        return QString();
    const QByteArray &line = lines.at(at.key).text;
    return QString::fromLatin1(line.mid(line.indexOf('=') + 1).trimmed());
}

bool write(const QString &value)
{
    const QString fileName = path();
    const std::optional<QByteArray> content = readContent(fileName);
    if (!content)
        return false;
    QList<Line> lines = splitLines(*content);
    // New lines follow the file's own line ending.
    const QByteArray ending = (!lines.isEmpty() && lines.first().ending == "\r\n")
                                  ? QByteArray("\r\n")
                                  : QByteArray("\n");
    const QByteArray keyLine = kKey + '=' + value.toLatin1();

    const Position at = locate(lines);
    if (at.key >= 0) {
        lines[at.key].text = keyLine;
    } else if (at.section >= 0) {
        if (lines.at(at.last).ending.isEmpty())
            lines[at.last].ending = ending;
        lines.insert(at.last + 1, {keyLine, ending});
    } else {
        if (!lines.isEmpty() && lines.last().ending.isEmpty())
            lines.last().ending = ending;
        lines.append({'[' + kSection + ']', ending});
        lines.append({keyLine, ending});
    }

    QByteArray out;
    for (const Line &line : lines)
        out += line.text + line.ending;

    return DurableFile::writeWhole(fileName, out);
}

} // namespace PasswordStore
