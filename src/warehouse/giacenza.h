#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The stock dialog: adds a quantity to, or subtracts it from, the card's stock and puts
// the result into the card screen's stock field. The label says which operation it is.
class TfrmGiacenza final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmGiacenza(QWidget *parent);

    static QString addCaption() { return QStringLiteral("Quantità da aggiungere:"); }
    static QString subtractCaption() { return QStringLiteral("Quantità da sottrarre:"); }
    static QString outOfRangeWarning();

    QLabel *lblGiacenza;
    QLineEdit *txtGiacenza;
    QLabel *lblAggiunta;
    QLineEdit *txtAggiunta;
    QPushButton *btnTotale;
    QLineEdit *txtTotale;
    QPushButton *btnChiudi;
    QPushButton *btnAggiorna;

private:
    void btnTotaleClick();
    void btnAggiornaClick();
    // Computes the total into txtTotale; false when a text was not a number.
    bool calcolaTotale();
};
