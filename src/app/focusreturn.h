#pragma once

class QObject;

// Gives the keyboard focus back to the program when one of its dialogs, message boxes,
// file dialogs or previews closes. The window manager picks the window that becomes active
// once the closed one is gone; when it picks none, or one that is not ours while the
// closed window had the focus, the keyboard is left with nowhere to go: typed keys and
// command keys do nothing and a screen reader hears nothing until the user clicks. The
// window now on top (the dialog under the closed one, or the screen) is then activated,
// and its focus widget gets the focus again, highlight included.
namespace FocusReturn {
void install(QObject *application);
}
