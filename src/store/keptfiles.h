#pragma once

#include <QString>
#include <QStringList>

// The files the program keeps in its folder, whichever part of it asks: the backup copies
// hold exactly these, and a transfer into the shared store takes exactly these.
namespace Store {

// Whether a path relative to the program folder ('/' between folder and file) names a
// file the program keeps: Magazzino.pro, unins000.dll, a card photo "N.jpg", a price list
// "*.lis", or a file directly inside Foto_Listino or Documenti_Allegati (never one a
// restore stopped half way left under its temporary name).
bool isKeptPath(const QString &relative);
// The files the program keeps in a folder, as relative paths, sorted.
QStringList keptFiles(const QString &dataFolder);

// The password store's file name: each workstation keeps its own.
QString passwordStoreName();

} // namespace Store
