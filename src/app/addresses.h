#pragma once

#include <QString>

// The program's own addresses: the support mail box and the web site.
namespace Addresses {

inline QString supportMail() { return QStringLiteral("assistenza@example.com"); }
inline QString webSite() { return QStringLiteral("http://www.example.com"); }

} // namespace Addresses
