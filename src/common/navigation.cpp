#include "common/navigation.h"

#include <QString>

#include <algorithm>

namespace Navigation {

Move step(Step step, QStringView shown, const std::function<qint64()> &count)
{
    if (step == Step::Previous && shown == u"1")
        return {};
    const qint64 total = count();
    if (total == 0)
        return {Move::Kind::Empty, 0, step == Step::Next};
    const qint64 position = shown.toLongLong();
    qint64 target = 0;
    switch (step) {
    case Step::First:
        target = 1;
        break;
    case Step::Last:
        target = total;
        break;
    case Step::Next:
        target = position < total ? position + 1 : 0;
        break;
    case Step::Previous:
        target = shown.isEmpty() ? 1 : std::min(position - 1, total);
        break;
    }
    if (target == 0)
        return {};
    return {Move::Kind::Show, target, false};
}

} // namespace Navigation
