#include "pricelist/importamagazzino.h"

#include "common/fieldtext.h"
#include "common/picturefile.h"
#include "common/screens.h"
#include "common/storedtext.h"
#include "pricelist/listinoprezzi.h"
#include "pricelist/slotlistino.h"
#include "store/store.h"

#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

TfrmImportaMagazzino::TfrmImportaMagazzino(QWidget *parent)
    : RicercaMagazzino(parent, u"TfrmImportaMagazzino"_s, u" Importa prodotti da magazzino"_s)
{
}

QString TfrmImportaMagazzino::tagProdotto(int slot)
{
    return u"prodotto_"_s + TPaginaListino::letter(slot);
}

void TfrmImportaMagazzino::consegna(const Elenchi::Scheda &scheda)
{
    TfrmListinoPrezzi *page = screens().listinoPrezzi;
    int slot = -1;
    for (int k = 0; k < TPaginaListino::SlotCount; ++k) {
        if (lblMemory->text() == tagProdotto(k))
            slot = k;
    }
    if (!page || slot < 0)
        return;

    // The texts as stored, the price included: it is not reformatted here.
    SlotListino *voce = page->voce(slot);
    const TSchedaProdotto &card = scheda.scheda;
    FieldText::fill(voce->txtNome, StoredText::trimBlanks(card.Nome));
    FieldText::fill(voce->txtUM, StoredText::trimBlanks(card.UM));
    FieldText::fill(voce->txtCaratteristiche, StoredText::trimBlanks(card.Caratteristiche));
    FieldText::fill(voce->txtCodice, StoredText::trimBlanks(card.Codice));
    FieldText::fill(voce->txtPrezzo, StoredText::trimBlanks(card.Prezzo));
    page->lblRecord->setText(QString::number(scheda.posizione));
    const std::unique_ptr<Store::Cards> archive = Store::current().cards();
    std::optional<QByteArray> bytes;
    if (archive->open()) {
        bytes = archive->photo(scheda.posizione);
        archive->close();
    }
    const QImage photo = bytes ? PictureFile::fromBytes(*bytes) : QImage();
    voce->setPicture(photo.isNull() ? page->placeholder() : photo);
}
