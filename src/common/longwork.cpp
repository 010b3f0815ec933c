#include "common/longwork.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <exception>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSteps = 1000;

// The worker's voice on the user-interface thread: its signals cross threads queued.
class Relay final : public QObject
{
    Q_OBJECT
public:
Q_SIGNALS:
    void progressed(int step);
    void finished();
};

// The progress window: what is being done and a bar; it has no button and cannot be
// closed, since the work cannot be stopped half way.
class ProgressWindow final : public QDialog
{
public:
    ProgressWindow(QWidget *parent, const QString &text) : QDialog(parent)
    {
        setObjectName(u"frmAvanzamento"_s);
        setWindowTitle(u" Scaffaria"_s);
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        setWindowModality(Qt::ApplicationModal);
        setFixedSize(440, 110);
        lblTesto = new QLabel(text, this);
        lblTesto->setObjectName(u"lblTesto"_s);
        lblTesto->setGeometry(20, 18, 400, 24);
        barAvanzamento = new QProgressBar(this);
        barAvanzamento->setObjectName(u"barAvanzamento"_s);
        barAvanzamento->setAccessibleName(text);
        barAvanzamento->setRange(0, kSteps);
        barAvanzamento->setGeometry(20, 56, 400, 26);
        lblTesto->setBuddy(barAvanzamento);
    }

    void appear()
    {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                            screen->availableGeometry()));
        show();
    }

    QLabel *lblTesto;
    QProgressBar *barAvanzamento;

protected:
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
    void keyPressEvent(QKeyEvent *) override {}
};

// Keeps every key and mouse press from the program's windows while the work runs, but
// those meant for the progress window.
class InputBlock final : public QObject
{
public:
    explicit InputBlock(const QPointer<QWidget> *window) : m_window(window)
    {
        qApp->installEventFilter(this);
    }
    ~InputBlock() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
            break;
        default:
            return false;
        }
        auto *widget = qobject_cast<QWidget *>(watched);
        const QWidget *window = *m_window;
        if (window && widget && (widget == window || window->isAncestorOf(widget)))
            return false;
        return true;
    }

private:
    const QPointer<QWidget> *m_window;
};

} // namespace

namespace LongWork {

int windowDelay() { return 500; }

void run(QWidget *parent, const QString &text, const std::function<void(const Report &)> &work)
{
    Relay relay;
    QEventLoop loop;
    QObject::connect(&relay, &Relay::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);

    std::unique_ptr<ProgressWindow> window;
    QPointer<QWidget> shown;
    const InputBlock block(&shown);
    QTimer delay;
    delay.setSingleShot(true);
    int lastStep = 0;
    QObject::connect(&delay, &QTimer::timeout, [&] {
        window = std::make_unique<ProgressWindow>(parent, text);
        window->barAvanzamento->setValue(lastStep);
        shown = window.get();
        window->appear();
    });
    QObject::connect(
        &relay, &Relay::progressed, &loop,
        [&](int step) {
            lastStep = step;
            if (window)
                window->barAvanzamento->setValue(step);
        },
        Qt::QueuedConnection);

    // The worker posts a step only when the bar would move.
    std::atomic<int> posted{0};
    const Report report = [&relay, &posted](qint64 done, qint64 total) {
        if (total <= 0)
            return;
        const int step = int(std::clamp<qint64>(done * kSteps / total, 0, kSteps));
        if (posted.exchange(step) != step)
            Q_EMIT relay.progressed(step);
    };
    std::exception_ptr failure;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            work(report);
        } catch (...) {
            failure = std::current_exception();
        }
        Q_EMIT relay.finished();
    }));
    delay.start(windowDelay());
    worker->start();
    loop.exec();
    worker->wait();
    delay.stop();
    if (window)
        window->hide();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace LongWork

#include "longwork.moc"
