#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// The program's own pictures, embedded as SVG and rendered at the size a control needs.
namespace Artwork {

// Renders ":/art/<name>.svg" at the given size; a transparent picture when it is missing.
QPixmap pixmap(const QString &name, QSize size);
QImage image(const QString &name, QSize size);

// The program's icon, drawn at every size a desktop asks for (16 to 256 pixels), so a
// taskbar or a switcher never scales a small picture up.
QIcon programIcon();

} // namespace Artwork
