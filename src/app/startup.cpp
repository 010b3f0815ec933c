#include "app/startup.h"

#include "app/avvio.h"
#include "app/cambiapassword.h"
#include "app/password.h"
#include "common/screens.h"
#include "lists/menuriepilogo.h"
#include "pricelist/apricatalogo.h"
#include "pricelist/creacatalogo.h"
#include "pricelist/listinoprezzi.h"
#include "warehouse/magazzino.h"

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
    s.magazzino = new TfrmMagazzino;
    s.menuRiepilogo = new TfrmMenuRiepilogo;
}

void destroyScreens()
{
    ScreenRegistry &s = screens();
    delete s.menuRiepilogo;
    delete s.magazzino;
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
