#pragma once

#include <QDialog>

class QCalendarWidget;
class QLabel;
class QPushButton;

// The date dialog: a month calendar opening on today's date. With the tag "datasca" the
// chosen date goes into the card screen's expiry-date field.
class TfrmCalendario final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCalendario(QWidget *parent);

    QLabel *lblTitolo;
    QCalendarWidget *calAppuntamenti;
    QPushButton *btnAnnulla;
    QPushButton *btnImportaData;
    QLabel *lblMemory;

private:
    void btnImportaDataClick();
};
