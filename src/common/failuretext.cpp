#include "common/dialogs.h"

// Kept apart from the dialogs themselves: the text rule needs no window, so the model
// library carries it and its tests run without one.
namespace Dialogs {

QString failureText(const QString &what)
{
    if (!what.isEmpty() && what.back().unicode() > u'.')
        return what + u'.';
    return what;
}

} // namespace Dialogs
