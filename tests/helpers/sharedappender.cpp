// A second workstation for the tests of the shared store: appends cards to a shared
// archive, each card one action of its own, as a user saving new cards one by one would.
//   sharedappender <socket folder> <port> <database> <user> <tag> <n>
// says "pronto", waits for a line on its input (so that several start at once), then
// appends n cards coded <tag>0000 ... and ends with 0 when every append was stored.
#include "store/sharedstore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 7)
        return 2;
    Store::SharedSettings settings;
    settings.server = args.at(1);
    settings.port = args.at(2).toInt();
    settings.database = args.at(3);
    settings.user = args.at(4);
    const QString tag = args.at(5);
    const int n = args.at(6).toInt();
    Store::SharedBackend backend(settings);

    std::fputs("pronto\n", stdout);
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 2;

    for (int i = 0; i < n; ++i) {
        TSchedaProdotto card;
        card.Codice = tag + QString::number(i).rightJustified(4, u'0');
        card.Nome = QStringLiteral("Articolo ") + card.Codice;
        const std::unique_ptr<Store::Cards> cards = backend.cards();
        if (!cards->open() || !cards->append(card) || !cards->close())
            return 1;
    }
    return 0;
}
