#include "common/numbertext.h"

#include "common/storedtext.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace NumberText {

namespace {

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

} // namespace

std::optional<double> parse(const QString &text)
{
    const QString t = StoredText::trimBlanks(text);
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(t.size()));
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
    if (i < n && (t.at(i) == u'+' || t.at(i) == u'-'))
        ascii.push_back(static_cast<char>(t.at(i++).unicode()));
    qsizetype digits = digitsFrom(i);
    if (i < n && t.at(i) == u',') {
        ascii.push_back('.');
        ++i;
        digits += digitsFrom(i);
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (t.at(i) == u'e' || t.at(i) == u'E')) {
        ascii.push_back('e');
        ++i;
        if (i < n && (t.at(i) == u'+' || t.at(i) == u'-'))
            ascii.push_back(static_cast<char>(t.at(i++).unicode()));
        if (digitsFrom(i) == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    const double value = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

QString shortest(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    QString s = QString::number(value, 'g', 15);
    s.replace(u'.', u',');
    return s;
}

QString amountRule(const QString &text)
{
    const std::optional<double> value = parse(text);
    if (!value)
        return QStringLiteral("0,00");
    // Half a cent rounds away from zero, so a negative amount rounds like its positive
    // counterpart (-7,125 becomes -7,13, not -7,12).
    const double rounded = std::copysign(std::trunc(std::fabs(*value) * 100.0 + 0.5), *value) / 100.0;
    return withCents(rounded);
}

QString totalText(double total)
{
    // Half a ten-thousandth rounds away from zero, negative totals alike.
    const double rounded = std::round(total * 10000.0) / 10000.0;
    return QStringLiteral("€ ") + withCents(rounded);
}

QString quantityRule(const QString &text)
{
    const std::optional<double> value = parse(text);
    if (!value)
        return QStringLiteral("0");
    double whole = *value;
    if (whole != std::trunc(whole))
        whole = std::floor(whole + 0.5);
    if (std::fabs(whole) < 9.0e18)
        return QString::number(static_cast<qint64>(whole));
    return QString::number(whole, 'f', 0);
}

} // namespace NumberText
