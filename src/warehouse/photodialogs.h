#pragma once

#include <QImage>
#include <QString>

#include <optional>

class QWidget;

// The open-picture and save-picture dialogs that the card screen and the webcam dialog
// share, with what follows the user's choice.
namespace PhotoDialogs {

QString openTitle();
QString openFilter();
QString saveTitle();
QString saveProposed();
QString saveFilter();
QString saveFailed();

// Asks for a picture file and reads it. Nothing when the user cancels, and nothing after a
// warning when the chosen file is not a readable picture: the caller's picture then stays,
// so that the next save cannot replace a real photo with the placeholder.
std::optional<QImage> choosePicture(QWidget *parent);

// Asks for a file name and writes the picture there in the format of its suffix (JPEG
// when it has none). A failed write shows saveFailed(); the caller's picture stays.
void savePicture(QWidget *parent, const QImage &picture);

} // namespace PhotoDialogs
