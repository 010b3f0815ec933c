#include "common/screens.h"

#include <QWidget>

ScreenRegistry &screens()
{
    static ScreenRegistry registry;
    return registry;
}

void returnToHub(QWidget *leaving)
{
    if (QWidget *hub = screens().hub)
        hub->showMaximized();
    leaving->hide();
}
