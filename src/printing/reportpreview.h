#pragma once

#include <QDialog>
#include <QList>

class QAction;
class QActionGroup;
class QLabel;
class QScrollArea;
class QToolButton;
class TReport;

namespace ReportPreviewDetail {
class PageView;
}

// The print preview of a prepared report: its pages one below the other at their real
// size, with the commands Stampa, Zoom, Schermo intero, the page arrows (only when there
// is more than one page) and Chiudi. Esc closes it. Paper and orientation are the
// design's own, so there is no page set-up.
class ReportPreview final : public QDialog
{
    Q_OBJECT
public:
    ReportPreview(TReport &report, QWidget *parent);
    ~ReportPreview() override;

    // The commands, in the order of the command bar; the page arrows stay hidden on a
    // report of one page.
    QAction *actStampa, *actZoom, *actSchermoIntero, *actPaginaPrecedente, *actPaginaSuccessiva,
        *actChiudi;
    // The choices of the Zoom command: page width, whole page, then the percentages.
    QAction *actLarghezzaPagina, *actPaginaIntera;
    QList<QAction *> zoomPercentages;
    // What the preview shows now: the zoom written as "100 %", and "Pagina 1 di 2".
    QLabel *lblZoom, *lblPagina;
    QScrollArea *panPagine;

    // 1.0 shows the pages at their real size.
    double zoom() const;
    // Counted from 0: the page in the middle of the view.
    int currentPage() const;
    int pageCount() const;
    // The commands shown on the command bar, in order.
    QList<QAction *> commands() const;

    // The zoom written the Italian way, for example "100 %" or "87 %".
    static QString percentText(double zoom);

protected:
    void changeEvent(QEvent *event) override;

private:
    enum class Fit { None, Width, Page };

    QToolButton *commandButton(QAction *action);
    void stampaClick();
    void schermoInteroClick(bool on);
    void setZoom(double zoom, Fit fit);
    void stepZoom(int direction);
    void refit();
    void goToPage(int index);
    void updateReadouts();
    void layoutView();
    void scrolled();

    TReport &m_report;
    ReportPreviewDetail::PageView *m_view;
    QActionGroup *m_zoomChoices;
    Fit m_fit = Fit::None;
    int m_current = 0;
    bool m_jumping = false;
};
