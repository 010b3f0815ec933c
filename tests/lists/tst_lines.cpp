#include "cards.h"
#include "common/numbertext.h"
#include "lists/elenchi.h"
#include "lists/expgrid.h"
#include "lists/rigaelenco.h"
#include "store/folderstore.h"
#include "support/testmain.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Criteri = QList<std::pair<TSchedaProdotto::Index, QString>>;
Q_DECLARE_METATYPE(FormatoRiga)
Q_DECLARE_METATYPE(TSchedaProdotto)
Q_DECLARE_METATYPE(Criteri)

namespace {

QString blanks(int n) { return QString(n, u' '); }

// The code column of standard lines, to tell which cards a list holds.
QStringList codes(const QList<QString> &lines)
{
    QStringList out;
    for (const QString &line : lines)
        out.append(line.mid(5, 22).trimmed());
    return out;
}

// The value column of inventory lines.
QStringList values(const QList<QString> &lines)
{
    QStringList out;
    for (const QString &line : lines)
        out.append(line.mid(144));
    return out;
}

TSchedaProdotto card(const QString &code, const QString &name, const QString &category,
                     const QString &cost, const QString &note = {})
{
    TSchedaProdotto c = Cards::make(code, name, u"1"_s, cost);
    c.Tipologia = category;
    c.Note = note;
    return c;
}

// The folder's cards, noting what each list asks for. `hidden` cards at the end are left
// out of the count, as cards another copy of the program appends between the count and the
// reading would be.
class AskingCards final : public Store::Cards
{
public:
    AskingCards(std::unique_ptr<Store::Cards> inner, QList<Store::Selection> &asked, qint64 hidden)
        : m_inner(std::move(inner)), m_asked(asked), m_hidden(hidden)
    {
    }
    bool open() override { return m_inner->open(); }
    bool close() override { return m_inner->close(); }
    qint64 count() override { return m_inner->count() - m_hidden; }
    std::optional<Store::Read<TSchedaProdotto>> readAt(qint64 position) override
    {
        return m_inner->readAt(position);
    }
    Store::Written writeAt(qint64 position, const TSchedaProdotto &card,
                           std::optional<qint64> shownVersion, qint64 *newVersion) override
    {
        return m_inner->writeAt(position, card, shownVersion, newVersion);
    }
    std::optional<qint64> append(const TSchedaProdotto &card, qint64 *newVersion) override
    {
        return m_inner->append(card, newVersion);
    }
    bool readAll(const Store::Visit &visit, const Store::Progress &progress) override
    {
        return m_inner->readAll(visit, progress);
    }
    bool readAllBackward(const Store::Visit &visit, const Store::Progress &progress) override
    {
        return m_inner->readAllBackward(visit, progress);
    }
    bool readSelected(const Store::Selection &selection, const Store::Visit &visit,
                      const Store::Progress &progress) override
    {
        m_asked.append(selection);
        return m_inner->readAll(visit, progress);
    }
    std::optional<QByteArray> photo(qint64 position) override { return m_inner->photo(position); }
    bool storePhoto(qint64 position, const QByteArray &jpeg) override
    {
        return m_inner->storePhoto(position, jpeg);
    }

private:
    std::unique_ptr<Store::Cards> m_inner;
    QList<Store::Selection> &m_asked;
    qint64 m_hidden;
};

class AskingBackend final : public Store::Backend
{
public:
    explicit AskingBackend(qint64 hidden = 0) : m_hidden(hidden) {}
    bool shared() const override { return false; }
    QString description() const override { return m_folder.description(); }
    QString failureText() const override { return {}; }
    std::unique_ptr<Store::Cards> cards() override
    {
        return std::make_unique<AskingCards>(m_folder.cards(), asked, m_hidden);
    }
    Store::PriceLists &priceLists() override { return m_folder.priceLists(); }
    Store::Documents &documents() override { return m_folder.documents(); }

    QList<Store::Selection> asked;

private:
    Store::FolderBackend m_folder;
    qint64 m_hidden;
};

} // namespace

// The three line formats, the list order, and the questions the list screens ask of the
// archive, without any window.
class ListLines final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_folder = new TempProgramFolder; }
    void cleanup()
    {
        Store::setCurrent(nullptr);
        delete m_folder;
    }

    void formats_data();
    void formats();
    void listOrder();
    void search_data();
    void search();
    void lowStockAndUnpaid();
    void inventoryTotal_data();
    void inventoryTotal();
    void inventoryFilterAndStop();
    void lineBackToCard();
    void listsSayWhichCardsTheyNeed_data();
    void listsSayWhichCardsTheyNeed();
    void exportGridKeepsTheCountedCards();

private:
    TempProgramFolder *m_folder = nullptr;
};

void ListLines::formats_data()
{
    QTest::addColumn<TSchedaProdotto>("card");
    QTest::addColumn<FormatoRiga>("format");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    // A 25-character code and a 50-character name are cut to their columns.
    TSchedaProdotto full;
    full.Codice = u"ABCDEFGHIJKLMNOPQRSTUVWXY"_s;
    full.Nome = u"Vite autofilettante testa svasata zincata M4x40 mm"_s;
    full.Tipologia = u"Ferramenta"_s;
    full.Giacenza = u"12"_s;
    full.Pagato = u"Sì"_s;
    full.DataSca = u"31/12/2024"_s;
    full.Costo = u"1234,50"_s;
    full.Ditta = u"Bulloneria Rossi S.r.l."_s;
    QCOMPARE(full.Nome.size(), 50);

    QTest::newRow("standard, long code and name")
        << full << FormatoRiga::Standard << QString()
        << u"Cod. ABCDEFGHIJKLMNOPQRSTUV  Vite autofilettante testa svasata   Cat. Ferramenta"_s +
               blanks(12) + u"  Giac. 12    Pagato: Sì  Scad. 31/12/2024  Costo: € 1234,50"_s;
    QTest::newRow("unpaid, long code and name")
        << full << FormatoRiga::DaSaldare << QString()
        << u"Cod. ABCDEFGHIJKLMNOPQRST  Vite autofilettante testa svas  Ferramenta"_s + blanks(10) +
               u"  Giac. 12    Bulloneria Rossi S.r.l.   Scad. 31/12/2024  Costo: € 1234,50"_s;
    QTest::newRow("inventory, value not fitted")
        << full << FormatoRiga::Inventario << u"14814"_s
        << u"ABCDEFGHIJKLMNOPQRSTUVWXY  Vite autofilettante testa svasata zincata   Scad. "
           u"31/12/2024  Costo: € 1234,50       Giacenza: 12          Valore: € 14814"_s;

    // Empty fields give columns of blanks; an empty cost ends the line after the label.
    TSchedaProdotto bare;
    bare.Codice = u"  x  "_s;
    QTest::newRow("standard, empty cost")
        << bare << FormatoRiga::Standard << QString()
        << u"Cod. x"_s + blanks(21) + u"  "_s + blanks(34) + u"  Cat. "_s + blanks(22) +
               u"  Giac. "_s + blanks(4) + u"  Pagato: "_s + blanks(2) + u"  Scad. "_s +
               blanks(10) + u"  Costo: € "_s;
    QTest::newRow("unpaid, empty cost")
        << bare << FormatoRiga::DaSaldare << QString()
        << u"Cod. x"_s + blanks(19) + u"  "_s + blanks(30) + u"  "_s + blanks(20) + u"  Giac. "_s +
               blanks(4) + u"  "_s + blanks(24) + u"  Scad. "_s + blanks(10) + u"  Costo: € "_s;
}

void ListLines::formats()
{
    QFETCH(TSchedaProdotto, card);
    QFETCH(FormatoRiga, format);
    QFETCH(QString, value);
    QFETCH(QString, expected);

    const QString line = RigaElenco(card, format, value);
    QCOMPARE(line, expected);
    if (format == FormatoRiga::Standard)
        QCOMPARE(line.indexOf(u"€ "_s) + 2, 145); // the cost starts at position 146
    QCOMPARE(AdattaColonna(u" ab "_s, 4), u"ab  "_s);
    QCOMPARE(AdattaColonna(u"abcdef"_s, 4), u"abcd"_s);
}

void ListLines::listOrder()
{
    // Only A-Z fold: "É" sorts by its code after every ASCII letter, "_" between the
    // capitals and the small letters; equal lines both stay.
    // Long lines that agree, folded, in their first 16 characters are told apart further on.
    QList<QString> lines = {u"Cod. b"_s,
                            u"Cod. É"_s,
                            u"Cod. AB"_s,
                            u"Cod. a_"_s,
                            u"Cod. ab"_s,
                            u"Cod. b"_s,
                            u"Cod. Ab"_s,
                            u"Cod. VITEMAXIxyz  z"_s,
                            u"Cod. vitemaxiXYZ  A"_s};
    ordinaRighe(lines);
    QCOMPARE(lines, (QList<QString>{u"Cod. a_"_s, u"Cod. AB"_s, u"Cod. ab"_s, u"Cod. Ab"_s,
                                    u"Cod. b"_s, u"Cod. b"_s, u"Cod. vitemaxiXYZ  A"_s,
                                    u"Cod. VITEMAXIxyz  z"_s, u"Cod. É"_s}));
}

void ListLines::search_data()
{
    QTest::addColumn<Criteri>("criteria");
    QTest::addColumn<QStringList>("expected");

    using S = TSchedaProdotto;
    QTest::newRow("blank-only criterion is not in use")
        << Criteri{{S::iNome, u"   "_s}} << QStringList{u"xa1"_s, u"A1B"_s, u"b2"_s, u"Vite-2"_s};
    QTest::newRow("code folds A-Z")
        << Criteri{{S::iCodice, u"a1"_s}} << QStringList{u"xa1"_s, u"A1B"_s};
    QTest::newRow("criteria combine with AND")
        << Criteri{{S::iCodice, u"a1"_s}, {S::iNome, u"vite"_s}} << QStringList{u"A1B"_s};
    QTest::newRow("each criterion looks at its own field")
        << Criteri{{S::iTipologia, u"ferro"_s}} << QStringList{u"b2"_s};
    QTest::newRow("trailing blank is part of the criterion")
        << Criteri{{S::iNome, u"vite "_s}} << QStringList{u"A1B"_s};
    QTest::newRow("accented capital is another letter")
        << Criteri{{S::iNote, u"è"_s}} << QStringList{u"b2"_s};
    QTest::newRow("cost searched as text")
        << Criteri{{S::iCosto, u"12,5"_s}} << QStringList{u"xa1"_s, u"A1B"_s};
    QTest::newRow("character no card can hold")
        << Criteri{{S::iNome, u"Vite ✓"_s}} << QStringList{};
}

void ListLines::search()
{
    QFETCH(Criteri, criteria);
    QFETCH(QStringList, expected);

    Cards::write({card(u"xa1"_s, u"Bullone M6"_s, u"Ferramenta"_s, u"12,50"_s),
                  card(u"A1B"_s, u"Vite M4"_s, u"Ferramenta"_s, u"112,55"_s),
                  card(u"b2"_s, u"Viteria"_s, u"Ferro battuto"_s, u"3,00"_s, u"è vero"_s),
                  card(u"Vite-2"_s, u"Dado"_s, u"Ferramenta"_s, u"1,00"_s, u"È ferro"_s)});
    const Elenchi::Righe found = Elenchi::ricerca(Elenchi::criteriInUso(criteria));
    QCOMPARE(found.esito, Elenchi::Esito::Completo);
    QCOMPARE(codes(found.righe.toList()), expected);
}

void ListLines::lowStockAndUnpaid()
{
    auto stock = [](const QString &code, const QString &stock, const QString &threshold,
                    const QString &paid) {
        TSchedaProdotto c = Cards::make(code, u"Articolo"_s, stock);
        c.Avviso = threshold;
        c.Pagato = paid;
        return c;
    };
    Cards::write({stock(u"equal"_s, u"5"_s, u"5"_s, u"No"_s),
                  stock(u"above"_s, u"6"_s, u"5"_s, u"Sì"_s),
                  stock(u"negative"_s, u"-2"_s, u"0"_s, u""_s),
                  stock(u"defaults"_s, u"0"_s, u"0"_s, u"no"_s),
                  stock(u"broken"_s, u"tre"_s, u"0"_s, u"No"_s),
                  stock(u"after"_s, u"0"_s, u"1"_s, u"No"_s)});

    // A stock that is not a number ends the filling there, keeping the lines before it.
    const Elenchi::Righe low = Elenchi::sottoscorta();
    QCOMPARE(low.esito, Elenchi::Esito::Interrotto);
    QCOMPARE(codes(low.righe.toList()), (QStringList{u"equal"_s, u"negative"_s, u"defaults"_s}));
    QCOMPARE(low.interruzione.posizione, 5);
    QCOMPARE(low.interruzione.codice, u"broken"_s);
    QCOMPARE(Elenchi::elencoIncompleto(low.interruzione),
             u"Attenzione: la scheda 5 (codice broken) contiene un valore non numerico: "
             u"l'elenco è incompleto."_s);

    // Only a flag of exactly "No" is unpaid; the stock plays no part.
    const Elenchi::Righe unpaid = Elenchi::daSaldare();
    QCOMPARE(unpaid.esito, Elenchi::Esito::Completo);
    QCOMPARE(codes(unpaid.righe.toList()), (QStringList{u"equal"_s, u"broken"_s, u"after"_s}));
}

void ListLines::inventoryTotal_data()
{
    QTest::addColumn<QStringList>("stockAndCost");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("total");

    QTest::newRow("empty archive") << QStringList{} << QStringList{} << u"€ 0,00"_s;
    QTest::newRow("two cards") << QStringList{u"3"_s, u"2,50"_s, u"2"_s, u"1,25"_s}
                               << QStringList{u"7,5"_s, u"2,5"_s} << u"€ 10,00"_s;
    QTest::newRow("three tenths") << QStringList{u"1"_s,    u"0,10"_s, u"1"_s,
                                                 u"0,10"_s, u"1"_s,    u"0,10"_s}
                                  << QStringList{u"0,1"_s, u"0,1"_s, u"0,1"_s} << u"€ 0,30"_s;
    QTest::newRow("negative stock lowers the total")
        << QStringList{u"3"_s, u"2,50"_s, u"-2"_s, u"1,00"_s, u"0"_s, u"9,99"_s}
        << QStringList{u"7,5"_s, u"-2"_s, u"0"_s} << u"€ 5,50"_s;
    QTest::newRow("three decimals")
        << QStringList{u"1"_s, u"12,345"_s} << QStringList{u"12,345"_s} << u"€ 12,345"_s;
    QTest::newRow("four decimals, rounded")
        << QStringList{u"1"_s, u"7,12347"_s} << QStringList{u"7,12347"_s} << u"€ 7,1235"_s;
    QTest::newRow("three cards with cents")
        << QStringList{u"2"_s, u"4,20"_s, u"10"_s, u"10,50"_s, u"20"_s, u"2,60"_s}
        << QStringList{u"8,4"_s, u"105"_s, u"52"_s} << u"€ 165,40"_s;
    QTest::newRow("negative total rounds away from zero")
        << QStringList{u"-1"_s, u"7,12347"_s} << QStringList{u"-7,12347"_s} << u"€ -7,1235"_s;
}

void ListLines::inventoryTotal()
{
    QFETCH(QStringList, stockAndCost);
    QFETCH(QStringList, values);
    QFETCH(QString, total);

    QList<TSchedaProdotto> cards;
    for (qsizetype i = 0; i < stockAndCost.size(); i += 2)
        cards.append(
            Cards::make(u"C%1"_s.arg(i), u"Articolo"_s, stockAndCost[i], stockAndCost[i + 1]));
    Cards::write(cards);

    const Elenchi::Inventario inventory = Elenchi::inventario({});
    QCOMPARE(inventory.esito, Elenchi::Esito::Completo);
    QCOMPARE(::values(inventory.righe.toList()), values);
    QCOMPARE(NumberText::totalText(inventory.totale), total);
}

void ListLines::inventoryFilterAndStop()
{
    Cards::write({card(u"a"_s, u"Uno"_s, u"ferramenta"_s, u"1,00"_s),
                  card(u"b"_s, u"Due"_s, u"FERRO"_s, u"2,00"_s),
                  card(u"c"_s, u"Tre"_s, u"Èlite"_s, u"3,00"_s),
                  card(u"d"_s, u"Quattro"_s, u""_s, u"4,00"_s),
                  card(u"e"_s, u"Cinque"_s, u"èlite"_s, u"5,00"_s)});
    auto inventoryCodes = [](const QString &filter) {
        QStringList out;
        for (const QString &line : Elenchi::inventario(filter).righe.toList())
            out.append(line.left(25).trimmed());
        return out;
    };
    QCOMPARE(inventoryCodes(u"Ferr"_s), (QStringList{u"a"_s, u"b"_s}));
    QCOMPARE(inventoryCodes(u"  "_s), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s}));
    QCOMPARE(inventoryCodes(u"è"_s), QStringList{u"e"_s});
    QCOMPARE(inventoryCodes(u"ferro "_s), QStringList{});

    // A listed card whose cost is not a number stops the valuation there.
    TSchedaProdotto broken = card(u"x"_s, u"Rotto"_s, u"Ferro"_s, u"n/d"_s);
    Cards::write({card(u"a"_s, u"Uno"_s, u"Ferro"_s, u"1,50"_s), broken,
                  card(u"b"_s, u"Due"_s, u"Ferro"_s, u"2,00"_s)});
    const Elenchi::Inventario stopped = Elenchi::inventario({});
    QCOMPARE(stopped.esito, Elenchi::Esito::Interrotto);
    QCOMPARE(stopped.righe.size(), 1);
    QCOMPARE(stopped.totale, 1.5);
    QCOMPARE(stopped.interruzione.posizione, 2);
    QCOMPARE(stopped.interruzione.codice, u"x"_s);
    // ...but only when the card is listed.
    QCOMPARE(Elenchi::inventario(u"Ferramenta"_s).esito, Elenchi::Esito::Completo);
}

void ListLines::lineBackToCard()
{
    // The first two differ only past the 22 characters the standard line keeps of a code;
    // the last two only in letter case.
    TSchedaProdotto first = Cards::make(u"ABCDEFGHIJKLMNOPQRSTUV001"_s, u"Vite"_s);
    first.Note = u"prima"_s;
    TSchedaProdotto second = first;
    second.Codice = u"ABCDEFGHIJKLMNOPQRSTUV002"_s;
    second.Note = u"seconda"_s;
    TSchedaProdotto lower = Cards::make(u"dado"_s, u"Dado"_s);
    TSchedaProdotto upper = Cards::make(u"DADO"_s, u"Dado"_s);
    // Enough cards after them that the archive is read in more than one block.
    QList<TSchedaProdotto> cards = {first, second, lower, upper};
    for (int i = 0; i < 2000; ++i)
        cards.append(Cards::make(u"Z%1"_s.arg(i), u"Riempitivo"_s));
    Cards::write(cards);

    const QString shared = RigaElenco(first, FormatoRiga::Standard);
    QCOMPARE(RigaElenco(second, FormatoRiga::Standard), shared);
    std::optional<Elenchi::Scheda> found = Elenchi::schedaDaRiga(shared, FormatoRiga::Standard);
    QVERIFY(found);
    QCOMPARE(found->posizione, 2);
    QCOMPARE(found->scheda.Note, u"seconda"_s);

    found = Elenchi::schedaDaRiga(u"  "_s + RigaElenco(lower, FormatoRiga::Standard),
                                  FormatoRiga::Standard);
    QVERIFY(found);
    QCOMPARE(found->posizione, 3);
    found = Elenchi::schedaDaRiga(RigaElenco(upper, FormatoRiga::Standard), FormatoRiga::Standard);
    QVERIFY(found);
    QCOMPARE(found->posizione, 4);

    // The unpaid format does not match a standard line.
    QVERIFY(!Elenchi::schedaDaRiga(shared, FormatoRiga::DaSaldare));
}

using ListCall = std::function<void()>;
Q_DECLARE_METATYPE(ListCall)
Q_DECLARE_METATYPE(Store::Selection::Kind)
using Keys = QList<std::pair<int, QByteArray>>;
Q_DECLARE_METATYPE(Keys)

void ListLines::listsSayWhichCardsTheyNeed_data()
{
    using S = TSchedaProdotto;
    using K = Store::Selection::Kind;
    QTest::addColumn<ListCall>("list");
    QTest::addColumn<K>("kind");
    QTest::addColumn<Keys>("keys"); // each criterion's field and folded key

    const auto search = [](const Criteri &criteria) {
        return ListCall([criteria] { Elenchi::ricerca(Elenchi::criteriInUso(criteria)); });
    };
    QTest::newRow("search, A-Z folded only")
        << search({{S::iNome, u"ViTe É"_s}, {S::iCodice, u"  "_s}, {S::iTipologia, u"Ferr"_s}})
        << K::Search
        << Keys{{S::iNome, QByteArray("vite \xC9")}, {S::iTipologia, QByteArray("ferr")}};
    QTest::newRow("search without criteria") << search({}) << K::All << Keys{};
    // No card can hold a character outside the code page: the list keeps none itself.
    QTest::newRow("search no card can match")
        << search({{S::iNome, u"Vite ā"_s}}) << K::All << Keys{};
    QTest::newRow("low stock") << ListCall([] { Elenchi::sottoscorta(); }) << K::LowStock << Keys{};
    QTest::newRow("unpaid") << ListCall([] { Elenchi::daSaldare(); }) << K::Unpaid << Keys{};
    QTest::newRow("inventory of a category")
        << ListCall([] { Elenchi::inventario(u"Ferr"_s); }) << K::Category
        << Keys{{S::iTipologia, QByteArray("ferr")}};
    QTest::newRow("inventory of all")
        << ListCall([] { Elenchi::inventario(u"  "_s); }) << K::All << Keys{};
}

// The shared store filters at the server by what each list says it needs.
void ListLines::listsSayWhichCardsTheyNeed()
{
    QFETCH(ListCall, list);
    QFETCH(Store::Selection::Kind, kind);
    QFETCH(Keys, keys);
    Cards::write({card(u"a"_s, u"Vite"_s, u"Ferramenta"_s, u"1,00"_s)});
    auto backend = std::make_unique<AskingBackend>();
    AskingBackend *asking = backend.get();
    Store::setCurrent(std::move(backend));

    list();
    QCOMPARE(asking->asked.size(), 1);
    const Store::Selection &selection = asking->asked.first();
    QCOMPARE(selection.kind, kind);
    Keys got;
    for (const auto &[field, key] : selection.criteria)
        got.append({int(field), key});
    QCOMPARE(got, keys);
}

// A card added between the count and the reading does not overrun the rows counted.
void ListLines::exportGridKeepsTheCountedCards()
{
    Cards::write({Cards::make(u"a"_s, u"Uno"_s), Cards::make(u"b"_s, u"Due"_s),
                  Cards::make(u"c"_s, u"Tre"_s)});
    Store::setCurrent(std::make_unique<AskingBackend>(1));
    ExportGridModel grid;
    grid.load();
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.data(grid.index(1, 1), Qt::DisplayRole).toString(), u"b"_s);
}

SCAFFARIA_TEST(ListLines)
#include "tst_lines.moc"
