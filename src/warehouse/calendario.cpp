#include "warehouse/calendario.h"

#include "common/centring.h"
#include "common/datetext.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "common/storedtext.h"
#include "warehouse/calendaraccess.h"
#include "warehouse/magazzino.h"

#include <QCalendarWidget>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

TfrmCalendario::TfrmCalendario(QWidget *parent) : QDialog(parent)
{
    Centring::keep(this, Centring::On::Opener);
    setObjectName(u"TfrmCalendario"_s);
    setWindowTitle(u" Importazione data"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(340, 300);

    lblTitolo = new QLabel(u"Importare una data:"_s, this);
    lblTitolo->setObjectName(u"lblTitolo"_s);
    lblTitolo->setGeometry(12, 10, 316, 20);
    CalendarAccess::prepare();
    calAppuntamenti = new QCalendarWidget(this);
    calAppuntamenti->setObjectName(u"calAppuntamenti"_s);
    calAppuntamenti->setGeometry(12, 34, 316, 210);
    calAppuntamenti->setGridVisible(true);
    calAppuntamenti->setFirstDayOfWeek(Qt::Monday);
    calAppuntamenti->setSelectedDate(QDate::currentDate());
    calAppuntamenti->setAccessibleName(u"Calendario"_s);
    // The calendar's own controls get Italian names a screen reader can say.
    const std::pair<const char *, QString> parts[] = {
        {"qt_calendar_prevmonth", u"Mese precedente"_s},
        {"qt_calendar_nextmonth", u"Mese successivo"_s},
        {"qt_calendar_monthbutton", u"Mese"_s},
        {"qt_calendar_yearbutton", u"Anno"_s},
        {"qt_calendar_yearedit", u"Anno"_s},
        {"qt_calendar_calendarview", u"Giorni del mese"_s}};
    for (const auto &[name, caption] : parts) {
        if (auto *part = calAppuntamenti->findChild<QWidget *>(QString::fromLatin1(name)))
            part->setAccessibleName(caption);
    }
    lblTitolo->setBuddy(calAppuntamenti);
    btnAnnulla = new QPushButton(u"Annulla"_s, this);
    btnAnnulla->setObjectName(u"btnAnnulla"_s);
    btnAnnulla->setGeometry(12, 256, 150, 30);
    btnImportaData = new QPushButton(u"Importa"_s, this);
    btnImportaData->setObjectName(u"btnImportaData"_s);
    btnImportaData->setGeometry(178, 256, 150, 30);
    btnImportaData->setDefault(true);
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(u"lblMemory"_s);
    lblMemory->hide();

    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    // Esc cancels, whatever field has the focus.
    CommandKeys::assign(btnAnnulla, QKeySequence(Qt::Key_Escape));
    connect(btnImportaData, &QPushButton::clicked, this, &TfrmCalendario::btnImportaDataClick);
    connect(calAppuntamenti, &QCalendarWidget::activated, this,
            &TfrmCalendario::btnImportaDataClick);
}

void TfrmCalendario::btnImportaDataClick()
{
    if (StoredText::trimBlanks(lblMemory->text()) != u"datasca"_s)
        return;
    if (TfrmMagazzino *card = screens().magazzino)
        card->txtDataSca->setText(DateText::format(calAppuntamenti->selectedDate()));
    accept();
}
