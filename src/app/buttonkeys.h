#pragma once

class QObject;

// Enter, on the main keyboard or the keypad, presses the push button (or focusable picture)
// that has the keyboard focus, as Space does, on every screen. Without it a button that is not a
// dialog's default ignores Enter, and the dialog would press its default button instead (a list
// screen ran its find with Chiudi focused). Window shortcuts on Enter yield to the focused
// button the same way.
namespace ButtonKeys {
void install(QObject *application);
}
