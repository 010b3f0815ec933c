#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// The program's own pictures, embedded as SVG and rendered at the size a control needs.
namespace Artwork {

// Renders ":/art/<name>.svg" at the given size; a transparent picture when it is missing.
QPixmap pixmap(const QString &name, QSize size);
QImage image(const QString &name, QSize size);

} // namespace Artwork
