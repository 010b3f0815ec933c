#pragma once

class QWidget;
class TfrmPassword;
class TfrmCambiaPassword;
class TfrmAvvio;
class TfrmMagazzino;
class TfrmMenuRiepilogo;
class TfrmCreaCatalogo;
class TfrmApriCatalogo;
class TfrmListinoPrezzi;

// The long-lived screens, one instance each, created at start-up and kept until the
// program ends. Dialogs reach the screen they serve through here.
struct ScreenRegistry {
    TfrmPassword *password = nullptr;
    TfrmCambiaPassword *cambiaPassword = nullptr;
    TfrmAvvio *avvio = nullptr;
    TfrmMagazzino *magazzino = nullptr;
    TfrmMenuRiepilogo *menuRiepilogo = nullptr;
    TfrmCreaCatalogo *creaCatalogo = nullptr;
    TfrmApriCatalogo *apriCatalogo = nullptr;
    TfrmListinoPrezzi *listinoPrezzi = nullptr;
    // The hub as a plain window, for screens that only need to return to it.
    QWidget *hub = nullptr;
};

ScreenRegistry &screens();

// Leaves a work screen for the hub: shows the hub, then hides the work screen.
void returnToHub(QWidget *leaving);
