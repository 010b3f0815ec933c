// A second copy of the program for the tests that need two processes on one program folder.
//   secondcopy hold <folder>            takes the folder's lock, says "pronto", waits for a
//                                       line on its input, then ends (releasing the lock)
//   secondcopy append <folder> <tag> <n> says "pronto", waits for a line, then appends n
//                                       cards coded <tag>0000 ... to the folder's archive
#include "app/folderlock.h"
#include "common/programfolder.h"
#include "warehouse/archivio.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>

namespace {

void readyAndWait()
{
    std::fputs("pronto\n", stdout);
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    ProgramFolder::setForTests(args.at(2));
    if (args.at(1) == QStringLiteral("hold")) {
        const std::unique_ptr<FolderLock::Held> lock = FolderLock::take();
        if (!lock || !lock->isLocked())
            return 1;
        readyAndWait();
        return 0;
    }
    if (args.at(1) == QStringLiteral("append") && args.size() == 5) {
        const QString tag = args.at(3);
        const int count = args.at(4).toInt();
        ArchivioMagazzino archive;
        if (!archive.open())
            return 1;
        readyAndWait();
        for (int i = 0; i < count; ++i) {
            TSchedaProdotto card;
            card.Codice = tag + QString::number(i).rightJustified(4, u'0');
            if (!archive.append(card))
                return 1;
        }
        return 0;
    }
    return 2;
}
