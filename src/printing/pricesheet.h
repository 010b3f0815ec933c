#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <array>
#include <memory>

class TReport;

// One product slot of a price-list page as the page screen shows it.
struct PriceSlotData {
    QImage picture;
    QString nome, um, caratteristiche, codice, prezzo;
};

// A price-list page as the page screen shows it: the list name, the page number and the
// eight products A to H.
struct PriceSheetData {
    QString listName;
    QString pageNumber;
    std::array<PriceSlotData, 8> products;
};

namespace PriceSheet {

// The price-list sheet filled from the page: every text trimmed, the price after the euro
// sign and two blanks, the page number alone.
std::unique_ptr<TReport> build(const PriceSheetData &page);

} // namespace PriceSheet

// The print thumbnails of a price-list page, kept in Foto_Listino as
// <list name>_Anteprima_A.jpg ... _H.jpg and overwritten at each preview or print.
namespace PriceThumbnails {

constexpr QSize kSize(366, 274);

// The thumbnail file of a slot (0 = A ... 7 = H) of a list.
QString filePath(const QString &listName, int slot);

// Stretches each slot's picture to 366 x 274 and saves it, slot A first. The first
// failure (a picture that cannot be saved, a folder that cannot be made) quietly ends the
// run; the result is the number of thumbnails written.
int write(const QString &listName, const std::array<QImage, 8> &pictures);

// Loads the first count thumbnails back, slot A first, up to the first that cannot be
// loaded. Only the thumbnails that the last write stored are asked for: a file left by an
// earlier preview is never taken for the slot's picture.
QList<QImage> read(const QString &listName, int count = 8);

} // namespace PriceThumbnails
