#include "printing/listreport.h"

#include "common/storedtext.h"
#include "printing/designs.h"
#include "printing/report.h"

using namespace Qt::StringLiterals;

namespace ListReport {

void fill(TReport &report, const QString &title, const QStringList &lines)
{
    report.findMemo(u"txtTitolo"_s)->setText(StoredText::trimBlanks(title));
    TMemoView *memo = report.findMemo(u"txtRiepilogo"_s);
    memo->clearLines();
    for (const QString &line : lines)
        memo->addLine(line);
    memo->Height = memo->Lines.size() * ReportDesigns::kListLinePitch;
    report.findBand(u"MasterData"_s)->Height = memo->Height + 10;
}

} // namespace ListReport
