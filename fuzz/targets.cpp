#include "fuzz/targets.h"

#include "app/crypt.h"
#include "app/passwordstore.h"
#include "common/numbertext.h"
#include "common/picturefile.h"
#include "common/programfolder.h"
#include "common/recordfile.h"
#include "lists/elenchi.h"
#include "lists/rigaelenco.h"
#include "pricelist/paginalistino.h"
#include "warehouse/archivio.h"
#include "warehouse/schedaprodotto.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A buffer of exactly `length` bytes (so the address sanitizer sees any read past it),
// filled from the input and padded with zero bytes.
std::vector<char> exactly(const std::uint8_t *data, std::size_t size, std::size_t length)
{
    std::vector<char> bytes(length, '\0');
    if (size > 0)
        std::memcpy(bytes.data(), data, std::min(size, length));
    return bytes;
}

QString show(const QString &text) { return u'"' + text + u'"'; }

// The bytes after the first zero byte, as UTF-8 text: a second, free-form input beside
// the fixed-size record, for what the program writes from typed text.
QString typedText(const std::uint8_t *data, std::size_t size)
{
    const auto *zero = static_cast<const std::uint8_t *>(std::memchr(data, 0, size));
    if (!zero)
        return QString();
    const auto offset = static_cast<std::size_t>(zero - data) + 1;
    return QString::fromUtf8(reinterpret_cast<const char *>(data + offset),
                             static_cast<qsizetype>(size - offset));
}

// A folder of its own for the targets that work on files, kept for the process.
const QString &scratchFolder()
{
    static QTemporaryDir dir;
    static const QString path = dir.path();
    return path;
}

// Points the program folder at the scratch folder for the life of the object.
class InScratchFolder
{
public:
    InScratchFolder() { ProgramFolder::setForTests(scratchFolder()); }
    ~InScratchFolder() { ProgramFolder::setForTests(QString()); }
    InScratchFolder(const InScratchFolder &) = delete;
    InScratchFolder &operator=(const InScratchFolder &) = delete;
};

bool writeWhole(const QString &path, const std::uint8_t *data, std::size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const auto length = static_cast<qint64>(size);
    return file.write(reinterpret_cast<const char *>(data), length) == length;
}

bool sameCard(const TSchedaProdotto &a, const TSchedaProdotto &b)
{
    for (const TSchedaProdotto::Field &f : TSchedaProdotto::fields()) {
        if (a.*f.member != b.*f.member)
            return false;
    }
    return true;
}

// A card's fields hold at most their capacity, trimmed.
QString checkFields(const TSchedaProdotto &card)
{
    for (const TSchedaProdotto::Field &f : TSchedaProdotto::fields()) {
        const QString &text = card.*f.member;
        if (text.size() > f.capacity)
            return u"field %1 holds %2 characters, more than its %3"_s
                .arg(QLatin1StringView(f.name))
                .arg(text.size())
                .arg(f.capacity);
        if (!text.isEmpty() && (text.front().unicode() <= 0x20 || text.back().unicode() <= 0x20))
            return u"field %1 is not trimmed: %2"_s.arg(QLatin1StringView(f.name), show(text));
    }
    return QString();
}

bool onlyDigits(QStringView text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// What every output of the amount and quantity rules must be: plain decimal text that
// reads back as a number, and that the rule leaves as it is.
QString checkRuleOutput(const char *rule, QString (*apply)(const QString &), const QString &input,
                        const QString &output, int decimals)
{
    const QString where = u"%1 rule on %2 gave %3: "_s.arg(QLatin1StringView(rule), show(input),
                                                           show(output));
    const QString lower = output.toLower();
    if (lower.contains(u'e') || lower.contains(u"inf"_s) || lower.contains(u"nan"_s))
        return where + u"not a plain decimal"_s;
    QStringView body(output);
    if (body.startsWith(u'-'))
        body = body.mid(1);
    if (decimals == 0) {
        if (!onlyDigits(body))
            return where + u"not a whole number in digits"_s;
    } else {
        const qsizetype comma = body.indexOf(u',');
        if (comma < 0 || !onlyDigits(body.left(comma)) || !onlyDigits(body.mid(comma + 1)) ||
            body.size() - comma - 1 != decimals)
            return where + u"not digits with %1 decimals"_s.arg(decimals);
    }
    if (!NumberText::parse(output))
        return where + u"does not read back as a number"_s;
    const QString again = apply(output);
    if (again != output)
        return where + u"applied again it gives %1"_s.arg(show(again));
    return QString();
}

} // namespace

namespace FuzzTargets {

QString card(const std::uint8_t *data, std::size_t size)
{
    const std::vector<char> record = exactly(data, size, TSchedaProdotto::Size);
    const TSchedaProdotto card = TSchedaProdotto::decode(record.data());
    if (QString failure = checkFields(card); !failure.isEmpty())
        return failure;
    for (int i = 0; i < TSchedaProdotto::FieldCount; ++i) {
        const TSchedaProdotto::Field &f = TSchedaProdotto::fields()[static_cast<std::size_t>(i)];
        if (TSchedaProdotto::field(record.data(), static_cast<TSchedaProdotto::Index>(i)) !=
            card.*f.member)
            return u"field %1 read alone differs from the decoded card"_s.arg(
                QLatin1StringView(f.name));
    }
    // What is read is what a save writes back: the encoded card decodes to itself.
    const QByteArray bytes = card.encode();
    if (bytes.size() != TSchedaProdotto::Size)
        return u"encoded card has %1 bytes"_s.arg(bytes.size());
    if (!sameCard(TSchedaProdotto::decode(bytes.constData()), card))
        return u"encoded card does not decode to itself"_s;
    // A line built from the raw record is the line of the decoded card.
    QString line;
    for (FormatoRiga format : {FormatoRiga::Standard, FormatoRiga::DaSaldare}) {
        RigaElenco(record.data(), format, {}, line);
        if (line != RigaElenco(card, format))
            return u"the line from the raw record differs from the card's: %1"_s.arg(show(line));
    }

    // Typed text in every field: stored within capacity, and stable once stored.
    TSchedaProdotto typed;
    const QString text = typedText(data, size);
    for (const TSchedaProdotto::Field &f : TSchedaProdotto::fields())
        typed.*f.member = text;
    QByteArray stored(TSchedaProdotto::Size + 1, '\x5A'); // one guard byte past the record
    typed.encodeInto(stored.data());
    if (stored.back() != '\x5A')
        return u"encoding wrote past the record"_s;
    const TSchedaProdotto read = TSchedaProdotto::decode(stored.constData());
    if (QString failure = checkFields(read); !failure.isEmpty())
        return failure;
    // A cut at the capacity may leave a blank at the end that reading trims; the text read
    // back must then stay the same however often it is stored again.
    if (!sameCard(TSchedaProdotto::decode(read.encode().constData()), read))
        return u"typed text read back changes when stored again"_s;
    return QString();
}

QString pricePage(const std::uint8_t *data, std::size_t size)
{
    const std::vector<char> record = exactly(data, size, TPaginaListino::Size);
    const TPaginaListino page = TPaginaListino::decode(record.data());
    for (const TVoceListino &slot : page.Voci) {
        for (const TVoceListino::Field &f : TVoceListino::fields()) {
            if ((slot.*f.member).size() > f.capacity)
                return u"slot field %1 holds more than its capacity"_s.arg(
                    QLatin1StringView(f.name));
        }
    }
    const QByteArray bytes = page.encode();
    if (bytes.size() != TPaginaListino::Size)
        return u"encoded page has %1 bytes"_s.arg(bytes.size());
    const TPaginaListino again = TPaginaListino::decode(bytes.constData());
    if (!(again == page))
        return u"encoded page does not decode to itself"_s;
    if (again.encode() != bytes)
        return u"page encoded twice gives other bytes"_s;
    return QString();
}

QString passwordStore(const std::uint8_t *data, std::size_t size)
{
    // The cipher on any text: a decrypted value enciphers back to the same password.
    const QString hex = QString::fromLatin1(reinterpret_cast<const char *>(data),
                                            static_cast<qsizetype>(size));
    if (const std::optional<QString> plain = Crypt::Decrypt(hex);
        plain && Crypt::Storable(*plain)) {
        const std::optional<QString> back = Crypt::Decrypt(Crypt::Encrypt(*plain));
        if (!back || *back != *plain)
            return u"a decrypted password does not survive enciphering again"_s;
    }

    // The store file as found on disk: read it, store a password, read that back.
    const InScratchFolder folder;
    const QString path = PasswordStore::path();
    if (!writeWhole(path, data, size))
        return u"cannot write the scratch store"_s;
    const std::optional<QString> before = PasswordStore::read();
    if (!before)
        return u"an existing readable store read as unreadable"_s;
    const QString password = Crypt::Normalise(typedText(data, size).left(40));
    if (!Crypt::Storable(password))
        return QString();
    const QString value = Crypt::Encrypt(password);
    if (!PasswordStore::write(value))
        return u"writing the store failed"_s;
    const std::optional<QString> after = PasswordStore::read();
    if (!after || *after != value)
        return u"the store read back %1 after writing %2"_s.arg(show(after.value_or(QString())),
                                                                show(value));
    const std::optional<QString> plain = Crypt::Decrypt(*after);
    if (!plain || *plain != password)
        return u"the stored password deciphers to %1, not %2"_s.arg(show(plain.value_or(QString())),
                                                                    show(password));
    // Writing the same value again leaves the file as it is.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return u"cannot read the written store"_s;
    const QByteArray written = file.readAll();
    file.close();
    if (!PasswordStore::write(value))
        return u"writing the store a second time failed"_s;
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != written)
        return u"writing the same password twice changed the file"_s;
    return QString();
}

QString numberRules(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data),
                                           static_cast<qsizetype>(size));
    if (const std::optional<double> value = NumberText::parse(text)) {
        const QString shortest = NumberText::shortest(*value);
        const std::optional<double> back = NumberText::parse(shortest);
        if (!back)
            return u"shortest form %1 of %2 does not read back"_s.arg(show(shortest), show(text));
        if (NumberText::shortest(*back) != shortest)
            return u"shortest form %1 of %2 changes when read back"_s.arg(show(shortest),
                                                                          show(text));
    }
    const QString amount = NumberText::amountRule(text);
    if (QString failure = checkRuleOutput("amount", NumberText::amountRule, text, amount, 2);
        !failure.isEmpty())
        return failure;
    const QString quantity = NumberText::quantityRule(text);
    return checkRuleOutput("quantity", NumberText::quantityRule, text, quantity, 0);
}

QString archive(const std::uint8_t *data, std::size_t size)
{
    const InScratchFolder folder;
    const QString path = ProgramFolder::file(ArchivioMagazzino::fileName());
    if (!writeWhole(path, data, size))
        return u"cannot write the scratch archive"_s;
    const qint64 whole = static_cast<qint64>(size / TSchedaProdotto::Size);
    const char *bytes = reinterpret_cast<const char *>(data);

    // Every whole record is visited once, in order, with its own bytes; a trailing
    // fragment is not a card.
    RecordFile file(path, TSchedaProdotto::Size);
    if (!file.open())
        return u"cannot open the scratch archive"_s;
    if (file.count() != whole)
        return u"%1 bytes count as %2 records"_s.arg(size).arg(file.count());
    qint64 expected = 1;
    QString failure;
    const bool forward = file.readAll([&](qint64 position, const char *record) {
        if (position != expected ||
            std::memcmp(record, bytes + (position - 1) * TSchedaProdotto::Size,
                        TSchedaProdotto::Size) != 0) {
            failure = u"reading forward gave record %1 for %2"_s.arg(position).arg(expected);
            return false;
        }
        ++expected;
        return true;
    });
    if (!forward || !failure.isEmpty() || expected != whole + 1)
        return failure.isEmpty() ? u"reading forward stopped early"_s : failure;
    expected = whole;
    const bool backward = file.readAllBackward([&](qint64 position, const char *record) {
        if (position != expected ||
            std::memcmp(record, bytes + (position - 1) * TSchedaProdotto::Size,
                        TSchedaProdotto::Size) != 0) {
            failure = u"reading backward gave record %1 for %2"_s.arg(position).arg(expected);
            return false;
        }
        --expected;
        return true;
    });
    if (!backward || !failure.isEmpty() || expected != 0)
        return failure.isEmpty() ? u"reading backward stopped early"_s : failure;
    std::vector<char> one(TSchedaProdotto::Size);
    if (whole > 0 && (!file.readAt(whole, one.data()) ||
                      std::memcmp(one.data(), bytes + (whole - 1) * TSchedaProdotto::Size,
                                  TSchedaProdotto::Size) != 0))
        return u"the last record read alone differs"_s;
    if (file.readAt(whole + 1, one.data()))
        return u"a record past the end was read"_s;
    file.close();

    // The lists: every card is in the search, each line found again gives its card.
    const Elenchi::Righe all = Elenchi::ricerca({});
    if (all.esito != Elenchi::Esito::Completo || all.righe.size() != whole)
        return u"the search over %1 cards gave %2 lines"_s.arg(whole).arg(all.righe.size());
    for (qint64 i = 0; i < whole; ++i) {
        const TSchedaProdotto card = TSchedaProdotto::decode(bytes + i * TSchedaProdotto::Size);
        if (all.righe.at(i) != RigaElenco(card, FormatoRiga::Standard))
            return u"line %1 differs from its card's line"_s.arg(i + 1);
    }
    if (whole > 0) {
        const QString first = all.righe.at(0);
        const std::optional<Elenchi::Scheda> found = Elenchi::schedaDaRiga(first,
                                                                           FormatoRiga::Standard);
        if (!found || RigaElenco(found->scheda, FormatoRiga::Standard) != first)
            return u"the first line does not find its card"_s;
    }
    const Elenchi::Righe low = Elenchi::sottoscorta();
    if (low.esito == Elenchi::Esito::ErroreArchivio || low.righe.size() > whole)
        return u"the low-stock list failed"_s;
    const Elenchi::Righe unpaid = Elenchi::daSaldare();
    if (unpaid.esito != Elenchi::Esito::Completo || unpaid.righe.size() > whole)
        return u"the unpaid list failed"_s;
    const Elenchi::Inventario stock = Elenchi::inventario(QString());
    if (stock.esito == Elenchi::Esito::ErroreArchivio || stock.righe.size() > whole)
        return u"the inventory failed"_s;
    if (!NumberText::totalText(stock.totale).startsWith(u"€ "_s))
        return u"the inventory total has no euro sign"_s;
    // The compact lines' order, checked against the comparison of their display texts.
    const QList<QString> sorted = [&] {
        CompactLines lines = CompactLines::fromList(all.righe.toList());
        lines.sort();
        return lines.toList();
    }();
    for (qsizetype i = 1; i < sorted.size(); ++i) {
        if (confrontaRighe(sorted.at(i - 1), sorted.at(i)) > 0)
            return u"sorted lines %1 and %2 are out of order"_s.arg(i).arg(i + 1);
    }
    return QString();
}

QString picture(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                               static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return u"cannot open the buffer"_s;
    // Whatever the header claims: no picture beyond the bounds, none of an empty size.
    const QImage whole = PictureFile::read(&buffer);
    if (!whole.isNull()) {
        const qint64 pixels = qint64(whole.width()) * whole.height();
        if (whole.width() <= 0 || whole.height() <= 0)
            return u"a picture of %1 x %2"_s.arg(whole.width()).arg(whole.height());
        if (pixels > PictureFile::kMostPixels || whole.sizeInBytes() > PictureFile::kMostBytes)
            return u"a picture of %1 x %2 passes the bounds"_s.arg(whole.width())
                .arg(whole.height());
    }
    const QSize slot(366, 274);
    QBuffer again(&bytes);
    if (!again.open(QIODevice::ReadOnly))
        return u"cannot open the buffer"_s;
    const QImage stretched = PictureFile::readStretched(&again, slot);
    if (!stretched.isNull() && stretched.size() != slot)
        return u"a slot picture of %1 x %2"_s.arg(stretched.width()).arg(stretched.height());
    return QString();
}

std::span<const Target> all()
{
    static constexpr std::array<Target, 6> kTargets = {{
        {"card", card},
        {"pricepage", pricePage},
        {"passwordstore", passwordStore},
        {"numberrules", numberRules},
        {"archive", archive},
        {"picture", picture},
    }};
    return kTargets;
}

} // namespace FuzzTargets
