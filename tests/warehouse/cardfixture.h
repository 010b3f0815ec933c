#pragma once

#include "common/screens.h"
#include "support/testmain.h"
#include "warehouse/magazzino.h"

#include <QWidget>

// A shown card screen in its own temporary program folder, registered as the one card
// screen with a stand-in hub, as dialogs and the close handler expect.
struct CardScreenFixture {
    TempProgramFolder folder;
    QWidget hub;
    TfrmMagazzino *screen;

    CardScreenFixture() : screen(new TfrmMagazzino)
    {
        screens().hub = &hub;
        screens().magazzino = screen;
        screen->show();
    }
    ~CardScreenFixture()
    {
        screens().magazzino = nullptr;
        screens().hub = nullptr;
        delete screen;
    }
};
