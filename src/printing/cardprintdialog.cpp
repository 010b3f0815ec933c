#include "printing/cardprintdialog.h"

#include "common/artwork.h"
#include "common/dialogs.h"
#include "common/picturebutton.h"
#include "common/storedtext.h"
#include "printing/cardsheet.h"
#include "printing/report.h"
#include "printing/reportwindow.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {
const QSize kScreen(364, 361);
const QSize kHeading(340, 90);
const QSize kPlaceholder(366, 274);
} // namespace

CardPrintDialog::CardPrintDialog(QWidget *parent, const QImage &photo, Source source, Output output,
                                 const Texts &texts)
    : PrintDialogFrame(parent, texts.name, texts.caption, kScreen, QColor(0x46, 0x82, 0xB4)),
      m_photo(photo), m_source(std::move(source)), m_output(output)
{
    imgLogo02 = new QLabel(this);
    imgLogo02->setObjectName(u"imgLogo02"_s);
    imgLogo02->setPixmap(Artwork::pixmap(texts.art, kHeading));
    imgLogo02->setGeometry(QRect(QPoint(12, 12), kHeading));
    imgLogo02->setAccessibleName(texts.caption.trimmed());

    QFont choiceFont = font();
    choiceFont.setPointSize(10);
    choiceFont.setBold(true);
    optUno = new QRadioButton(texts.withPhoto, this);
    optUno->setObjectName(u"optUno"_s);
    optUno->setGeometry(48, 134, 280, 28);
    optUno->setFont(choiceFont);
    optUno->setChecked(true);
    optDue = new QRadioButton(texts.withoutPhoto, this);
    optDue->setObjectName(u"optDue"_s);
    optDue->setGeometry(48, 174, 280, 28);
    optDue->setFont(choiceFont);

    lblMemory = new QLabel(u"con"_s, this);
    lblMemory->setObjectName(u"lblMemory"_s);
    lblMemory->hide();
    imgLogo = new QLabel(this);
    imgLogo->setObjectName(u"imgLogo"_s);
    imgLogo->hide();
    imgBianco = new QLabel(this);
    imgBianco->setObjectName(u"imgBianco"_s);
    imgBianco->setPixmap(Artwork::pixmap(u"printing_bianco"_s, kPlaceholder));
    imgBianco->hide();

    btnAnnulla = new QPushButton(u"Annulla"_s, this);
    btnAnnulla->setObjectName(u"btnAnnulla"_s);
    btnAnnulla->setGeometry(40, 296, 130, 36);
    btnStampa = new QPushButton(texts.confirm, this);
    btnStampa->setObjectName(u"btnStampa"_s);
    btnStampa->setGeometry(194, 296, 130, 36);
    btnStampa->setDefault(true);

    // The choice follows the buttons however they change: mouse, arrow keys, or the toggle
    // action of assistive technology, which never clicks.
    connect(optUno, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optUnoClick();
    });
    connect(optDue, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optDueClick();
    });
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    // Esc cancels, whatever field has the focus.
    CommandKeys::assign(btnAnnulla, QKeySequence(Qt::Key_Escape));
    connect(btnStampa, &QPushButton::clicked, this, &CardPrintDialog::btnStampaClick);
}

void CardPrintDialog::showEvent(QShowEvent *event)
{
    takePhoto();
    PrintDialogFrame::showEvent(event);
}

void CardPrintDialog::takePhoto()
{
    imgLogo->setPixmap(m_photo.isNull() ? imgBianco->pixmap() : QPixmap::fromImage(m_photo));
}

void CardPrintDialog::optUnoClick() { lblMemory->setText(u"con"_s); }

void CardPrintDialog::optDueClick() { lblMemory->setText(u"senza"_s); }

void CardPrintDialog::btnStampaClick()
{
    CardSheetData data = m_source();
    data.photo = imgLogo->pixmap().toImage();
    const QString choice = StoredText::trimBlanks(lblMemory->text());
    if (choice != u"con" && choice != u"senza")
        return;
    std::unique_ptr<TReport> sheet;
    try {
        sheet = CardSheet::build(data, choice == u"con", QDateTime::currentDateTime());
    } catch (const NotANumber &failure) {
        // Reported as every failure no handler catches; the screen stays open.
        Dialogs::plain(this, Dialogs::failureText(failure));
        return;
    }
    sheet->PrepareReport(true);
    if (m_output == Output::Preview)
        ReportWindow::ShowReport(*sheet, this);
    else
        ReportWindow::Print(*sheet, this);
    accept();
}
