#include "printing/reportpreview.h"

#include "printing/report.h"
#include "printing/reportwindow.h"

#include <QActionGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Blank around and between the pages, in screen pixels.
constexpr int kGap = 16;
// The zoom choices, in per cent.
constexpr int kPercentages[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};

// A scroll area that says when its view changes size, so a fitted zoom can follow.
class PageArea final : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;
    std::function<void()> resized;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QScrollArea::resizeEvent(event);
        if (resized)
            resized();
    }
};

QString plain(const QString &caption)
{
    QString text = caption;
    return text.remove(u'&');
}

} // namespace

namespace ReportPreviewDetail {

// The prepared pages one below the other, centred, on a grey ground. Only the pages in
// the part being painted are drawn, so a long report scrolls as quickly as a short one.
class PageView final : public QWidget
{
public:
    PageView(const TReport &report, QWidget *parent) : QWidget(parent), m_report(report)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        relayout();
    }

    double zoom() const { return m_zoom; }
    void setZoom(double zoom)
    {
        m_zoom = zoom;
        relayout();
        update();
    }
    int pageCount() const { return static_cast<int>(m_report.preparedPages().size()); }
    // Room the pages take with the blanks around them.
    QSize contentSize() const { return m_content; }

    // A page's size on screen at zoom 1.0: its real size.
    QSizeF realSize(int index) const
    {
        const QSizeF mm = m_report.preparedPages().at(index).paperMm;
        return QSizeF(mm.width() / 25.4 * logicalDpiX(), mm.height() / 25.4 * logicalDpiY());
    }
    QRect pageRect(int index) const
    {
        const QSize size = pageSize(index);
        return QRect(QPoint((width() - size.width()) / 2, m_tops.at(index)), size);
    }
    // The last page whose top lies above y.
    int pageAt(int y) const
    {
        const auto after = std::upper_bound(m_tops.begin(), m_tops.end(), y);
        return std::max(0, static_cast<int>(after - m_tops.begin()) - 1);
    }

    // The zoom at which the widest page fills a view's width, or the tallest page fits
    // the view whole.
    double widthFit(int viewWidth) const
    {
        double widest = 1;
        for (int i = 0; i < pageCount(); ++i)
            widest = std::max(widest, realSize(i).width());
        return std::max(0.05, (viewWidth - 2.0 * kGap) / widest);
    }
    double pageFit(QSize view) const
    {
        double tallest = 1;
        for (int i = 0; i < pageCount(); ++i)
            tallest = std::max(tallest, realSize(i).height());
        return std::min(widthFit(view.width()),
                        std::max(0.05, (view.height() - 2.0 * kGap) / tallest));
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), QColor(0x80, 0x80, 0x80));
        const int first = pageAt(event->rect().top() - kGap);
        for (int i = first; i < pageCount(); ++i) {
            const QRect page = pageRect(i);
            if (page.top() > event->rect().bottom())
                break;
            painter.fillRect(page.translated(3, 3), QColor(0x40, 0x40, 0x40));
            painter.fillRect(page, Qt::white);
            painter.save();
            painter.setClipRect(page);
            painter.translate(page.topLeft());
            // The engine scales from its 96 pixels to the inch to the screen's resolution;
            // the zoom comes on top.
            painter.scale(m_zoom, m_zoom);
            m_report.paintPage(painter, i);
            painter.restore();
        }
    }

private:
    QSize pageSize(int index) const
    {
        const QSizeF size = realSize(index) * m_zoom;
        return QSize(std::max(1, qRound(size.width())), std::max(1, qRound(size.height())));
    }

    void relayout()
    {
        m_tops.clear();
        int y = kGap;
        int widest = 0;
        for (int i = 0; i < pageCount(); ++i) {
            m_tops.append(y);
            const QSize size = pageSize(i);
            y += size.height() + kGap;
            widest = std::max(widest, size.width());
        }
        m_content = QSize(widest + 2 * kGap, y);
    }

    const TReport &m_report;
    double m_zoom = 1.0;
    QList<int> m_tops;
    QSize m_content;
};

} // namespace ReportPreviewDetail

using ReportPreviewDetail::PageView;

ReportPreview::ReportPreview(TReport &report, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_report(report)
{
    setObjectName(u"ReportPreview"_s);
    setWindowTitle(u" Anteprima di stampa - "_s + report.DocumentName);
    setModal(true);

    actStampa = new QAction(u"&Stampa"_s, this);
    actStampa->setShortcut(QKeySequence::Print);
    actStampa->setToolTip(u"Stampa il documento sulla stampante scelta."_s);

    actZoom = new QAction(u"&Zoom"_s, this);
    actZoom->setToolTip(u"Sceglie la grandezza delle pagine."_s);
    auto *zoomMenu = new QMenu(u"Zoom"_s, this);
    zoomMenu->setObjectName(u"mnuZoom"_s);
    m_zoomChoices = new QActionGroup(this);
    m_zoomChoices->setExclusive(true);
    actLarghezzaPagina = zoomMenu->addAction(u"&Larghezza pagina"_s);
    actPaginaIntera = zoomMenu->addAction(u"Pagina &intera"_s);
    zoomMenu->addSeparator();
    for (const int percent : kPercentages)
        zoomPercentages.append(zoomMenu->addAction(percentText(percent / 100.0)));
    for (QAction *choice : zoomMenu->actions()) {
        if (choice->isSeparator())
            continue;
        choice->setCheckable(true);
        m_zoomChoices->addAction(choice);
    }
    actZoom->setMenu(zoomMenu);
    connect(actLarghezzaPagina, &QAction::triggered, this, [this] { setZoom(0, Fit::Width); });
    connect(actPaginaIntera, &QAction::triggered, this, [this] { setZoom(0, Fit::Page); });
    for (int i = 0; i < zoomPercentages.size(); ++i) {
        const double zoom = kPercentages[i] / 100.0;
        connect(zoomPercentages[i], &QAction::triggered, this,
                [this, zoom] { setZoom(zoom, Fit::None); });
    }

    actSchermoIntero = new QAction(u"Schermo &intero"_s, this);
    actSchermoIntero->setCheckable(true);
    actSchermoIntero->setShortcut(Qt::Key_F11);
    actSchermoIntero->setToolTip(
        u"Mostra l'anteprima a schermo intero; un secondo clic torna alla finestra."_s);

    actPaginaPrecedente = new QAction(u"Pagina &precedente"_s, this);
    actPaginaPrecedente->setShortcut(Qt::Key_PageUp);
    actPaginaPrecedente->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    actPaginaPrecedente->setToolTip(u"Mostra la pagina precedente."_s);
    actPaginaSuccessiva = new QAction(u"Pagina s&uccessiva"_s, this);
    actPaginaSuccessiva->setShortcut(Qt::Key_PageDown);
    actPaginaSuccessiva->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    actPaginaSuccessiva->setToolTip(u"Mostra la pagina successiva."_s);

    actChiudi = new QAction(u"&Chiudi"_s, this);
    actChiudi->setToolTip(u"Chiude l'anteprima."_s);

    connect(actStampa, &QAction::triggered, this, &ReportPreview::stampaClick);
    connect(actSchermoIntero, &QAction::toggled, this, &ReportPreview::schermoInteroClick);
    connect(actPaginaPrecedente, &QAction::triggered, this,
            [this] { goToPage(currentPage() - 1); });
    connect(actPaginaSuccessiva, &QAction::triggered, this,
            [this] { goToPage(currentPage() + 1); });
    connect(actChiudi, &QAction::triggered, this, &QDialog::reject);

    // Ctrl and + or - step through the percentages, as in most viewers.
    for (const QKeySequence &keys : {QKeySequence(QKeySequence::ZoomIn), QKeySequence(u"Ctrl+="_s)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] { stepZoom(1); });
    connect(new QShortcut(QKeySequence::ZoomOut, this), &QShortcut::activated, this,
            [this] { stepZoom(-1); });

    auto *bar = new QWidget(this);
    bar->setObjectName(u"panComandi"_s);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 6, 8, 6);
    row->addWidget(commandButton(actStampa));
    row->addSpacing(12);
    QToolButton *zoomButton = commandButton(actZoom);
    zoomButton->setPopupMode(QToolButton::InstantPopup);
    row->addWidget(zoomButton);
    lblZoom = new QLabel(bar);
    lblZoom->setObjectName(u"lblZoom"_s);
    lblZoom->setMinimumWidth(56);
    row->addWidget(lblZoom);
    row->addWidget(commandButton(actSchermoIntero));
    row->addStretch(1);
    row->addWidget(commandButton(actPaginaPrecedente));
    lblPagina = new QLabel(bar);
    lblPagina->setObjectName(u"lblPagina"_s);
    lblPagina->setAlignment(Qt::AlignCenter);
    lblPagina->setMinimumWidth(120);
    row->addWidget(lblPagina);
    row->addWidget(commandButton(actPaginaSuccessiva));
    row->addStretch(1);
    row->addWidget(commandButton(actChiudi));

    auto *area = new PageArea(this);
    panPagine = area;
    panPagine->setObjectName(u"panPagine"_s);
    panPagine->setAccessibleName(u"Pagine del documento"_s);
    panPagine->setFocusPolicy(Qt::StrongFocus);
    panPagine->setWidgetResizable(false);
    panPagine->setFrameShape(QFrame::NoFrame);
    m_view = new PageView(report, panPagine);
    m_view->setObjectName(u"imgPagine"_s);
    panPagine->setWidget(m_view);
    area->resized = [this] {
        layoutView();
        refit();
    };
    connect(panPagine->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &ReportPreview::scrolled);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(panPagine, 1);

    // The page arrows only where there is somewhere to go.
    const bool severalPages = pageCount() > 1;
    actPaginaPrecedente->setVisible(severalPages);
    actPaginaSuccessiva->setVisible(severalPages);
    lblPagina->setVisible(severalPages);
    for (QToolButton *button : bar->findChildren<QToolButton *>())
        button->setVisible(button->defaultAction()->isVisible());

    setZoom(1.0, Fit::None);
    panPagine->setFocus(Qt::OtherFocusReason);
}

ReportPreview::~ReportPreview() = default;

QToolButton *ReportPreview::commandButton(QAction *action)
{
    auto *button = new QToolButton(this);
    // The caption keeps its marked letter, so Alt and that letter press the button.
    action->setIconText(action->text());
    button->setDefaultAction(action);
    button->setObjectName(u"btn"_s + plain(action->text()).remove(u' '));
    button->setToolButtonStyle(action->icon().isNull() ? Qt::ToolButtonTextOnly
                                                       : Qt::ToolButtonTextBesideIcon);
    // Reached with Tab like any button, not only by mouse.
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAccessibleName(plain(action->text()));
    button->setAccessibleDescription(action->toolTip());
    button->setMinimumHeight(30);
    return button;
}

double ReportPreview::zoom() const { return m_view->zoom(); }

int ReportPreview::pageCount() const { return m_view->pageCount(); }

int ReportPreview::currentPage() const { return m_current; }

void ReportPreview::layoutView()
{
    m_view->resize(m_view->contentSize().expandedTo(panPagine->viewport()->size()));
}

void ReportPreview::scrolled()
{
    // The page in the middle of the view, unless a page arrow has just chosen one.
    if (!m_jumping) {
        const QScrollBar *scroll = panPagine->verticalScrollBar();
        m_current = m_view->pageAt(scroll->value() + panPagine->viewport()->height() / 2);
    }
    updateReadouts();
}

QList<QAction *> ReportPreview::commands() const
{
    QList<QAction *> shown;
    for (QAction *action : {actStampa, actZoom, actSchermoIntero, actPaginaPrecedente,
                            actPaginaSuccessiva, actChiudi}) {
        if (action->isVisible())
            shown.append(action);
    }
    return shown;
}

QString ReportPreview::percentText(double zoom)
{
    return QString::number(qRound(zoom * 100)) + u" %"_s;
}

void ReportPreview::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        // The window manager may change the state too; the command shows where we are.
        const QSignalBlocker quiet(actSchermoIntero);
        actSchermoIntero->setChecked(isFullScreen());
    }
}

void ReportPreview::stampaClick()
{
    // A confirmed print ends the preview; a cancelled print dialog leaves it open.
    if (ReportWindow::Print(m_report, this))
        accept();
}

void ReportPreview::schermoInteroClick(bool on)
{
    if (on)
        setWindowState(windowState() | Qt::WindowFullScreen);
    else
        setWindowState((windowState() & ~Qt::WindowFullScreen) | Qt::WindowMaximized);
}

void ReportPreview::setZoom(double zoom, Fit fit)
{
    m_fit = fit;
    const QSize view = panPagine->viewport()->size();
    if (fit == Fit::Width)
        zoom = m_view->widthFit(view.width());
    else if (fit == Fit::Page)
        zoom = m_view->pageFit(view);
    if (qFuzzyCompare(zoom, m_view->zoom()) && !lblZoom->text().isEmpty()) {
        updateReadouts();
        return;
    }

    // Keep the same place of the document in the middle of the view.
    QScrollBar *scroll = panPagine->verticalScrollBar();
    const double total = std::max(1, m_view->contentSize().height());
    const double middle = (scroll->value() + view.height() / 2.0) / total;
    const int page = m_current;
    m_view->setZoom(zoom);
    layoutView();
    {
        const QScrollBar *across = panPagine->horizontalScrollBar();
        panPagine->horizontalScrollBar()->setValue(across->maximum() / 2);
    }
    m_jumping = true;
    scroll->setValue(qRound(middle * m_view->contentSize().height() - view.height() / 2.0));
    m_jumping = false;
    m_current = page;

    QAction *choice = fit == Fit::Width  ? actLarghezzaPagina
                      : fit == Fit::Page ? actPaginaIntera
                                         : nullptr;
    for (int i = 0; !choice && i < zoomPercentages.size(); ++i) {
        if (qRound(zoom * 100) == kPercentages[i])
            choice = zoomPercentages[i];
    }
    if (choice) {
        choice->setChecked(true);
    } else if (QAction *checked = m_zoomChoices->checkedAction()) {
        checked->setChecked(false);
    }
    updateReadouts();
}

void ReportPreview::stepZoom(int direction)
{
    const int now = qRound(zoom() * 100);
    if (direction > 0) {
        for (const int percent : kPercentages) {
            if (percent > now)
                return setZoom(percent / 100.0, Fit::None);
        }
    } else {
        for (auto it = std::rbegin(kPercentages); it != std::rend(kPercentages); ++it) {
            if (*it < now)
                return setZoom(*it / 100.0, Fit::None);
        }
    }
}

void ReportPreview::refit()
{
    if (m_fit != Fit::None)
        setZoom(0, m_fit);
}

void ReportPreview::goToPage(int index)
{
    // The page's top goes to the top of the view, as far as the scrolling reaches; the
    // page is the current one even where the end of the document stops it lower.
    m_current = std::clamp(index, 0, pageCount() - 1);
    m_jumping = true;
    panPagine->verticalScrollBar()->setValue(m_view->pageRect(m_current).top() - kGap);
    m_jumping = false;
    updateReadouts();
}

void ReportPreview::updateReadouts()
{
    lblZoom->setText(percentText(zoom()));
    const int page = currentPage();
    lblPagina->setText(u"Pagina %1 di %2"_s.arg(page + 1).arg(pageCount()));
    actPaginaPrecedente->setEnabled(page > 0);
    actPaginaSuccessiva->setEnabled(page < pageCount() - 1);
}
