#pragma once

#include <QString>

class QLabel;
class QWidget;
class PictureButton;

// The top of the screens that create and open price lists: the title banner, the help
// picture with the price-list topic, and three lines of instructions.
struct CatalogHeader {
    QLabel *imgIntestazione;
    PictureButton *imgGuida;
    QLabel *icoIstruzioni;

    CatalogHeader(QWidget *panel, const QString &banner, const QString &title,
                  const QString &instructions);
};
