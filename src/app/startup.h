#pragma once

// Creates the long-lived screens, hidden, in their fixed order and records them in the
// screen registry.
void createScreens();

// Destroys the long-lived screens and empties the registry.
void destroyScreens();

// Chooses the program folder, creates the screens and shows the login screen, the main
// window.
void startProgram();
