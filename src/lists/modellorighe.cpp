#include "lists/modellorighe.h"

#include "lists/rigaelenco.h"

#include <QColor>
#include <QFontMetrics>

using namespace Qt::StringLiterals;

ModelloRighe::ModelloRighe(QObject *parent) : QAbstractListModel(parent), m_font(u"Courier New"_s)
{
    m_font.setPointSize(12);
    m_font.setStyleHint(QFont::TypeWriter);
    m_voce = QSize(kLarghezzaVoce, QFontMetrics(m_font).height() + 2);
}

void ModelloRighe::imposta(CompactLines righe)
{
    righe.sort();
    beginResetModel();
    m_righe = std::move(righe);
    endResetModel();
}

void ModelloRighe::svuota()
{
    beginResetModel();
    m_righe.clear();
    endResetModel();
}

int ModelloRighe::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_righe.size());
}

QVariant ModelloRighe::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_righe.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return m_righe.at(index.row());
    case Qt::FontRole:
        return m_font;
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    case Qt::SizeHintRole:
        return m_voce;
    default:
        return {};
    }
}
