#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class ExportGridModel;

// The spreadsheet export Magazzino.xls: an HTML table in the form spreadsheet programs open
// as a worksheet, single-byte Windows-1252 text with no line breaks.
namespace XlsExport {

QString fileName();

// The whole file for these rows, each the seventeen card columns of the export grid.
// Cell texts are trimmed of blanks; "&", "<" and ">" are written as entities so that the
// spreadsheet shows each cell exactly as the grid does.
QByteArray document(const QList<QStringList> &rows);

// Replaces the file at path with the document of the grid's rows as they stand, written in
// pieces of a few MiB as they are made; a failure leaves any previous file whole and no part
// of the new one. `progress`, when given, hears now and then how many rows are written of
// how many. False on failure.
bool write(const QString &path, const ExportGridModel &grid,
           const std::function<void(qint64 done, qint64 total)> &progress = {});

} // namespace XlsExport
