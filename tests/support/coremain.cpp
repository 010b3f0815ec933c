#include "testmain.h"

#include <QGuiApplication>

// The model tests: fonts, images and painting, no widgets.
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Scaffaria"));
    return TestMain::runAll(argc, argv);
}
