#include "printing/priceprintdialog.h"

#include "common/artwork.h"
#include "common/picturebutton.h"
#include "printing/pricesheet.h"
#include "printing/report.h"
#include "printing/reportwindow.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

PricePrintDialog::PricePrintDialog(QWidget *pageScreen, Source source, Output output,
                                   const QString &name, const QString &caption,
                                   const QString &confirm)
    : PrintDialogFrame(pageScreen, name, caption, QSize(364, 287), QColor(0x42, 0x7A, 0xA8)),
      m_source(std::move(source)), m_output(output)
{
    btnAnnulla = new QPushButton(u"Annulla"_s, this);
    btnAnnulla->setObjectName(u"btnAnnulla"_s);
    btnAnnulla->setGeometry(40, 234, 130, 36);
    btnStampa = new QPushButton(confirm, this);
    btnStampa->setObjectName(u"btnStampa"_s);
    btnStampa->setGeometry(194, 234, 130, 36);
    btnStampa->setDefault(true);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    // Esc cancels, whatever field has the focus.
    CommandKeys::assign(btnAnnulla, QKeySequence(Qt::Key_Escape));
    connect(btnStampa, &QPushButton::clicked, this, &PricePrintDialog::btnStampaClick);
}

QLabel *PricePrintDialog::addPicture(const QString &name, const QString &art, QRect box,
                                     const QString &accessibleName)
{
    auto *picture = new QLabel(this);
    picture->setObjectName(name);
    picture->setPixmap(Artwork::pixmap(art, box.size()));
    picture->setGeometry(box);
    picture->setAccessibleName(accessibleName);
    return picture;
}

void PricePrintDialog::btnStampaClick()
{
    std::unique_ptr<TReport> sheet = PriceSheet::build(m_source());
    sheet->PrepareReport(true);
    if (m_output == Output::Preview)
        ReportWindow::ShowReport(*sheet, this);
    else
        ReportWindow::Print(*sheet, this);
    accept();
}
