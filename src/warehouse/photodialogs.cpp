#include "warehouse/photodialogs.h"

#include "common/dialogs.h"
#include "common/picturefile.h"

using namespace Qt::StringLiterals;

namespace PhotoDialogs {

QString openTitle() { return u"Selezionare un file di immagine in formato Jpeg o Bitmap."_s; }

QString openFilter()
{
    // Qt separates the patterns of one filter by blanks; a semicolon would become part of
    // the pattern and hide every .jpg file.
    return u"Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)"_s;
}

QString saveTitle()
{
    return u"Selezionare la cartella in cui si desidera salvare il file Jpeg."_s;
}

QString saveProposed() { return u"Foto.jpg"_s; }

QString saveFilter() { return u"File Jpeg (*.jpg)"_s; }

QString saveFailed()
{
    return u"Attenzione: non è stato possibile salvare la foto nel file indicato."_s;
}

std::optional<QImage> choosePicture(QWidget *parent)
{
    const QString chosen = Dialogs::seam().openFileName(parent, openTitle(), QString(),
                                                        openFilter());
    if (chosen.isEmpty())
        return std::nullopt;
    QImage picture = PictureFile::read(chosen);
    if (picture.isNull()) {
        Dialogs::warning(parent, PictureFile::unreadableMessage());
        return std::nullopt;
    }
    return picture;
}

void savePicture(QWidget *parent, const QImage &picture)
{
    // The file dialog itself asks before an existing file is replaced.
    const QString chosen = Dialogs::seam().saveFileName(parent, saveTitle(), saveProposed(),
                                                        saveFilter());
    if (chosen.isEmpty())
        return;
    if (!PictureFile::write(chosen, picture))
        Dialogs::error(parent, saveFailed());
}

} // namespace PhotoDialogs
