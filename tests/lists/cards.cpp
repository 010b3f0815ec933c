#include "cards.h"

#include "common/programfolder.h"
#include "warehouse/archivio.h"

#include <QFile>
#include <QTest>

namespace Cards {

TSchedaProdotto make(const QString &code, const QString &name, const QString &stock,
                     const QString &cost)
{
    TSchedaProdotto c;
    c.Codice = code;
    c.Nome = name;
    c.Giacenza = stock;
    c.Avviso = QStringLiteral("0");
    c.Costo = cost;
    c.Prezzo = QStringLiteral("2,00");
    c.Tipologia = QStringLiteral("Ferramenta");
    c.Pagato = TSchedaProdotto::paidYes();
    return c;
}

void write(const QList<TSchedaProdotto> &cards)
{
    QFile f(ProgramFolder::file(ArchivioMagazzino::fileName()));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const TSchedaProdotto &c : cards)
        QCOMPARE(f.write(c.encode()), TSchedaProdotto::Size);
}

} // namespace Cards
