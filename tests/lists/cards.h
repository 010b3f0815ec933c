#pragma once

#include "warehouse/schedaprodotto.h"

#include <QList>
#include <QString>

// Cards for the list tests and the archive they make up.
namespace Cards {

// A card with the fields the lists show; the rest stay empty.
TSchedaProdotto make(const QString &code, const QString &name,
                     const QString &stock = QStringLiteral("1"),
                     const QString &cost = QStringLiteral("1,00"));
// Writes Magazzino.pro in the program folder with these cards, in this order.
void write(const QList<TSchedaProdotto> &cards);

} // namespace Cards
