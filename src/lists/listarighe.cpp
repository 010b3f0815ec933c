#include "lists/listarighe.h"

#include "common/listkeys.h"
#include "lists/modellorighe.h"

#include <QMouseEvent>

ListaRighe::ListaRighe(QWidget *parent, const QString &name, const QString &accessibleName)
    : QListView(parent), m_modello(new ModelloRighe(this))
{
    setObjectName(name);
    setAccessibleName(accessibleName);
    setModel(m_modello);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    setPalette(pal);
    ListKeys::install(this, [this] { Q_EMIT dblClick(); });
}

const CompactLines &ListaRighe::righe() const { return m_modello->righe(); }

int ListaRighe::conta() const { return m_modello->rowCount(); }

int ListaRighe::selezionata() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

void ListaRighe::seleziona(int row)
{
    const QModelIndex index = m_modello->index(row);
    setCurrentIndex(index);
    scrollTo(index);
}

QString ListaRighe::testoSelezionato() const
{
    const int row = selezionata();
    return row < 0 ? QString() : righe().at(row);
}

void ListaRighe::imposta(CompactLines righe)
{
    m_modello->imposta(std::move(righe));
    scrollToTop();
}

void ListaRighe::svuota() { m_modello->svuota(); }

void ListaRighe::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT dblClick();
}
