#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <atomic>
#include <functional>
#include <optional>
#include <utility>

class QLabel;
class QProgressBar;

// How far a piece of long work has come. A worker thread may report through it while the
// user-interface thread reads it: both figures are atomic.
class ProgressCount final
{
public:
    void setTotal(qint64 total) { m_total.store(total, std::memory_order_relaxed); }
    void setDone(qint64 done) { m_done.store(done, std::memory_order_relaxed); }
    qint64 total() const { return m_total.load(std::memory_order_relaxed); }
    qint64 done() const { return m_done.load(std::memory_order_relaxed); }

private:
    std::atomic<qint64> m_total{0};
    std::atomic<qint64> m_done{0};
};

// Long work that the user waits for. The wait cursor shows at once; when the work is still
// running after a delay (a second unless told otherwise) a modal window shows a text of what
// is being done and a bar. The window never takes the keyboard focus: the field that had it
// keeps it, and has it again when the work ends. While the work runs, the program's windows
// keep repainting but take no input (a click or a key is dropped, as a modal window drops
// it), so nothing can change under the work.
//
// Work on the user-interface thread holds a ProgressWindow for its length and calls tick()
// as it goes; each tick is cheap, and about every 50 ms it lets the screens repaint:
//
//     ProgressWindow progress(this, u"Lettura dell'archivio in corso..."_s);
//     progress.setTotal(count);
//     for (...) progress.tick(done);
//
// Work that touches no widget can run on a worker thread instead with run(): the
// user-interface thread waits in its own event loop, and the result comes back through a
// queued signal when the worker ends.
class ProgressWindow final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kDefaultDelayMs = 1000;

    ProgressWindow(QWidget *parent, const QString &text, int delayMs = kDefaultDelayMs);
    ~ProgressWindow() override;

    ProgressWindow(const ProgressWindow &) = delete;
    ProgressWindow &operator=(const ProgressWindow &) = delete;

    // The amount of work, in any unit; 0 shows a bar that only says the work goes on.
    void setTotal(qint64 total);
    // Work on the user-interface thread: this much is done.
    void tick(qint64 done);
    // The text of what is being done.
    void setText(const QString &text);

    // Runs `work` on a worker thread and waits for it, the screens repainting, the window
    // showing after the delay; the worker reports through the count it is given and must not
    // touch any widget. Returns what the work returned.
    template<typename Work>
    static auto run(QWidget *parent, const QString &text, Work &&work,
                    int delayMs = kDefaultDelayMs)
    {
        using Result = decltype(work(std::declval<ProgressCount &>()));
        std::optional<Result> result;
        ProgressWindow progress(parent, text, delayMs);
        progress.runOnWorker([&](ProgressCount &count) { result.emplace(work(count)); });
        return std::move(*result);
    }

    // The window shown after the delay, for tests: the text and the bar, or nothing yet.
    QLabel *label() const { return m_label; }
    QProgressBar *bar() const { return m_bar; }

protected:
    bool event(QEvent *event) override;

Q_SIGNALS:
    // Emitted by the worker thread when its work ends; delivered queued.
    void workerFinished();

private:
    void runOnWorker(const std::function<void(ProgressCount &)> &work);
    void refresh(qint64 done, qint64 total);
    void showWindowIfDue();

    QPointer<QWidget> m_focus;
    QObject *m_guard = nullptr;
    QLabel *m_label;
    QProgressBar *m_bar;
    QElapsedTimer m_clock;
    qint64 m_lastEvents = 0;
    qint64 m_total = 0;
    int m_delayMs;
    bool m_shown = false;
};
