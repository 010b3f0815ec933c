#pragma once

#include <QListView>

class CompactLines;
class ModelloRighe;

// The list box lstRecords of the list screens: a view over the lines, never one widget per
// line, every item the same size so that long lists scroll at once.
class ListaRighe final : public QListView
{
    Q_OBJECT
public:
    ListaRighe(QWidget *parent, const QString &name, const QString &accessibleName);

    ModelloRighe *modello() const { return m_modello; }
    const CompactLines &righe() const;
    int conta() const;
    // The selected line's number, or -1.
    int selezionata() const;
    void seleziona(int row);
    // The selected line's text; empty when none is selected.
    QString testoSelezionato() const;

    void imposta(CompactLines righe);
    void svuota();

Q_SIGNALS:
    // A double-click on a line, or Enter on the selected line.
    void dblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    ModelloRighe *m_modello;
};
