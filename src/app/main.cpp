#include "app/application.h"
#include "app/startup.h"

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    Application app(argc, argv);
    app.loadItalianTranslation();
    Application::applyFormatting();
    startProgram();
    const int result = app.exec();
    destroyScreens();
    return result;
}
