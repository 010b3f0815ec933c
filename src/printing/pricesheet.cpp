#include "printing/pricesheet.h"

#include "common/picturefile.h"
#include "common/programfolder.h"
#include "common/storedtext.h"
#include "printing/designs.h"
#include "printing/report.h"
#include "store/store.h"

#include <QDir>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

void fill(TReport &report, const QString &memo, const QString &text)
{
    report.findMemo(memo)->setText(StoredText::trimBlanks(text));
}

} // namespace

namespace PriceSheet {

std::unique_ptr<TReport> build(const PriceSheetData &page)
{
    auto report = ReportDesigns::repDocumento();
    report->Pages(1)->Orientation = poPortrait;
    for (int slot = 0; slot < 8; ++slot) {
        const PriceSlotData &data = page.products.at(static_cast<std::size_t>(slot));
        const QString letter = u"_"_s + ReportDesigns::slotLetter(slot);
        report->findPicture(u"imgFoto"_s + letter)->setPicture(data.picture);
        fill(*report, u"txtNome"_s, page.listName);
        fill(*report, u"txtNome"_s + letter, data.nome);
        fill(*report, u"txtUM"_s + letter, data.um);
        fill(*report, u"txtCaratteristiche"_s + letter, data.caratteristiche);
        fill(*report, u"txtCodice"_s + letter, data.codice);
        // The price follows the euro sign and two blanks, which the trim leaves alone.
        report->findMemo(u"txtPrezzo"_s + letter)
            ->setText(u"€  "_s + StoredText::trimBlanks(data.prezzo));
    }
    fill(*report, u"txtPagina"_s, page.pageNumber);
    return report;
}

} // namespace PriceSheet

namespace PriceThumbnails {

QString filePath(const QString &listName, int slot)
{
    return ProgramFolder::file(u"Foto_Listino/"_s + StoredText::trimBlanks(listName) +
                               u"_Anteprima_"_s + ReportDesigns::slotLetter(slot) + u".jpg"_s);
}

int write(const QString &listName, const std::array<QImage, 8> &pictures)
{
    Store::PriceLists &lists = Store::current().priceLists();
    for (int slot = 0; slot < 8; ++slot) {
        const QImage &picture = pictures.at(static_cast<std::size_t>(slot));
        if (picture.isNull())
            return slot;
        const QImage thumbnail = picture.convertToFormat(QImage::Format_RGB32)
                                     .scaled(kSize, Qt::IgnoreAspectRatio,
                                             Qt::SmoothTransformation);
        if (!lists.storeThumbnail(listName, slot, PictureFile::encode(thumbnail)))
            return slot;
    }
    return 8;
}

QList<QImage> read(const QString &listName, int count)
{
    QList<QImage> thumbnails;
    Store::PriceLists &lists = Store::current().priceLists();
    for (int slot = 0; slot < std::min(count, 8); ++slot) {
        const std::optional<QByteArray> bytes = lists.thumbnail(listName, slot);
        const QImage thumbnail = bytes ? PictureFile::fromBytesStretched(*bytes, kSize) : QImage();
        if (thumbnail.isNull())
            break;
        thumbnails.append(thumbnail);
    }
    return thumbnails;
}

} // namespace PriceThumbnails
