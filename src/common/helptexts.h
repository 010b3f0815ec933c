#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The help pages of the program: one topic per screen that has a guide button. The help
// window shows them and the build turns the same texts into the user guide Guida.pdf.
namespace HelpTexts {

enum class Topic {
    Avvio,        // the start hub
    Magazzino,    // the warehouse card screen
    Listino,      // the price-list page screen
    Cataloghi,    // creating and opening price lists
    Inventario,   // the inventory menu and the inventory list
    Esportazione, // the spreadsheet export
    Copie,        // the backup copies
};

// Every topic, in the order the user guide presents the screens.
QList<Topic> topics();

// The topic's title line, as the help window shows it.
QString title(Topic topic);
// The name of the screen (or screens) the topic is about, as the user guide heads it.
QString screenName(Topic topic);
// The topic's paragraphs, in order; none is empty or holds a line break.
QStringList paragraphs(Topic topic);
// The paragraphs joined by one empty line (CR LF CR LF), nothing before or after.
QString text(Topic topic);

// The start hub's topic repeats the pages of the other screens; these are the hub's own
// paragraphs, before and after the repeated ones, for a guide that shows each page once.
QStringList hubOpening();
QStringList hubClosing();
// The hub's keys paragraph, which its topic lists after the repeated pages.
QString hubKeys();

} // namespace HelpTexts
