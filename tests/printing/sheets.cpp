#include "sheets.h"

#include "printing/report.h"

#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace Sheets {

QString pdfText(const QString &path)
{
    QProcess tool;
    tool.start(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
    if (!tool.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

int pdfPages(const QString &path)
{
    QProcess tool;
    tool.start(u"pdfinfo"_s, {path});
    if (!tool.waitForFinished(30000))
        return -1;
    const QString info = QString::fromUtf8(tool.readAllStandardOutput());
    const auto match = QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

bool toPdf(const TReport &report, const QString &path)
{
    QPdfWriter writer(path);
    writer.setResolution(600);
    return report.paintTo(writer);
}

} // namespace Sheets

namespace Sheets {

int pdfPictures(const QString &path)
{
    QProcess tool;
    tool.start(u"pdfimages"_s, {u"-list"_s, path});
    if (!tool.waitForFinished(30000))
        return -1;
    const QStringList rows =
        QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    int count = 0;
    for (const QString &row : rows) {
        const QStringList fields = row.simplified().split(u' ');
        if (fields.size() > 2 && fields.at(2) == u"image")
            ++count;
    }
    return count;
}

} // namespace Sheets
