#include "common/dialogs.h"

#include <new>

using namespace Qt::StringLiterals;

// Kept apart from the dialogs themselves: the text rules need no window, so the model
// library carries them and their tests run without one.
namespace Dialogs {

QString failureText(const QString &what)
{
    if (!what.isEmpty() && what.back().unicode() > u'.')
        return what + u'.';
    return what;
}

QString failureText(const std::exception &failure)
{
    if (dynamic_cast<const UserFailure *>(&failure))
        return failureText(QString::fromUtf8(failure.what()));
    if (dynamic_cast<const std::bad_alloc *>(&failure))
        return u"Attenzione: la memoria disponibile non è sufficiente per completare "
               u"l'operazione."_s;
    return u"Attenzione: si è verificato un errore imprevisto e l'operazione non è stata "
           u"completata."_s;
}

} // namespace Dialogs
