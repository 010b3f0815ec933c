// Renders the program's icon from its artwork into a square PNG of the given size, for the
// desktop's icon theme: iconpng <picture.svg> <size> <output.png>.

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool sized = false;
    const int size = args.size() == 4 ? args.at(2).toInt(&sized) : 0;
    if (!sized || size <= 0) {
        std::fputs("usage: iconpng <picture.svg> <size> <output.png>\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "iconpng: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();

    QSaveFile file(args.at(3));
    QImageWriter writer(&file, "png");
    if (!file.open(QIODevice::WriteOnly) || !writer.write(image) || !file.commit()) {
        std::fprintf(stderr, "iconpng: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
