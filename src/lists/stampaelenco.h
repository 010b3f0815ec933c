#pragma once

#include <QStringList>

#include <memory>

class QWidget;
class TReport;

// Prints a list screen's lines on the landscape list report, exactly as they stand in the
// list box, straight through the print dialog (there is no preview).
namespace StampaElenco {

// The list report filled with the title and the lines, its pages prepared.
std::unique_ptr<TReport> prepara(const QString &titolo, const QStringList &righe);
// Prepares the report and prints it after the print dialog; cancelling prints nothing.
void stampa(QWidget *parent, const QString &titolo, const QStringList &righe);

} // namespace StampaElenco
