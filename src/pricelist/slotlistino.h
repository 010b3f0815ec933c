#pragma once

#include "pricelist/paginalistino.h"

#include <QFrame>

class QLineEdit;
class PhotoFrame;
class PictureButton;

// One product slot of the price-list page screen: a light grey frame holding the photo
// frame, the five edit fields and the import arrow, all named with the slot's letter
// (txtNome_A, imgFoto_A, impProdotto_A, ...).
class SlotListino final : public QFrame
{
    Q_OBJECT
public:
    static constexpr QSize FrameSize{468, 120};
    static constexpr QSize PictureSize{136, 104};

    SlotListino(QWidget *parent, int slot);

    int slot() const { return m_slot; }
    QChar letter() const { return TPaginaListino::letter(m_slot); }

    // Empties the four text fields, sets the price to "0,00" and shows the given picture.
    void clear(const QImage &placeholder);
    // Puts a stored slot into the fields; the price is shown as stored.
    void showVoce(const TVoceListino &voce);
    // The fields as they would be stored.
    TVoceListino voce() const;

    const QImage &picture() const;
    void setPicture(const QImage &picture);

    // Name, appearance, features, code, price: the order of Enter, Tab and the checks.
    QList<QLineEdit *> fieldsInOrder() const;

    PhotoFrame *imgFoto;
    QLineEdit *txtNome;
    PictureButton *impProdotto;
    QLineEdit *txtUM;
    QLineEdit *txtCaratteristiche;
    QLineEdit *txtCodice;
    QLineEdit *txtPrezzo;

private:
    QLineEdit *addField(const QString &name, const QString &accessibleName, int maxLength,
                        QRect box);
    void txtPrezzoExit();

    int m_slot;
};
