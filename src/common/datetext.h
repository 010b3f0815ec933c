#pragma once

#include <QDate>
#include <QString>

namespace DateText {

// A date as the program writes it: dd/mm/yyyy, ten characters.
inline QString format(const QDate &date) { return date.toString(QStringLiteral("dd/MM/yyyy")); }

} // namespace DateText
