#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

// Long whole-data work (a backup copy, its check, a restore) runs on one worker thread while
// the user-interface thread goes on repainting. When the work lasts longer than about half
// a second, a modal progress window with a bar shows over the screen that started it; until
// then the screen takes no input, so nothing can be started twice. The work touches no
// widget: it reports its progress and hands its end back through queued signals.
namespace LongWork {

// Reports the progress of the work, as a part of a whole; callable from the worker only.
using Report = std::function<void(qint64 done, qint64 total)>;

// Runs the work and returns once it has ended. An exception thrown by the work is thrown
// again here, on the user-interface thread.
void run(QWidget *parent, const QString &text, const std::function<void(const Report &)> &work);

// The same for work that gives a result.
template<typename Result>
Result run(QWidget *parent, const QString &text, const std::function<Result(const Report &)> &work)
{
    std::optional<Result> result;
    run(parent, text, [&result, &work](const Report &report) { result.emplace(work(report)); });
    return std::move(*result);
}

// How long the work runs before the progress window shows, in milliseconds.
int windowDelay();

} // namespace LongWork
