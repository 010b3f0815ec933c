#include "common/numbertext.h"

#include "common/storedtext.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

using namespace Qt::StringLiterals;

namespace NumberText {

namespace {

enum class Reading { Number, NotANumber, TooLarge };

struct Read {
    Reading reading = Reading::NotANumber;
    double value = 0;
};

// The whole text as a decimal number. The digits are copied into a plain ASCII buffer
// with a point and converted with std::from_chars, which never looks at the C locale:
// strtod would read the point as no separator at all under an Italian LC_NUMERIC.
Read read(const QString &text)
{
    const QString t = StoredText::trimBlanks(text);
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(t.size()) + 1);
    qsizetype i = 0;
    const qsizetype n = t.size();
    auto digitsFrom = [&](qsizetype &k) {
        const qsizetype start = k;
        while (k < n && t.at(k) >= u'0' && t.at(k) <= u'9') {
            ascii.push_back(static_cast<char>(t.at(k).unicode()));
            ++k;
        }
        return k - start;
    };
    // from_chars takes a minus but no plus sign.
    if (i < n && (t.at(i) == u'+' || t.at(i) == u'-')) {
        if (t.at(i) == u'-')
            ascii.push_back('-');
        ++i;
    }
    const std::size_t mantissaStart = ascii.size();
    const qsizetype wholeDigits = digitsFrom(i);
    qsizetype digits = wholeDigits;
    if (i < n && t.at(i) == u',') {
        ascii.push_back('.');
        ++i;
        digits += digitsFrom(i);
    }
    if (digits == 0)
        return {};
    const std::size_t mantissaEnd = ascii.size();
    long long exponent = 0;
    if (i < n && (t.at(i) == u'e' || t.at(i) == u'E')) {
        ascii.push_back('e');
        ++i;
        bool negative = false;
        if (i < n && (t.at(i) == u'+' || t.at(i) == u'-')) {
            negative = t.at(i) == u'-';
            ascii.push_back(negative ? '-' : '+');
            ++i;
        }
        const std::size_t expStart = ascii.size();
        if (digitsFrom(i) == 0)
            return {};
        // Only its sign and rough size matter below; a long run of digits saturates.
        for (std::size_t k = expStart; k < ascii.size() && exponent < 1000000; ++k)
            exponent = exponent * 10 + (ascii[k] - '0');
        if (negative)
            exponent = -exponent;
    }
    if (i != n)
        return {};

    double value = 0;
    const char *first = ascii.data();
    const char *last = first + ascii.size();
    const std::from_chars_result r = std::from_chars(first, last, value);
    if (r.ec == std::errc() && r.ptr == last && std::isfinite(value))
        return {Reading::Number, value};
    if (r.ptr != last || (r.ec != std::errc() && r.ec != std::errc::result_out_of_range))
        return {};
    // Out of a double's range: too large, or so small that it is zero. The decimal
    // exponent of the first significant digit tells which.
    const std::string_view mantissa(ascii.data() + mantissaStart, mantissaEnd - mantissaStart);
    long long magnitude = exponent;
    const std::size_t point = mantissa.find('.');
    const std::string_view whole = mantissa.substr(0, point);
    const std::size_t firstWhole = whole.find_first_not_of('0');
    if (firstWhole != std::string_view::npos) {
        magnitude += static_cast<long long>(whole.size() - firstWhole);
    } else if (point != std::string_view::npos) {
        const std::size_t firstFraction = mantissa.find_first_not_of('0', point + 1);
        if (firstFraction == std::string_view::npos)
            return {Reading::Number, 0.0};
        magnitude -= static_cast<long long>(firstFraction - point - 1);
    } else {
        return {Reading::Number, 0.0};
    }
    if (magnitude > 0)
        return {Reading::TooLarge, 0.0};
    return {Reading::Number, 0.0};
}

// Shortest form with at least two decimals.
QString withCents(double value)
{
    QString s = shortest(value);
    if (!s.contains(u','))
        s += QStringLiteral(",00");
    else if (s.size() >= 2 && s.at(s.size() - 2) == u',')
        s += u'0';
    return s;
}

// Two decimals, half a cent away from zero, so a negative amount rounds like its positive
// counterpart (-7,125 becomes -7,13, not -7,12).
QString amountText(double value)
{
    // Far beyond any amount a field holds the value is whole anyway, and times 100 it
    // could overflow.
    const double rounded = std::fabs(value) < 1e300
                               ? std::copysign(std::trunc(std::fabs(value) * 100.0 + 0.5), value) /
                                     100.0
                               : value;
    return withCents(rounded);
}

QString quantityText(double value)
{
    double whole = value;
    if (whole != std::trunc(whole))
        whole = std::floor(whole + 0.5);
    if (std::fabs(whole) < 9.0e18)
        return QString::number(static_cast<qint64>(whole));
    return QString::number(whole, 'f', 0);
}

} // namespace

std::optional<double> parse(const QString &text)
{
    const Read r = read(text);
    if (r.reading != Reading::Number)
        return std::nullopt;
    return r.value;
}

QString shortest(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0.0)
        return QStringLiteral("0");
    // Fifteen significant digits, correctly rounded, as d.dddddddddddddde±x; then
    // written out in plain positional form, never with an exponent.
    char buffer[64];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value,
                                                 std::chars_format::scientific, 14);
    const std::string_view sci(buffer, static_cast<std::size_t>(r.ptr - buffer));
    const std::size_t e = sci.find('e');
    const bool negative = sci.front() == '-';
    std::string digits;
    for (char c : sci.substr(negative ? 1 : 0, e - (negative ? 1 : 0))) {
        if (c != '.')
            digits.push_back(c);
    }
    int exponent = 0;
    std::from_chars(sci.data() + e + (sci[e + 1] == '+' ? 2 : 1), sci.data() + sci.size(),
                    exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out;
    if (negative)
        out.push_back('-');
    if (exponent < 0) {
        out += "0,";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const std::size_t wholeDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= wholeDigits) {
            out += digits;
            out.append(wholeDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, wholeDigits);
            out.push_back(',');
            out += digits.substr(wholeDigits);
        }
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

namespace {

// A rule on a text: its output for a number, or the zero text for anything else; nothing
// for a number beyond a double or an output longer than the field's capacity.
std::optional<QString> applyRule(const QString &text, QString (*write)(double), const QString &zero,
                                 qsizetype capacity)
{
    const Read r = read(text);
    if (r.reading == Reading::TooLarge)
        return std::nullopt;
    QString s = r.reading == Reading::Number ? write(r.value) : zero;
    if (s.size() > capacity)
        return std::nullopt;
    return s;
}

constexpr qsizetype kAnyLength = std::numeric_limits<qsizetype>::max();

} // namespace

QString amountRule(const QString &text)
{
    return applyRule(text, amountText, u"0,00"_s, kAnyLength).value_or(u"0,00"_s);
}

QString quantityRule(const QString &text)
{
    return applyRule(text, quantityText, u"0"_s, kAnyLength).value_or(u"0"_s);
}

std::optional<QString> amountRuleWithin(const QString &text, qsizetype capacity)
{
    return applyRule(text, amountText, u"0,00"_s, capacity);
}

std::optional<QString> quantityRuleWithin(const QString &text, qsizetype capacity)
{
    return applyRule(text, quantityText, u"0"_s, capacity);
}

QString tooLargeAmount() { return u"Attenzione: l'importo indicato è troppo grande."_s; }

QString tooLargeQuantity() { return u"Attenzione: la quantità indicata è troppo grande."_s; }

QString totalText(double total)
{
    // Half a ten-thousandth rounds away from zero, negative totals alike.
    const double rounded = std::round(total * 10000.0) / 10000.0;
    return QStringLiteral("€ ") + withCents(rounded);
}

} // namespace NumberText
