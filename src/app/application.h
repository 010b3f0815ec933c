#pragma once

#include <QApplication>

// The application object. A failure that no handler caught ends that handler; the user
// sees its text in a plain message box and the program goes on with the screen as it was.
class Application final : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Loads Qt's Italian translation, so standard buttons read "Sì", "No", "Annulla".
    bool loadItalianTranslation();
    // The program-wide formatting: decimal comma, dates as dd/mm/yyyy, no grouping.
    static void applyFormatting();
};
