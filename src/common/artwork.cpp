#include "common/artwork.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace Artwork {

QImage image(const QString &name, QSize size)
{
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/art/%1.svg").arg(name));
    if (renderer.isValid()) {
        QPainter painter(&out);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return out;
}

QPixmap pixmap(const QString &name, QSize size)
{
    // Many screens share the same pictures; render each name and size once.
    static QHash<QString, QPixmap> cache;
    const QString key = name + u'@' + QString::number(size.width()) + u'x' +
                        QString::number(size.height());
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    QPixmap pm = QPixmap::fromImage(image(name, size));
    cache.insert(key, pm);
    return pm;
}

QIcon programIcon()
{
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(pixmap(QStringLiteral("programma"), QSize(side, side)));
    return icon;
}

} // namespace Artwork
