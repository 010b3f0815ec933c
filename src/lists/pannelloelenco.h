#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class ListaRighe;
class TrovaInElenco;

// The controls every card-list screen shares: the find hints, the find field and button,
// the list box, the double-click hint, and the print and close buttons.
class PannelloElenco final : public QWidget
{
    Q_OBJECT
public:
    static constexpr QSize kSize{980, 500};

    PannelloElenco(QWidget *parent, const QString &name);
    ~PannelloElenco() override;

    QLabel *lblRigo01, *lblRigo02, *lblRigo03;
    QLineEdit *txtTrova;
    QPushButton *btnTrova, *btnStampa, *btnChiudi;
    ListaRighe *lstRecords;

    TrovaInElenco &trova() { return *m_trova; }

private:
    std::unique_ptr<TrovaInElenco> m_trova;
};
