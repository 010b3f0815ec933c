#pragma once

// Creates the long-lived screens, hidden, in their fixed order and records them in the
// screen registry.
void createScreens();

// Destroys the long-lived screens and empties the registry.
void destroyScreens();

// Creates the screens and shows the login screen, the main window. The program folder is
// chosen before (ProgramFolder::settle).
void startProgram();
