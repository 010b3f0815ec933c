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

// While work runs the program takes no input: a click, a key or the wheel is dropped as it
// arrives, as a modal window drops what is meant for the windows it blocks, so nothing can
// change under the work and no click waits to act once it is done. No window closes
// either: a close box clicked then would pull a screen away from under the work. Paint,
// timer and window-system events go on, so the screens keep repainting.
class InputGuard final : public QObject
{
public:
    explicit InputGuard(QObject *parent) : QObject(parent) { qApp->installEventFilter(this); }
    ~InputGuard() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Drop:
            return true;
        case QEvent::Close:
            if (watched->isWidgetType()) {
                event->ignore();
                return true;
            }
            break;
        default:
            break;
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
    // Modal in effect: while the work runs, the input guard below drops every input to the
    // program. It is not a modal window for the window system, which would make it the
    // active window: shown over the screen the user works on, it never takes the keyboard
    // focus, which stays in the field that had it.
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

    m_guard = new InputGuard(this);
    // The cursor changes at once; the window system shows it with the first repaint, at the
    // latest one tick later.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_clock.start();
}

ProgressWindow::~ProgressWindow()
{
    hide();
    // Input that arrived since the last tick is dropped too, before the guard goes.
    QCoreApplication::processEvents();
    delete m_guard;
    QApplication::restoreOverrideCursor();
    // Back to the field the user was in, should the window system have handed the focus to
    // the window while it showed; focus the work itself moved on stays where it is.
    QWidget *now = QApplication::focusWidget();
    if (m_shown && m_focus && (!now || now == this || isAncestorOf(now))) {
        m_focus->activateWindow();
        m_focus->setFocus(Qt::OtherFocusReason);
    }
}

bool ProgressWindow::event(QEvent *event)
{
    // A window system that activates every window shown: the activation goes straight back
    // to the window of the field the user was in.
    if (event->type() == QEvent::WindowActivate && m_focus) {
        QTimer::singleShot(0, this, [this] {
            if (m_focus && isActiveWindow()) {
                m_focus->activateWindow();
                m_focus->setFocus(Qt::OtherFocusReason);
            }
        });
    }
    return QWidget::event(event);
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
    QCoreApplication::processEvents();
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
    m_shown = true;
    show();
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
    // Paint, timer and window-system events go on; the input guard drops input.
    loop.exec();
    worker->wait();
    follow.stop();
    if (failure)
        std::rethrow_exception(failure);
}
