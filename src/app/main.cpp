#include "app/application.h"
#include "app/folderlock.h"
#include "app/startup.h"
#include "common/programfolder.h"

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    Application app(argc, argv);
    // The installed menu entry's name, so the desktop shows its icon on every window.
    QGuiApplication::setDesktopFileName(QStringLiteral(SCAFFARIA_APP_ID));
    app.loadItalianTranslation();
    // The folder is chosen first, so the lock guards the folder this run really uses;
    // before any screen or file, a second copy on the same folder ends here.
    ProgramFolder::settle();
    const std::unique_ptr<FolderLock::Held> folderLock = FolderLock::take();
    if (!folderLock)
        return 1;
    Application::applyFormatting();
    // The store is chosen once the folder is settled, before any screen reads the data.
    chooseStore(nullptr);
    startProgram();
    const int result = app.exec();
    destroyScreens();
    return result;
}
