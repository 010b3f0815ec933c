#include "lists/stampaelenco.h"

#include "printing/designs.h"
#include "printing/listreport.h"
#include "printing/report.h"
#include "printing/reportwindow.h"

namespace StampaElenco {

std::unique_ptr<TReport> prepara(const QString &titolo, const QStringList &righe)
{
    std::unique_ptr<TReport> report = ReportDesigns::repRiepilogo();
    ListReport::fill(*report, titolo, righe);
    report->PrepareReport(true);
    return report;
}

void stampa(QWidget *parent, const QString &titolo, const QStringList &righe)
{
    const std::unique_ptr<TReport> report = prepara(titolo, righe);
    ReportWindow::Print(*report, parent);
}

} // namespace StampaElenco
