#pragma once

// Creates the long-lived screens, hidden, in their fixed order and records them in the
// screen registry.
void createScreens();

// Creates the screens and shows the login screen, the main window.
void startProgram();
