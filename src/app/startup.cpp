#include "app/startup.h"

#include "app/avvio.h"
#include "app/cambiapassword.h"
#include "app/password.h"
#include "common/screens.h"
#include "lists/menuriepilogo.h"
#include "pricelist/apricatalogo.h"
#include "pricelist/creacatalogo.h"
#include "pricelist/listinoprezzi.h"
#if __has_include("warehouse/magazzino.h")
#include "warehouse/magazzino.h"
#define SCAFFARIA_HAS_MAGAZZINO 1
#endif

void createScreens()
{
    ScreenRegistry &s = screens();
    s.password = new TfrmPassword;
    s.apriCatalogo = new TfrmApriCatalogo;
    s.avvio = new TfrmAvvio;
    s.hub = s.avvio;
    s.cambiaPassword = new TfrmCambiaPassword;
    s.creaCatalogo = new TfrmCreaCatalogo;
    s.listinoPrezzi = new TfrmListinoPrezzi;
#ifdef SCAFFARIA_HAS_MAGAZZINO
    s.magazzino = new TfrmMagazzino;
#endif
    s.menuRiepilogo = new TfrmMenuRiepilogo;
}

void destroyScreens()
{
    ScreenRegistry &s = screens();
    delete s.menuRiepilogo;
#ifdef SCAFFARIA_HAS_MAGAZZINO
    delete s.magazzino;
#endif
    delete s.listinoPrezzi;
    delete s.creaCatalogo;
    delete s.cambiaPassword;
    delete s.avvio;
    delete s.apriCatalogo;
    delete s.password;
    s = ScreenRegistry();
}

void startProgram()
{
    createScreens();
    screens().password->show();
}
