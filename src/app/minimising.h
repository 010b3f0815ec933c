#pragma once

class QObject;

// While a modal window is open, the program's windows are minimised and restored as one.
// Minimising the screen that waits for a dialog, or the dialog itself, takes every window of
// the program off the screen, so none is left showing and blocked by a dialog that is no
// longer in sight; restoring any one of them brings them all back, the topmost dialog in
// front with the keyboard focus. With no modal window open, each window minimises alone.
// Window managers that already iconify a dialog with its parent see no difference.
namespace Minimising {

// Watches the state changes of every window of the application.
void install(QObject *application);

} // namespace Minimising
