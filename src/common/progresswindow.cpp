#include "common/progresswindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

using namespace Qt::StringLiterals;

namespace {

// How often work on the user-interface thread lets the screens repaint, and how often the
// bar follows a worker.
constexpr qint64 kRepaintMs = 50;

// While work runs, no window of the program closes: a close box clicked then would pull a
// screen away from under the work. Input is held back by the work's own event processing;
// a close request from the window manager is not input, so it is refused here.
class CloseGuard final : public QObject
{
public:
    explicit CloseGuard(QObject *parent) : QObject(parent) { qApp->installEventFilter(this); }
    ~CloseGuard() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close && watched->isWidgetType()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

ProgressWindow::ProgressWindow(QWidget *parent, const QString &text, int delayMs)
    : QWidget(parent ? parent->window() : nullptr, Qt::Dialog | Qt::CustomizeWindowHint |
                                                       Qt::WindowTitleHint |
                                                       Qt::WindowDoesNotAcceptFocus),
      m_focus(QApplication::focusWidget()), m_delayMs(delayMs)
{
    setObjectName(u"frmAvanzamento"_s);
    setWindowTitle(u" Scaffaria"_s);
    setWindowModality(Qt::ApplicationModal);
    // Shown over the screen the user works on without becoming the active window: the
    // keyboard focus stays in the field that had it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(12);
    m_label = new QLabel(text, this);
    m_label->setObjectName(u"lblAvanzamento"_s);
    QFont bold = m_label->font();
    bold.setBold(true);
    m_label->setFont(bold);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(u"barAvanzamento"_s);
    m_bar->setFocusPolicy(Qt::NoFocus);
    m_bar->setTextVisible(false);
    m_bar->setRange(0, 0);
    m_bar->setAccessibleName(text);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    setFixedSize(460, 110);

    new CloseGuard(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_clock.start();
    // The cursor and whatever the opener has just changed show before the work starts.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

ProgressWindow::~ProgressWindow()
{
    hide();
    QApplication::restoreOverrideCursor();
    // Back to the field the user was in, unless the work itself moved the focus on.
    QWidget *now = QApplication::focusWidget();
    if (m_focus && (!now || now == this || isAncestorOf(now))) {
        m_focus->activateWindow();
        m_focus->setFocus(Qt::OtherFocusReason);
    }
}

void ProgressWindow::setTotal(qint64 total)
{
    m_total = total;
    refresh(0, total);
}

void ProgressWindow::setText(const QString &text)
{
    m_label->setText(text);
    m_bar->setAccessibleName(text);
}

void ProgressWindow::tick(qint64 done)
{
    const qint64 now = m_clock.elapsed();
    if (now - m_lastEvents < kRepaintMs)
        return;
    m_lastEvents = now;
    refresh(done, m_total);
    showWindowIfDue();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::refresh(qint64 done, qint64 total)
{
    // The bar counts in thousandths, so any amount of work fits its int range.
    if (total <= 0) {
        m_bar->setRange(0, 0);
        return;
    }
    m_bar->setRange(0, 1000);
    m_bar->setValue(static_cast<int>(std::clamp<qint64>(done * 1000 / total, 0, 1000)));
}

void ProgressWindow::showWindowIfDue()
{
    if (isVisible() || m_clock.elapsed() < m_delayMs)
        return;
    const QWidget *over = parentWidget();
    const QRect area = over ? over->frameGeometry()
                       : QGuiApplication::primaryScreen()
                           ? QGuiApplication::primaryScreen()->availableGeometry()
                           : QRect(QPoint(0, 0), size());
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), area));
    show();
    raise();
}

void ProgressWindow::runOnWorker(const std::function<void(ProgressCount &)> &work)
{
    ProgressCount count;
    std::exception_ptr failure;
    QEventLoop loop;
    connect(this, &ProgressWindow::workerFinished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    QTimer follow;
    follow.setInterval(static_cast<int>(kRepaintMs));
    connect(&follow, &QTimer::timeout, this, [this, &count] {
        refresh(count.done(), count.total());
        showWindowIfDue();
    });
    std::unique_ptr<QThread> worker(QThread::create([this, &work, &count, &failure] {
        try {
            work(count);
        } catch (...) {
            failure = std::current_exception();
        }
        Q_EMIT workerFinished();
    }));
    follow.start();
    worker->start();
    // Paint, timer and window-system events go on; input waits until the work is done.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    follow.stop();
    if (failure)
        std::rethrow_exception(failure);
}
