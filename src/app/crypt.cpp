#include "app/crypt.h"

#include "common/storedtext.h"

namespace {

constexpr quint16 kStartKey = 9463;
constexpr quint16 kMultiplier = 39521;
constexpr quint16 kIncrement = 30497;
constexpr qsizetype kMaxLength = 255;

quint16 nextKey(quint16 key, quint8 enciphered)
{
    // Unsigned 32-bit arithmetic, kept to 16 bits: everything is modulo 65536.
    return static_cast<quint16>((quint32(enciphered) + key) * kMultiplier + kIncrement);
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

namespace Crypt {

QString Encrypt(const QString &password)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    QString out;
    out.reserve(password.size() * 2);
    quint16 key = kStartKey;
    for (QChar ch : password) {
        const auto b = static_cast<quint8>(ch.unicode() & 0xFF);
        const auto c = static_cast<quint8>(b ^ (key >> 8));
        out += QLatin1Char(digits[c >> 4]);
        out += QLatin1Char(digits[c & 0x0F]);
        key = nextKey(key, c);
    }
    return out;
}

std::optional<QString> Decrypt(const QString &hex)
{
    const qsizetype pairs = hex.size() / 2;
    QString out;
    out.reserve(pairs);
    quint16 key = kStartKey;
    for (qsizetype i = 0; i < pairs; ++i) {
        const int high = hexValue(hex.at(2 * i));
        const int low = hexValue(hex.at(2 * i + 1));
        if (high < 0 || low < 0)
            return std::nullopt;
        const auto c = static_cast<quint8>(high * 16 + low);
        out += QChar(char16_t(static_cast<quint8>(c ^ (key >> 8))));
        key = nextKey(key, c);
    }
    return out;
}

QString Normalise(const QString &password)
{
    QString upper = password;
    for (QChar &ch : upper) {
        if (ch >= u'a' && ch <= u'z')
            ch = QChar(char16_t(ch.unicode() - (u'a' - u'A')));
    }
    return StoredText::trimBlanks(upper);
}

bool Storable(const QString &password)
{
    if (password.isEmpty() || password.size() > kMaxLength)
        return false;
    for (QChar ch : password) {
        if (ch.unicode() == 0 || ch.unicode() > 0xFF)
            return false;
    }
    return true;
}

} // namespace Crypt
