#pragma once

#include <QList>
#include <QRectF>
#include <QString>

// Reads back what a printed PDF file holds, for tests that check a sheet as it came out.
namespace Pdf {

// A point, the unit of PDF pages, in millimetres.
constexpr double kMmPerPoint = 25.4 / 72.0;

struct Word {
    int page = 0; // from 0
    QString text;
    QRectF box; // in points from the page's top-left corner, as pdftotext -bbox gives it
};

// Every word of the file, page by page in reading order; empty when it cannot be read.
QList<Word> words(const QString &path);

// The sizes in points at which the pages draw text, each once, ascending, to the thousandth
// of a point: the size set for the font times the scale of the text matrix and of the
// page's transformations.
QList<double> fontSizes(const QString &path);

} // namespace Pdf
