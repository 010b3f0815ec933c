#pragma once

class QObject;

// Fixed dialogs and the login screen carry a title bar and nothing else: no close,
// minimise or maximise button, so a modal window can neither be closed past its own
// buttons nor minimised away from the screen that waits for it.
namespace TitleBar {

// Watches every window of the application as it is shown: a window whose flags ask for a
// customised title bar with no button hint gets a title bar without any button from the
// X11 window manager too. Qt tells the window manager only which buttons to draw, and some
// window managers (openbox among them) draw every button unless told which functions the
// window allows. Does nothing on other platforms.
void install(QObject *application);

} // namespace TitleBar
