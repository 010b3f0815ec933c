// The lists and the export over an archive that holds every awkward case at once: fields
// filled to capacity, length bytes above capacity, blanks and control bytes around and
// inside texts, every byte of the code page, the characters the export must escape, codes
// that differ only in letter case or beyond the fitted widths. Their lines, totals, the
// card a line leads back to and the export's bytes are compared with reference files in
// tests/data/lists/same; SCAFFARIA_UPDATE_GOLDEN=1 writes them anew.

#include "common/numbertext.h"
#include "common/programfolder.h"
#include "lists/elenchi.h"
#include "lists/expgrid.h"
#include "lists/rigaelenco.h"
#include "lists/xlsexport.h"
#include "support/testmain.h"
#include "warehouse/archivio.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <random>

using namespace Qt::StringLiterals;

namespace {

using S = TSchedaProdotto;

// Sets a field's raw bytes, with a length byte of its own (which may exceed the capacity).
void setRaw(QByteArray &record, S::Index index, const QByteArray &bytes, int lengthByte = -1)
{
    const S::Field &f = S::fields()[static_cast<std::size_t>(index)];
    const int n = std::min<int>(static_cast<int>(bytes.size()), f.capacity);
    record[f.offset] = static_cast<char>(lengthByte >= 0 ? lengthByte : n);
    for (int i = 0; i < f.capacity; ++i)
        record[f.offset + 1 + i] = i < n ? bytes.at(i) : char(0);
}

QByteArray cp1252(const QString &text)
{
    QByteArray out;
    for (QChar c : text) {
        const ushort u = c.unicode();
        if (u == 0x20AC)
            out.append('\x80');
        else
            out.append(static_cast<char>(u));
    }
    return out;
}

// Text to the capacity of a field, repeating a pattern.
QByteArray filled(const QByteArray &pattern, int capacity)
{
    QByteArray out;
    while (out.size() < capacity)
        out.append(pattern);
    return out.left(capacity);
}

QList<QByteArray> archive()
{
    QList<QByteArray> cards;
    auto blank = [] {
        QByteArray r(S::Size, '\0');
        setRaw(r, S::iGiacenza, "1");
        setRaw(r, S::iAvviso, "0");
        setRaw(r, S::iCosto, "1,00");
        setRaw(r, S::iPagato, cp1252(S::paidNo()));
        return r;
    };
    // Every field at capacity, with accented text, the euro sign and the characters the
    // export writes as entities.
    {
        QByteArray r = blank();
        const QByteArray pattern = cp1252(u"Àèé €ìòù&<>\"'= ÈÙ"_s);
        for (const S::Field &f : S::fields())
            setRaw(r, static_cast<S::Index>(&f - S::fields().data()), filled(pattern, f.capacity));
        setRaw(r, S::iGiacenza, "9999");
        setRaw(r, S::iAvviso, "999");
        setRaw(r, S::iCosto, "123456789,01");
        setRaw(r, S::iPagato, cp1252(S::paidNo()));
        cards.append(r);
    }
    // Length bytes above capacity, blanks and control bytes around and inside texts.
    {
        QByteArray r = blank();
        for (const S::Field &f : S::fields())
            setRaw(r, static_cast<S::Index>(&f - S::fields().data()),
                   filled(" \t\x01Zz\x1f a\x7f\x81\x8d\x8f\x90\x9d\xa0\xff ", f.capacity), 255);
        setRaw(r, S::iGiacenza, " -12", 200);
        setRaw(r, S::iAvviso, "\t3 ");
        setRaw(r, S::iCosto, "  0,5  ");
        setRaw(r, S::iPagato, " No ");
        cards.append(r);
    }
    // A formula, entities, a note beginning with "=", codes differing in case only and
    // beyond the fitted widths, equal lines, an empty code and empty fields.
    const QList<QList<QByteArray>> fixed = {
        {"=SOMMA(A1:A3)", "Vite & bullone <M4>", "Ferramenta", "5", "5", "2,5", "No"},
        {"art-001", "Vite", "ferramenta", "3", "2", "2,50", "No"},
        {"ART-001", "Vite", "FERRAMENTA", "2", "2", "1,25", "No"},
        {"CODICE-LUNGO-22-CARATTERI-A", "Nome", "Idraulica", "0", "0", "0,10", "No"},
        {"CODICE-LUNGO-22-CARATTERI-B", "Nome", "Idraulica", "0", "0", "0,10", "No"},
        {"CODICE-LUNGO-22-CARATTERI-B", "Nome", "Idraulica", "0", "0", "0,10", "No"},
        {"", "", "", "0", "0", "0", "No"},
        {"\xc8lettrico", "\xe8lettrico", "Elettricit\xe0", "-2", "0", "12,345", "S\xec"},
        {"ZETA", "zeta", "ferro", "7", "1", "7,1234", "S\xec"},
    };
    for (const QList<QByteArray> &f : fixed) {
        QByteArray r = blank();
        setRaw(r, S::iCodice, f[0]);
        setRaw(r, S::iNome, f[1]);
        setRaw(r, S::iTipologia, f[2]);
        setRaw(r, S::iGiacenza, f[3]);
        setRaw(r, S::iAvviso, f[4]);
        setRaw(r, S::iCosto, f[5]);
        setRaw(r, S::iPagato, f[6]);
        setRaw(r, S::iNote, "<b>nota</b> & =1+1");
        setRaw(r, S::iDitta, "Rossi & Figli");
        cards.append(r);
    }
    // Many more from a fixed seed: any byte in the texts, numbers that read as numbers.
    std::mt19937 rng(20260611u);
    const QByteArray letters = "abcdeABCDE vV\xe0\xe8\xc8\x80&<>=\x01\x7f\x81\xff";
    for (int n = 0; n < 60; ++n) {
        QByteArray r = blank();
        for (const S::Field &f : S::fields()) {
            const auto index = static_cast<S::Index>(&f - S::fields().data());
            QByteArray text;
            const int length = static_cast<int>(rng() % static_cast<unsigned>(f.capacity + 1));
            for (int i = 0; i < length; ++i)
                text.append(letters.at(static_cast<int>(rng() % letters.size())));
            setRaw(r, index, text);
        }
        setRaw(r, S::iGiacenza, QByteArray::number(int(rng() % 300) - 50));
        setRaw(r, S::iAvviso, QByteArray::number(int(rng() % 30)));
        setRaw(r, S::iCosto,
               QByteArray::number(int(rng() % 1000)) + ',' + QByteArray::number(int(rng() % 100)));
        setRaw(r, S::iPagato, rng() % 2 ? cp1252(S::paidNo()) : cp1252(S::paidYes()));
        if (n % 7 == 0)
            setRaw(r, S::iTipologia, "Ferramenta varia");
        cards.append(r);
    }
    return cards;
}

// One line of text per list line, control characters and backslashes written as \xHH, so
// that the reference reads as text and every character stands on its own.
QByteArray escaped(const QString &line)
{
    QString out;
    for (QChar c : line) {
        if (c.unicode() < 0x20 || c == u'\\' || c.unicode() == 0x7f)
            out += u"\\x%1"_s.arg(c.unicode(), 2, 16, QChar(u'0'));
        else
            out += c;
    }
    return out.toUtf8();
}

// The lines in the order the list box shows them.
QByteArray listing(CompactLines &lines)
{
    lines.sort();
    QByteArray out;
    for (qsizetype i = 0; i < lines.size(); ++i)
        out += escaped(lines.at(i)) + '\n';
    return out;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void compareWithReference(const QString &name, const QByteArray &actual)
{
    const QString path =
        QDir(QStringLiteral(SCAFFARIA_TEST_DATA)).filePath(u"lists/same/"_s + name);
    if (qEnvironmentVariableIsSet("SCAFFARIA_UPDATE_GOLDEN")) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(actual);
        return;
    }
    const QByteArray expected = readFile(path);
    QVERIFY2(!expected.isEmpty(), qPrintable(u"missing reference "_s + path));
    if (actual != expected) {
        qsizetype at = 0;
        while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
            ++at;
        QFAIL(qPrintable(u"%1 differs from its reference at byte %2 (sizes %3 and %4)"_s.arg(name)
                             .arg(at)
                             .arg(actual.size())
                             .arg(expected.size())));
    }
}

} // namespace

class SameOutput final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { delete m_folder; }
    void lists_data();
    void lists();
    void inventory_data();
    void inventory();
    void lineBackToCard();
    void exportBytes();

private:
    TempProgramFolder *m_folder = nullptr;
};

void SameOutput::initTestCase()
{
    m_folder = new TempProgramFolder;
    QFile f(ProgramFolder::file(ArchivioMagazzino::fileName()));
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (const QByteArray &r : archive())
        QCOMPARE(f.write(r), qint64(S::Size));
}

using Criteri = QList<std::pair<TSchedaProdotto::Index, QString>>;
Q_DECLARE_METATYPE(Criteri)

void SameOutput::lists_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<Criteri>("criteria");
    QTest::newRow("search, no criteria") << u"tutte.txt"_s << Criteri{};
    QTest::newRow("search, one field") << u"codice.txt"_s << Criteri{{S::iCodice, u"a"_s}};
    QTest::newRow("search, several fields")
        << u"campi.txt"_s << Criteri{{S::iNome, u"e"_s}, {S::iNote, u"&"_s}, {S::iDitta, u"v"_s}};
    QTest::newRow("search, accented") << u"accenti.txt"_s << Criteri{{S::iNome, u"è"_s}};
    QTest::newRow("low stock") << u"sottoscorta.txt"_s << Criteri{};
    QTest::newRow("unpaid") << u"dasaldare.txt"_s << Criteri{};
}

void SameOutput::lists()
{
    QFETCH(QString, list);
    QFETCH(Criteri, criteria);
    Elenchi::Righe found = list == u"sottoscorta.txt"_s ? Elenchi::sottoscorta()
                           : list == u"dasaldare.txt"_s
                               ? Elenchi::daSaldare()
                               : Elenchi::ricerca(Elenchi::criteriInUso(criteria));
    QCOMPARE(found.esito, Elenchi::Esito::Completo);
    compareWithReference(list, listing(found.righe));
}

void SameOutput::inventory_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("name");
    QTest::newRow("whole") << QString() << u"inventario.txt"_s;
    QTest::newRow("category") << u"FERR"_s << u"inventario_ferr.txt"_s;
}

void SameOutput::inventory()
{
    QFETCH(QString, filter);
    QFETCH(QString, name);
    Elenchi::Inventario found = Elenchi::inventario(filter);
    QCOMPARE(found.esito, Elenchi::Esito::Completo);
    compareWithReference(name, listing(found.righe) + "TOTALE " +
                                   NumberText::totalText(found.totale).toUtf8() + '\n');
}

void SameOutput::lineBackToCard()
{
    // Every line of every format, sorted, with the position of the card it leads back to.
    QByteArray out;
    Elenchi::Righe all = Elenchi::ricerca({});
    Elenchi::Righe unpaid = Elenchi::daSaldare();
    const std::pair<CompactLines *, FormatoRiga> lists[] = {
        {&all.righe, FormatoRiga::Standard},
        {&unpaid.righe, FormatoRiga::DaSaldare},
    };
    for (const auto &[lines, format] : lists) {
        lines->sort();
        for (const QString &line : lines->toList()) {
            const std::optional<Elenchi::Scheda> card = Elenchi::schedaDaRiga(line, format);
            out += QByteArray::number(card ? card->posizione : 0) + ' ' +
                   (card ? escaped(card->scheda.Codice) : QByteArray()) + '\n';
        }
    }
    compareWithReference(u"schede.txt"_s, out);
}

void SameOutput::exportBytes()
{
    ExportGridModel grid;
    grid.load();
    QCOMPARE(grid.rowCount(), int(archive().size()));
    const QString path = ProgramFolder::file(XlsExport::fileName());
    QVERIFY(XlsExport::write(path, grid));
    compareWithReference(u"Magazzino.xls"_s, readFile(path));
}

SCAFFARIA_TEST(SameOutput)
#include "tst_sameoutput.moc"
