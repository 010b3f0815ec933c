#pragma once

#include <QString>
#include <optional>

// Numbers as the program writes and reads them: a decimal comma, no grouping, never the
// system's own locale and never a locale-dependent C routine.
namespace NumberText {

// Reads a whole text as a decimal number: optional blanks, an optional sign, digits with
// at most one decimal comma (",5" and "5," are numbers), an optional exponent, optional
// blanks. Anything else, an empty text, and a number beyond the range of a double are not
// a number; one too small for a double reads as 0.
std::optional<double> parse(const QString &text);

// The shortest form: decimal comma, no grouping, no trailing zeros, at most 15
// significant digits, never an exponent (7,5 and 40, not 7,50 or 40,00; 1e20 is written
// with its 21 digits, 1e-5 as 0,00001). An infinite value or not-a-number gives an empty
// text.
QString shortest(double value);

// The rule run when an amount field is left: money text with exactly two decimals
// (7,125 becomes 7,13; ",5" becomes 0,50; empty or not a number becomes 0,00).
QString amountRule(const QString &text);

// The rule run when a quantity field is left: a whole number in digits (007 becomes 7;
// 2,5 becomes 3; empty or not a number becomes 0).
QString quantityRule(const QString &text);

// The rules for a field that holds at most `capacity` characters: nothing when the
// result would not fit, or the text is a number too large for a double, so the caller
// refuses the text instead of storing a cut or wrong figure.
std::optional<QString> amountRuleWithin(const QString &text, qsizetype capacity);
std::optional<QString> quantityRuleWithin(const QString &text, qsizetype capacity);

// The warnings of a field that refuses a number too large for it.
QString tooLargeAmount();
QString tooLargeQuantity();

} // namespace NumberText
