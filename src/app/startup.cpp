#include "app/startup.h"

#include "common/screens.h"

void createScreens()
{
}

void startProgram()
{
    createScreens();
}
