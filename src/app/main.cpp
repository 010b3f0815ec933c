#include "app/application.h"
#include "app/startup.h"

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    Application app(argc, argv);
    // The installed menu entry's name, so the desktop shows its icon on every window.
    QGuiApplication::setDesktopFileName(QStringLiteral(SCAFFARIA_APP_ID));
    app.loadItalianTranslation();
    Application::applyFormatting();
    startProgram();
    const int result = app.exec();
    destroyScreens();
    return result;
}
