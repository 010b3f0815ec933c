#include "common/storedtext.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Code points of the bytes 0x80 to 0x9F. The five bytes the code page leaves undefined
// map to the control character of the same value, as the system's converter does.
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
                                            0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D,
                                            0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D,
                                            0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A,
                                            0x0153, 0x009D, 0x017E, 0x0178};

char toByte(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == code)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

bool isBlank(QChar c) { return c.unicode() <= 0x20; }

} // namespace

namespace StoredText {

QStringView trimmedView(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}

QString trimBlanks(const QString &text)
{
    const QStringView trimmed = trimmedView(text);
    if (trimmed.size() == text.size())
        return text;
    return trimmed.toString();
}

QByteArray toCp1252(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (char32_t code : text.toUcs4())
        out.append(toByte(code));
    return out;
}

QString fromCp1252(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *dst++ = (u >= 0x80 && u < 0xA0) ? QChar(kHigh[u - 0x80]) : QChar(char16_t(u));
    }
    return out;
}

void encode(const QString &text, int capacity, char *out)
{
    const QByteArray bytes = toCp1252(trimBlanks(text));
    const int used = static_cast<int>(std::min<qsizetype>(bytes.size(), capacity));
    out[0] = static_cast<char>(used);
    std::memcpy(out + 1, bytes.constData(), static_cast<std::size_t>(used));
    std::memset(out + 1 + used, 0, static_cast<std::size_t>(capacity - used));
}

QString decode(const char *in, int capacity)
{
    const int used = std::min<int>(static_cast<unsigned char>(in[0]), capacity);
    return trimBlanks(fromCp1252(QByteArrayView(in + 1, used)));
}

} // namespace StoredText
