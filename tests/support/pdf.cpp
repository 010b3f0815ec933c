#include "pdf.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

QString unescaped(QString text)
{
    text.replace(u"&lt;"_s, u"<"_s);
    text.replace(u"&gt;"_s, u">"_s);
    text.replace(u"&quot;"_s, u"\""_s);
    text.replace(u"&apos;"_s, u"'"_s);
    text.replace(u"&amp;"_s, u"&"_s);
    return text;
}

// An affine matrix as PDF writes it: a b c d e f.
using Matrix = std::array<double, 6>;
constexpr Matrix kIdentity{1, 0, 0, 1, 0, 0};

// m applied first, then n.
Matrix times(const Matrix &m, const Matrix &n)
{
    return {m[0] * n[0] + m[1] * n[2],        m[0] * n[1] + m[1] * n[3],
            m[2] * n[0] + m[3] * n[2],        m[2] * n[1] + m[3] * n[3],
            m[4] * n[0] + m[5] * n[2] + n[4], m[4] * n[1] + m[5] * n[3] + n[5]};
}

double determinant(const Matrix &m) { return m[0] * m[3] - m[1] * m[2]; }

// The decoded bytes of object `number`'s stream.
// `text` is the file read as Latin-1, so that its offsets are those of the bytes.
QByteArray objectStream(const QByteArray &pdf, const QString &text, const QString &number)
{
    const QRegularExpression header(u"(^|[\\r\\n])"_s + number + u" 0 obj"_s);
    const auto match = header.match(text);
    if (!match.hasMatch())
        return {};
    const qsizetype begin = match.capturedEnd();
    const qsizetype keyword = pdf.indexOf("stream", begin);
    const qsizetype end = pdf.indexOf("endstream", keyword);
    if (keyword < 0 || end < 0)
        return {};
    const QByteArray dictionary = pdf.mid(begin, keyword - begin);
    qsizetype start = keyword + 6;
    if (start < end && pdf.at(start) == '\r')
        ++start;
    if (start < end && pdf.at(start) == '\n')
        ++start;
    QByteArray data = pdf.mid(start, end - start);
    if (!dictionary.contains("/FlateDecode"))
        return data;
    // qUncompress wants the zlib data after a big-endian size, which only sets its first
    // buffer.
    data.prepend(QByteArray("\x00\x01\x00\x00", 4));
    return qUncompress(data);
}

bool isDelimiter(char c) { return QByteArrayView(" \t\r\n\f()<>[]{}/%").contains(c) || c == '\0'; }

// Follows the graphics state of one content stream and appends the size of every text
// it shows.
void readContent(const QByteArray &content, QList<double> &sizes)
{
    QList<double> operands;
    QList<Matrix> saved;
    Matrix ctm = kIdentity;
    Matrix text = kIdentity;
    double size = 0;
    const qsizetype n = content.size();
    qsizetype i = 0;
    auto operand = [&](int fromEnd) {
        return operands.size() >= fromEnd ? operands.at(operands.size() - fromEnd)
                                          : std::numeric_limits<double>::quiet_NaN();
    };
    auto matrix = [&] {
        return Matrix{operand(6), operand(5), operand(4), operand(3), operand(2), operand(1)};
    };
    while (i < n) {
        const char c = content.at(i);
        if (QByteArrayView(" \t\r\n\f[]{}").contains(c)) {
            ++i;
        } else if (c == '%') {
            while (i < n && content.at(i) != '\n' && content.at(i) != '\r')
                ++i;
        } else if (c == '(') {
            int depth = 0;
            for (; i < n; ++i) {
                if (content.at(i) == '\\')
                    ++i;
                else if (content.at(i) == '(')
                    ++depth;
                else if (content.at(i) == ')' && --depth == 0)
                    break;
            }
            ++i;
            operands.append(std::numeric_limits<double>::quiet_NaN());
        } else if (c == '>' || (c == '<' && i + 1 < n && content.at(i + 1) == '<')) {
            i += c == '>' ? 1 : 2; // the brackets of a dictionary
        } else if (c == '<') {
            i = content.indexOf('>', i); // a hexadecimal string
            if (i < 0)
                break;
            ++i;
            operands.append(std::numeric_limits<double>::quiet_NaN());
        } else if (c == '/') {
            ++i;
            while (i < n && !isDelimiter(content.at(i)))
                ++i;
            operands.append(std::numeric_limits<double>::quiet_NaN());
        } else {
            const qsizetype from = i;
            while (i < n && !isDelimiter(content.at(i)))
                ++i;
            const QByteArray token = content.mid(from, i - from);
            bool number = false;
            const double value = token.toDouble(&number);
            if (number) {
                operands.append(value);
                continue;
            }
            if (token == "q") {
                saved.append(ctm);
            } else if (token == "Q") {
                if (!saved.isEmpty())
                    ctm = saved.takeLast();
            } else if (token == "cm") {
                ctm = times(matrix(), ctm);
            } else if (token == "BT") {
                text = kIdentity;
            } else if (token == "Tm") {
                text = matrix();
            } else if (token == "Tf") {
                size = operand(1);
            } else if (token == "Tj" || token == "TJ" || token == "'" || token == "\"") {
                sizes.append(size * std::sqrt(std::abs(determinant(text) * determinant(ctm))));
            }
            operands.clear();
        }
    }
}

} // namespace

namespace Pdf {

QList<Word> words(const QString &path)
{
    QProcess tool;
    tool.start(u"pdftotext"_s, {u"-bbox"_s, path, u"-"_s});
    if (!tool.waitForFinished(30000))
        return {};
    const QString html = QString::fromUtf8(tool.readAllStandardOutput());
    static const QRegularExpression item(
        uR"re(<page\b|<word xMin="([^"]+)" yMin="([^"]+)" xMax="([^"]+)" yMax="([^"]+)">([^<]*)</word>)re"_s);
    QList<Word> out;
    int page = -1;
    for (auto it = item.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        if (match.captured(0).startsWith(u"<page"_s)) {
            ++page;
            continue;
        }
        Word word;
        word.page = page;
        word.text = unescaped(match.captured(5));
        word.box = QRectF(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                          QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()));
        out.append(word);
    }
    return out;
}

QList<double> fontSizes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray pdf = file.readAll();
    QList<double> sizes;
    const QString text = QString::fromLatin1(pdf);
    static const QRegularExpression contents(u"/Contents\\s+(\\d+)\\s+0\\s+R"_s);
    for (auto it = contents.globalMatch(text); it.hasNext();)
        readContent(objectStream(pdf, text, it.next().captured(1)), sizes);
    QList<double> used;
    for (const double size : std::as_const(sizes)) {
        const double rounded = std::round(size * 1000) / 1000;
        if (!used.contains(rounded))
            used.append(rounded);
    }
    std::sort(used.begin(), used.end());
    return used;
}

} // namespace Pdf
