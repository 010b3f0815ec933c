#pragma once

#include <QString>

class QLineEdit;
class QWidget;
class ListaRighe;

// The find-in-list command of a list screen: the next line containing the key typed in
// txtTrova. The same key again steps on from the selected line and wraps round to the
// top; a new key starts at the first line.
class TrovaInElenco final
{
public:
    // How the screen tells that its list is empty.
    enum class Avviso { Semplice, Informazione };

    TrovaInElenco(QWidget *screen, QLineEdit *txtTrova, ListaRighe *lstRecords, Avviso avviso);

    // Forgets the last key; done each time the screen is shown.
    void azzera() { m_ultimaChiave.clear(); }
    // The click of btnTrova.
    void esegui();

    static QString listaVuota();

private:
    QWidget *m_screen;
    QLineEdit *m_txtTrova;
    ListaRighe *m_lista;
    Avviso m_avviso;
    QString m_ultimaChiave;
};
