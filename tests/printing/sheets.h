#pragma once

#include <QString>

class TReport;

// Helpers shared by the printing tests.
namespace Sheets {

// The text of a PDF file as pdftotext reads it, in reading layout.
QString pdfText(const QString &path);
// Number of pages of a PDF file.
int pdfPages(const QString &path);
// Paints every prepared page of a report into a PDF file; false when it cannot.
bool toPdf(const TReport &report, const QString &path);

} // namespace Sheets

namespace Sheets {
// Number of pictures drawn into a PDF file.
int pdfPictures(const QString &path);
} // namespace Sheets
