#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class ListaRighe;
class PictureButton;
class TrovaInElenco;

// The inventory: every card, or the cards of one category, with its value stock x cost,
// the total and the count. Computed once, when shown; its lines cannot be double-clicked.
class TfrmRiepilogo final : public QDialog
{
    Q_OBJECT
public:
    // `filtro`: the category filter as the inventory menu shows it.
    TfrmRiepilogo(QWidget *parent, const QString &filtro);
    ~TfrmRiepilogo() override;

    static QString tuttiGliArticoli() { return QStringLiteral("Tutti gli articoli in magazzino."); }

    QWidget *panRiepilogo;
    QLabel *imgIntestazione, *lblTipologia, *titTipologia, *lblRigo01, *lblRigo02, *infValore,
        *lblTotale, *panInfo;
    PictureButton *imgGuida;
    QLineEdit *txtTrova;
    QPushButton *btnTrova, *btnStampa, *btnEsci;
    ListaRighe *lstRecords;

    void done(int result) override;

    // The title and the lines of the printed inventory: the list lines, the hyphen line
    // and the total.
    QString titoloStampa() const;
    QStringList righeStampa() const;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Lays the panel out at the given width, from the full design down to a small screen.
    void arrange(int panelWidth);
    void riempi();
    void btnStampaClick();
    void imgGuidaClick();

    QString m_filtro;
    std::unique_ptr<TrovaInElenco> m_trova;
    QScrollArea *m_scroll;
};
