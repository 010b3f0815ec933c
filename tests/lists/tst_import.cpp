#include "cards.h"
#include "common/photoframe.h"
#include "common/picturebutton.h"
#include "common/screens.h"
#include "lists/listarighe.h"
#include "pricelist/importamagazzino.h"
#include "pricelist/listinoprezzi.h"
#include "pricelist/slotlistino.h"
#include "support/recorder.h"
#include "support/testmain.h"
#include "warehouse/archivio.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

// A warehouse card imported into one slot of the price-list page through the import
// arrow: the five texts and the photo reach that slot only, and nothing is saved.
class ImportIntoSlot final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void importFillsOnlyItsSlot_data();
    void importFillsOnlyItsSlot();

private:
    TempProgramFolder *m_folder = nullptr;
    QWidget *m_hub = nullptr;
    TfrmListinoPrezzi *m_page = nullptr;
};

void ImportIntoSlot::init()
{
    m_folder = new TempProgramFolder;
    m_hub = new QWidget;
    screens().hub = m_hub;
    QFile list(m_folder->file(u"Dolci.lis"_s));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.close();
    m_page = new TfrmListinoPrezzi;
    screens().listinoPrezzi = m_page;
    m_page->lblFile->setText(list.fileName());
    m_page->lblNome->setText(u"Dolci"_s);
    m_page->show();
}

void ImportIntoSlot::cleanup()
{
    screens().listinoPrezzi = nullptr;
    screens().hub = nullptr;
    delete m_page;
    delete m_hub;
    delete m_folder;
}

void ImportIntoSlot::importFillsOnlyItsSlot_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("withPhoto");

    QTest::newRow("slot C, with photo") << 2 << true;
    QTest::newRow("slot D, no photo file") << 3 << false;
}

void ImportIntoSlot::importFillsOnlyItsSlot()
{
    QFETCH(int, slot);
    QFETCH(bool, withPhoto);

    TSchedaProdotto cake = Cards::make(u"TRT-01"_s, u"Torta"_s);
    cake.UM = u"Vassoio"_s;
    cake.Caratteristiche = u"Cioccolato"_s;
    cake.Prezzo = u"12,5"_s; // stored as typed: arrives unchanged
    Cards::write({Cards::make(u"ALTRO"_s, u"Altro"_s), cake});
    QImage photo(40, 30, QImage::Format_RGB32);
    photo.fill(Qt::red);
    if (withPhoto)
        QVERIFY(ArchivioMagazzino::storePhoto(2, photo));

    // The neighbouring slot holds a product of its own, which must stay.
    SlotListino *neighbour = m_page->voce(slot + 1);
    neighbour->txtNome->setText(u"Biscotti"_s);
    SlotListino *target = m_page->voce(slot);
    target->txtNome->setText(u"Da sostituire"_s);

    Recorder rec;
    QString caption, tag;
    onNextModal([&](QWidget *modal) {
        auto *import = qobject_cast<TfrmImportaMagazzino *>(modal);
        QVERIFY(import);
        caption = import->windowTitle();
        tag = import->lblMemory->text();
        import->txtNome->setText(u"tor"_s);
        QTest::mouseClick(import->btnCerca, Qt::LeftButton);
        import->lstRecords->seleziona(0);
        const QPoint at =
            import->lstRecords->visualRect(import->lstRecords->model()->index(0, 0)).center();
        QTest::mouseDClick(import->lstRecords->viewport(), Qt::LeftButton, {}, at);
    });
    QTest::mouseClick(target->impProdotto, Qt::LeftButton);

    QCOMPARE(caption, u" Importa prodotti da magazzino"_s);
    QCOMPARE(tag, u"prodotto_"_s + QChar(u'A' + slot));
    QCOMPARE(target->txtNome->text(), u"Torta"_s);
    QCOMPARE(target->txtUM->text(), u"Vassoio"_s);
    QCOMPARE(target->txtCaratteristiche->text(), u"Cioccolato"_s);
    QCOMPARE(target->txtCodice->text(), u"TRT-01"_s);
    QCOMPARE(target->txtPrezzo->text(), u"12,5"_s);
    QCOMPARE(m_page->lblRecord->text(), u"2"_s);
    if (withPhoto) {
        // The card's own photo, as it is (JPEG keeps the red within a few steps).
        QCOMPARE(target->picture().size(), photo.size());
        const QColor centre = target->picture().pixelColor(20, 15);
        QVERIFY(centre.red() > 230 && centre.green() < 30 && centre.blue() < 30);
    } else
        QCOMPARE(target->picture(), m_page->placeholder());

    QCOMPARE(neighbour->txtNome->text(), u"Biscotti"_s);
    for (int k = 0; k < TPaginaListino::SlotCount; ++k) {
        if (k != slot && k != slot + 1)
            QVERIFY(m_page->voce(k)->txtNome->text().isEmpty());
    }
    // Nothing is saved: the list file stays empty.
    QCOMPARE(QFile(m_page->lblFile->text()).size(), 0);
    QVERIFY(rec.take().isEmpty());
}

SCAFFARIA_TEST(ImportIntoSlot)
#include "tst_import.moc"
