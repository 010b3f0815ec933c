#include "pricelist/archiviolistino.h"
#include "pricelist/elencolistini.h"
#include "pricelist/fotolistino.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

TPaginaListino page(int n)
{
    TPaginaListino p;
    for (int k = 0; k < TPaginaListino::SlotCount; ++k) {
        TVoceListino &v = p.Voci[static_cast<std::size_t>(k)];
        const QString tag = QString::number(n) + TPaginaListino::letter(k);
        v.Codice = u"C"_s + tag;
        v.Nome = u"Nome "_s + tag;
        v.UM = u"Scatola "_s + tag;
        v.Caratteristiche = u"Gusto "_s + tag;
        v.Prezzo = QString::number(n) + u",50"_s;
    }
    return p;
}

QByteArray field(const QByteArray &record, int offset, int length)
{
    return record.mid(offset, length);
}

} // namespace

class ListFile final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pageBytes();
    void lengthByteAboveCapacity();
    void openCountReadWriteAppend();
    void trailingFragmentIsNotAPage();
    void photoNamesAndFolder();
    void storedPhotosAreNormalised();
    void listFilesMatchAndOrder();
    void createNeverTouchesAnExistingFile();
};

void ListFile::pageBytes()
{
    TPaginaListino p = page(1);
    p.Voci[0].Prezzo = u"  12,50 "_s;
    p.Voci[2] = TVoceListino::empty();
    p.Voci[3].Nome = u"Caffè ☕"_s; // a character Windows-1252 cannot hold
    p.Voci[7].Prezzo = u"99,90"_s;
    p.Voci[7].Caratteristiche = QString(300, u'x');
    const QByteArray bytes = p.encode();
    QCOMPARE(bytes.size(), 3696);

    // Slot A's price at 449, trimmed; slot H's price at 3683, ending the record.
    QCOMPARE(field(bytes, 449, 6), QByteArray("\x05"
                                              "12,50"));
    QCOMPARE(field(bytes, 3683, 6), QByteArray("\x05"
                                               "99,90"));
    // Slot B's code at 462, its name at 462 + 26.
    QCOMPARE(field(bytes, 462, 4), QByteArray("\x03"
                                              "C1B"));
    QCOMPARE(field(bytes, 488, 8), QByteArray("\x07"
                                              "Nome 1B"));
    // An empty slot: four empty texts and the price 0,00.
    for (int offset : {924, 924 + 26, 924 + 77, 924 + 198})
        QCOMPARE(bytes.at(offset), '\0');
    QCOMPARE(field(bytes, 924 + 449, 5), QByteArray("\x04"
                                                    "0,00"));
    // Windows-1252 bytes, "?" for what the code page lacks.
    QCOMPARE(field(bytes, 1386 + 26, 8), QByteArray("\x07"
                                                    "Caff\xE8 ?"));
    // Features cut to their capacity of 250.
    QCOMPARE(static_cast<unsigned char>(bytes.at(3234 + 198)), 250u);

    TPaginaListino back = TPaginaListino::decode(bytes.constData());
    QCOMPARE(back.Voci[0].Prezzo, u"12,50"_s);
    QCOMPARE(back.Voci[2], TVoceListino::empty());
    QCOMPARE(back.Voci[5], p.Voci[5]);
    QCOMPARE(back.Voci[7].Caratteristiche, QString(250, u'x'));
}

void ListFile::lengthByteAboveCapacity()
{
    QByteArray bytes = page(1).encode();
    // Slot B's price claims 200 bytes but holds at most 12; the next slot is never read into it.
    const int price = 462 + 449;
    bytes[price] = char(200);
    bytes.replace(price + 1, 12, "123456789012");
    const TPaginaListino back = TPaginaListino::decode(bytes.constData());
    QCOMPARE(back.Voci[1].Prezzo, u"123456789012"_s);
    QCOMPARE(back.Voci[2].Codice, u"C1C"_s);
}

void ListFile::openCountReadWriteAppend()
{
    TempProgramFolder folder;
    const QString path = folder.file(u"Dolci.lis"_s);
    ArchivioListino file(path);
    QVERIFY(file.open());
    QVERIFY(QFile::exists(path));
    QCOMPARE(file.count(), 0);
    QCOMPARE(file.append(page(1)), std::optional<qint64>(1));
    QCOMPARE(file.append(page(2)), std::optional<qint64>(2));
    QCOMPARE(file.append(page(3)), std::optional<qint64>(3));
    QVERIFY(file.writeAt(2, page(7)));
    QVERIFY(!file.writeAt(4, page(8)));
    QVERIFY(!file.readAt(0));
    QVERIFY(!file.readAt(4));
    file.close();

    // Reopening keeps the pages: open never truncates.
    ArchivioListino again(path);
    QVERIFY(again.open());
    QCOMPARE(again.count(), 3);
    QCOMPARE(again.readAt(1), std::optional<TPaginaListino>(page(1)));
    QCOMPARE(again.readAt(2), std::optional<TPaginaListino>(page(7)));
    QCOMPARE(again.readAt(3), std::optional<TPaginaListino>(page(3)));
    again.close();
    QCOMPARE(QFileInfo(path).size(), 3 * 3696);
}

void ListFile::trailingFragmentIsNotAPage()
{
    TempProgramFolder folder;
    const QString path = folder.file(u"Dolci.lis"_s);
    QFile raw(path);
    QVERIFY(raw.open(QIODevice::WriteOnly));
    raw.write(page(1).encode());
    raw.write(QByteArray(1000, 'z'));
    raw.close();

    ArchivioListino file(path);
    QVERIFY(file.open());
    QCOMPARE(file.count(), 1);
    QVERIFY(!file.readAt(2));
    // A new page goes after the last whole one, over the fragment.
    QCOMPARE(file.append(page(2)), std::optional<qint64>(2));
    QCOMPARE(file.readAt(2), std::optional<TPaginaListino>(page(2)));
}

void ListFile::photoNamesAndFolder()
{
    TempProgramFolder folder;
    const QString photos = folder.file(u"Foto_Listino"_s);
    QVERIFY(!QFileInfo::exists(photos));
    QCOMPARE(FotoListino::pagePhotoPath(u" Dolci "_s, 2, 12),
             QDir(photos).filePath(u"Dolci_Foto_C_12.jpg"_s));
    QVERIFY(QFileInfo(photos).isDir());
    QCOMPARE(FotoListino::thumbnailPath(u"Dolci"_s, 7),
             QDir(photos).filePath(u"Dolci_Anteprima_H.jpg"_s));
}

void ListFile::storedPhotosAreNormalised()
{
    TempProgramFolder folder;
    QImage wide(1200, 300, QImage::Format_RGB32);
    wide.fill(Qt::red);
    const QString path = FotoListino::pagePhotoPath(u"Dolci"_s, 0, 1);
    QVERIFY(FotoListino::store(wide, path));
    QCOMPARE(QImageReader(path).format(), QByteArray("jpeg"));
    const std::optional<QImage> back = FotoListino::load(path);
    QVERIFY(back);
    // Stretched, not fitted: the whole frame is the picture, no borders.
    QCOMPARE(back->size(), QSize(366, 274));
    for (QPoint at : {QPoint(1, 1), QPoint(364, 272), QPoint(183, 137)})
        QVERIFY(qAbs(qRed(back->pixel(at)) - 255) < 8 && qGreen(back->pixel(at)) < 8);

    QVERIFY(!FotoListino::load(folder.file(u"missing.jpg"_s)));
    QFile junk(folder.file(u"junk.jpg"_s));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    QVERIFY(!FotoListino::load(junk.fileName()));
    // A file that cannot be written leaves nothing behind.
    QVERIFY(!FotoListino::store(wide, folder.file(u"no/such/folder/x.jpg"_s)));
}

void ListFile::listFilesMatchAndOrder()
{
    TempProgramFolder folder;
    for (const QString &name : {u"bevande.lis"_s, u"Acqua.LIS"_s, u"dolci.lis"_s, u"Zeta.lis"_s,
                                u"Èlite.lis"_s, u"note.txt"_s, u"Magazzino.pro"_s, u"lis"_s}) {
        QFile f(folder.file(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(folder.path()).mkpath(u"Cartella.lis"_s));
    QVERIFY(QDir(folder.path()).mkpath(u"sotto"_s));
    QFile inner(folder.file(u"sotto/Interno.lis"_s));
    QVERIFY(inner.open(QIODevice::WriteOnly));
    inner.close();

    // Only A to Z fold; an accented capital sorts after every plain letter.
    QCOMPARE(ElencoListini::files(folder.path()),
             QStringList({u"Acqua.LIS"_s, u"bevande.lis"_s, u"dolci.lis"_s, u"Zeta.lis"_s,
                          u"Èlite.lis"_s}));
    QCOMPARE(ElencoListini::nameOf(u"Acqua.LIS"_s), u"Acqua"_s);
}

void ListFile::createNeverTouchesAnExistingFile()
{
    TempProgramFolder folder;
    const QString path = folder.file(u"Dolci.lis"_s);
    QString error;
    QCOMPARE(ElencoListini::create(path, &error), ElencoListini::Creation::Created);
    QCOMPARE(QFileInfo(path).size(), 0);

    QFile f(path);
    QVERIFY(f.open(QIODevice::Append));
    f.write(page(1).encode());
    f.close();
    QCOMPARE(ElencoListini::create(path, &error), ElencoListini::Creation::Exists);
    QCOMPARE(QFileInfo(path).size(), 3696);

    QCOMPARE(ElencoListini::create(folder.file(u"nessuna/Dolci.lis"_s), &error),
             ElencoListini::Creation::Failed);
    QVERIFY(!error.isEmpty());
    QVERIFY(ElencoListini::remove(path));
    QVERIFY(!QFile::exists(path));
}

SCAFFARIA_TEST(ListFile)
#include "tst_listfile.moc"
