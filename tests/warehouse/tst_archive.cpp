#include "common/programfolder.h"
#include "support/testmain.h"
#include "warehouse/archivio.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Offsets and capacities of the card record, written out independently of the code.
struct Layout {
    int offset;
    int capacity;
};
constexpr Layout kLayout[24] = {{0, 25},     {26, 12},    {39, 50},    {90, 4},     {95, 3},
                                {99, 120},   {220, 50},   {271, 250},  {522, 50},   {573, 50},
                                {624, 50},   {675, 30},   {706, 50},   {757, 50},   {808, 10},
                                {819, 250},  {1070, 12},  {1083, 2},   {1086, 250}, {1337, 250},
                                {1588, 250}, {1839, 250}, {2090, 250}, {2341, 250}};

TSchedaProdotto sampleCard(const QString &code)
{
    TSchedaProdotto c;
    c.Codice = code;
    c.Costo = u"12,50"_s;
    c.Nome = u"Caffè macinato"_s;
    c.Giacenza = u"15"_s;
    c.Avviso = u"3"_s;
    c.UM = u"Busta da 250 g"_s;
    c.Tipologia = u"Alimentari"_s;
    c.Caratteristiche = u"Miscela arabica"_s;
    c.Collocazione = u"Scaffale B"_s;
    c.Ditta = u"Torrefazione Rossi"_s;
    c.Agente = u"Bianchi"_s;
    c.Recapito = u"0123 456789"_s;
    c.Documento = u"Fattura 12"_s;
    c.Pagamento = u"30 giorni"_s;
    c.DataSca = u"05/03/2025"_s;
    c.Note = u"Prezzo € 3"_s;
    c.Prezzo = u"18,00"_s;
    c.Pagato = u"Sì"_s;
    c.File01 = u"a.pdf"_s;
    c.Desc03 = u"Scheda tecnica"_s;
    return c;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class CardArchive final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void recordBytes();
    void recordReadsDamagedLengths();
    void missingArchiveIsCreatedEmpty();
    void countIgnoresTrailingFragment();
    void appendWriteAndReadBack();
    void readAllCrossesBlocks();
    void openFailsWhenFolderIsMissing();
    void photos();
};

void CardArchive::recordBytes()
{
    const TSchedaProdotto card = sampleCard(u"  ABC-001 "_s);
    const QByteArray bytes = card.encode();
    QCOMPARE(bytes.size(), 2592);

    // Build the expected record by hand from the layout table.
    QByteArray expected(2592, '\0');
    auto put = [&](int field, const QByteArray &text) {
        expected[kLayout[field].offset] = static_cast<char>(text.size());
        expected.replace(kLayout[field].offset + 1, text.size(), text);
    };
    put(0, "ABC-001");
    put(1, "12,50");
    put(2, "Caff\xE8 macinato");
    put(3, "15");
    put(4, "3");
    put(5, "Busta da 250 g");
    put(6, "Alimentari");
    put(7, "Miscela arabica");
    put(8, "Scaffale B");
    put(9, "Torrefazione Rossi");
    put(10, "Bianchi");
    put(11, "0123 456789");
    put(12, "Fattura 12");
    put(13, "30 giorni");
    put(14, "05/03/2025");
    put(15, "Prezzo \x80 3");
    put(16, "18,00");
    put(17, "S\xEC");
    put(18, "a.pdf");
    put(23, "Scheda tecnica");
    QCOMPARE(bytes.toHex(), expected.toHex());
    QCOMPARE(bytes.mid(1083, 3), QByteArray("\x02\x53\xEC", 3));

    TSchedaProdotto back = TSchedaProdotto::decode(bytes.constData());
    QCOMPARE(back.Codice, u"ABC-001"_s);
    back.Codice = card.Codice;
    QCOMPARE(back.encode(), bytes);
}

void CardArchive::recordReadsDamagedLengths()
{
    // Every length byte at 255: each field reads exactly its capacity, never its neighbour.
    QByteArray raw(2592, 'x');
    for (const Layout &l : kLayout)
        raw[l.offset] = '\xFF';
    const TSchedaProdotto card = TSchedaProdotto::decode(raw.constData());
    for (const auto &f : TSchedaProdotto::fields())
        QCOMPARE((card.*f.member).size(), f.capacity);
    QCOMPARE(card.Pagato, u"xx"_s);
}

void CardArchive::missingArchiveIsCreatedEmpty()
{
    TempProgramFolder folder;
    ArchivioMagazzino archive;
    QVERIFY(archive.open());
    QCOMPARE(archive.count(), 0);
    archive.close();
    QVERIFY(QFile::exists(folder.file(u"Magazzino.pro"_s)));
}

void CardArchive::countIgnoresTrailingFragment()
{
    TempProgramFolder folder;
    const QByteArray two = sampleCard(u"A"_s).encode() + sampleCard(u"B"_s).encode();
    writeFile(folder.file(u"Magazzino.pro"_s), two + QByteArray(100, 'z'));
    ArchivioMagazzino archive;
    QVERIFY(archive.open());
    QCOMPARE(archive.count(), 2);
    QCOMPARE(archive.readAt(2)->Codice, u"B"_s);
    QVERIFY(!archive.readAt(3));
    archive.close();
    // Opening and reading never shortens the file.
    QCOMPARE(QFileInfo(folder.file(u"Magazzino.pro"_s)).size(), two.size() + 100);
}

void CardArchive::appendWriteAndReadBack()
{
    TempProgramFolder folder;
    ArchivioMagazzino archive;
    QVERIFY(archive.open());
    QCOMPARE(archive.append(sampleCard(u"A"_s)), std::optional<qint64>(1));
    QCOMPARE(archive.append(sampleCard(u"B"_s)), std::optional<qint64>(2));
    QCOMPARE(archive.append(sampleCard(u"C"_s)), std::optional<qint64>(3));
    QVERIFY(archive.writeAt(2, sampleCard(u"B2"_s)));
    QVERIFY(!archive.writeAt(4, sampleCard(u"D"_s)));
    archive.close();

    QFile f(folder.file(u"Magazzino.pro"_s));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray all = f.readAll();
    QCOMPARE(all.size(), 3 * 2592);
    QCOMPARE(all.mid(0, 2592), sampleCard(u"A"_s).encode());
    QCOMPARE(all.mid(2592, 2592), sampleCard(u"B2"_s).encode());
    QCOMPARE(all.mid(2 * 2592, 2592), sampleCard(u"C"_s).encode());
}

void CardArchive::readAllCrossesBlocks()
{
    TempProgramFolder folder;
    // More cards than one 4 MiB block holds.
    const int cards = 3500;
    QByteArray bytes;
    bytes.reserve(cards * 2592);
    for (int i = 1; i <= cards; ++i)
        bytes += sampleCard(QString::number(i)).encode();
    writeFile(folder.file(u"Magazzino.pro"_s), bytes);

    ArchivioMagazzino archive;
    QVERIFY(archive.open());
    qint64 seen = 0;
    bool inOrder = true;
    QVERIFY(archive.readAll([&](qint64 position, const char *record) {
        ++seen;
        inOrder = inOrder && position == seen &&
                  TSchedaProdotto::field(record, TSchedaProdotto::iCodice) ==
                      QString::number(position);
        return true;
    }));
    QCOMPARE(seen, cards);
    QVERIFY(inOrder);

    seen = 0;
    QVERIFY(archive.readAll([&](qint64, const char *) { return ++seen < 10; }));
    QCOMPARE(seen, 10);
}

void CardArchive::openFailsWhenFolderIsMissing()
{
    TempProgramFolder folder;
    ProgramFolder::setForTests(folder.file(u"missing/deeper"_s));
    ArchivioMagazzino archive;
    QVERIFY(!archive.open());
    QVERIFY(!archive.append(sampleCard(u"A"_s)));
}

void CardArchive::photos()
{
    TempProgramFolder folder;
    QCOMPARE(ArchivioMagazzino::photoPath(7), folder.file(u"7.jpg"_s));
    QVERIFY(!ArchivioMagazzino::loadPhoto(7));

    QImage photo(120, 80, QImage::Format_RGB32);
    photo.fill(Qt::red);
    QVERIFY(ArchivioMagazzino::storePhoto(7, photo));
    const std::optional<QImage> back = ArchivioMagazzino::loadPhoto(7);
    QVERIFY(back);
    QCOMPARE(back->size(), QSize(120, 80));
    QVERIFY(qRed(back->pixel(60, 40)) > 240);

    writeFile(folder.file(u"8.jpg"_s), "not a picture");
    QVERIFY(!ArchivioMagazzino::loadPhoto(8));
}

SCAFFARIA_TEST(CardArchive)
#include "tst_archive.moc"
