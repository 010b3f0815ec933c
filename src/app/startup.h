#pragma once

// Hands the screens the openers of the dialogs of higher layers that they show (the card
// screen's search, lists, export and card sheet). Safe to repeat; createScreens does it.
void installOpeners();

// Creates the long-lived screens, hidden, in their fixed order and records them in the
// screen registry.
void createScreens();

// Destroys the long-lived screens and empties the registry.
void destroyScreens();

class QWidget;

// Sets the store the program uses from the choice kept in Archivio_condiviso.ini: the shared
// archive it names, or the program folder without the file. A damaged file counts as
// absent, and the user is told so once. Called after the program folder is settled and
// before any screen reads the data.
void chooseStore(QWidget *parent);

// Creates the screens and shows the login screen, the main window. The program folder is
// chosen before (ProgramFolder::settle).
void startProgram();
