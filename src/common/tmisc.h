#pragma once

#include <QString>

// The program's one shell operation.
class TMisc final
{
public:
    // Asks the desktop to open a document path, a web address or a mail address. It
    // returns at once; when nothing can open the target nothing happens.
    static void Open(const QString &target);
};
