#include "testmain.h"

#include "app/application.h"
#include "app/startup.h"

// The screen tests: the program's own application object, and the screens wired to the
// dialogs they open as start-up wires them.
int main(int argc, char **argv)
{
    Application app(argc, argv);
    installOpeners();
    return TestMain::runAll(argc, argv);
}
