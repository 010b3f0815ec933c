#include "common/dialogs.h"
#include "common/numbertext.h"
#include "common/storedtext.h"
#include "printing/cardsheet.h"
#include "support/testmain.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <string>

using namespace Qt::StringLiterals;

class TextRules final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void storedField_data();
    void storedField();
    void lengthByteAboveCapacity();
    void parse_data();
    void parse();
    void shortest_data();
    void shortest();
    void amountRule_data();
    void amountRule();
    void quantityRule_data();
    void quantityRule();
    void ruleWithinCapacity_data();
    void ruleWithinCapacity();
    void rulesUnderEachLocale_data();
    void rulesUnderEachLocale();
    void rulesHoldForGeneratedTexts();
    void failureText_data();
    void failureText();
    void failureTextOfException_data();
    void failureTextOfException();
};

void TextRules::storedField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("paid yes") << u"Sì"_s << 2 << QByteArray("\x02\x53\xEC", 3) << u"Sì"_s;
    QTest::newRow("paid no") << u"No"_s << 2 << QByteArray("\x02No", 3) << u"No"_s;
    QTest::newRow("empty") << QString() << 3 << QByteArray(4, '\0') << QString();
    QTest::newRow("trimmed") << u"  ab\t\n"_s << 4
                             << QByteArray("\x02"
                                           "ab\0\0",
                                           5)
                             << u"ab"_s;
    QTest::newRow("cut to capacity") << u"abcdef"_s << 4
                                     << QByteArray("\x04"
                                                   "abcd",
                                                   5)
                                     << u"abcd"_s;
    QTest::newRow("euro and quotes")
        << u"€ “x” – œ"_s << 12 << QByteArray("\x09\x80\x20\x93x\x94\x20\x96\x20\x9C\0\0\0", 13)
        << u"€ “x” – œ"_s;
    QTest::newRow("accented letters")
        << u"àèéìòù ÀÈ"_s << 10 << QByteArray("\x09\xE0\xE8\xE9\xEC\xF2\xF9\x20\xC0\xC8\0", 11)
        << u"àèéìòù ÀÈ"_s;
    QTest::newRow("outside the code page") << u"a→b😀"_s << 5
                                           << QByteArray("\x04"
                                                         "a?b?\0",
                                                         6)
                                           << u"a?b?"_s;
    QTest::newRow("cut leaves trailing blank, read trims") << u"ab cd"_s << 3
                                                           << QByteArray("\x03"
                                                                         "ab ",
                                                                         4)
                                                           << u"ab"_s;
}

void TextRules::storedField()
{
    QFETCH(QString, text);
    QFETCH(int, capacity);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readBack);

    QByteArray out(capacity + 1, '\xAA');
    StoredText::encode(text, capacity, out.data());
    QCOMPARE(out.toHex(' '), bytes.toHex(' '));
    QCOMPARE(StoredText::decode(out.constData(), capacity), readBack);
}

void TextRules::lengthByteAboveCapacity()
{
    // A damaged length byte never reads beyond its field.
    const QByteArray field("\xFF"
                           "abc"
                           "XYZ",
                           7);
    QCOMPARE(StoredText::decode(field.constData(), 3), u"abc"_s);
}

void TextRules::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("decimal comma") << u"12,5"_s << true << 12.5;
    QTest::newRow("leading comma") << u",5"_s << true << 0.5;
    QTest::newRow("trailing comma") << u"5,"_s << true << 5.0;
    QTest::newRow("negative") << u"-3"_s << true << -3.0;
    QTest::newRow("blanks around") << u" 7 "_s << true << 7.0;
    QTest::newRow("exponent") << u"1,5E2"_s << true << 150.0;
    QTest::newRow("plus sign") << u"+4,20"_s << true << 4.2;
    QTest::newRow("beyond a double") << u"1e400"_s << false << 0.0;
    QTest::newRow("below a double is zero") << u"-1,5e-400"_s << true << 0.0;
    QTest::newRow("exponent without digits") << u"1e"_s << false << 0.0;
    QTest::newRow("inf") << u"inf"_s << false << 0.0;
    QTest::newRow("nan") << u"nan"_s << false << 0.0;
    QTest::newRow("hexadecimal") << u"0x1A"_s << false << 0.0;
    QTest::newRow("point is not decimal") << u"12.5"_s << false << 0.0;
    QTest::newRow("grouping") << u"1.000,5"_s << false << 0.0;
    QTest::newRow("empty") << QString() << false << 0.0;
    QTest::newRow("comma alone") << u","_s << false << 0.0;
    QTest::newRow("letters") << u"12a"_s << false << 0.0;
    QTest::newRow("two commas") << u"1,2,3"_s << false << 0.0;
}

void TextRules::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const std::optional<double> parsed = NumberText::parse(text);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(*parsed, value);
}

void TextRules::shortest_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("fraction") << 7.5 << u"7,5"_s;
    QTest::newRow("whole") << 40.0 << u"40"_s;
    QTest::newRow("negative") << -2.25 << u"-2,25"_s;
    QTest::newRow("zero") << 0.0 << u"0"_s;
    QTest::newRow("negative zero") << -0.0 << u"0"_s;
    QTest::newRow("15 digits") << 0.1 + 0.2 << u"0,3"_s;
    QTest::newRow("large, no grouping") << 1234567.0 << u"1234567"_s;
    QTest::newRow("large, no exponent") << 1e20 << u"100000000000000000000"_s;
    QTest::newRow("small, no exponent") << 1e-5 << u"0,00001"_s;
    QTest::newRow("negative small") << -0.000125 << u"-0,000125"_s;
    QTest::newRow("rounded to 15 digits") << 123456789012345678.0 << u"123456789012346000"_s;
    QTest::newRow("15 digits with fraction") << 1234567890123.46 << u"1234567890123,46"_s;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << QString();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << QString();
}

void TextRules::shortest()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberText::shortest(value), text);
}

void TextRules::amountRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("empty") << QString() << u"0,00"_s;
    QTest::newRow("blanks") << u"   "_s << u"0,00"_s;
    QTest::newRow("whole") << u"7"_s << u"7,00"_s;
    QTest::newRow("one decimal") << u"7,1"_s << u"7,10"_s;
    QTest::newRow("rounds up") << u"7,129"_s << u"7,13"_s;
    QTest::newRow("half rounds up") << u"7,125"_s << u"7,13"_s;
    QTest::newRow("tiny") << u"0,004"_s << u"0,00"_s;
    QTest::newRow("leading comma") << u",5"_s << u"0,50"_s;
    QTest::newRow("trailing comma") << u"5,"_s << u"5,00"_s;
    QTest::newRow("leading zeros") << u"0012,5"_s << u"12,50"_s;
    QTest::newRow("not a number") << u"abc"_s << u"0,00"_s;
    QTest::newRow("point") << u"12.50"_s << u"0,00"_s;
    QTest::newRow("negative half") << u"-7,125"_s << u"-7,13"_s;
    QTest::newRow("negative rounds down") << u"-7,126"_s << u"-7,13"_s;
    QTest::newRow("negative tiny") << u"-0,004"_s << u"0,00"_s;
    QTest::newRow("cents kept") << u"4,20"_s << u"4,20"_s;
    QTest::newRow("pasted tiny exponent") << u"1e-5"_s << u"0,00"_s;
    QTest::newRow("pasted exponent") << u"1,5e2"_s << u"150,00"_s;
    QTest::newRow("pasted large exponent") << u"1e20"_s << u"100000000000000000000,00"_s;
    QTest::newRow("15 digits") << u"1234567890123,456"_s << u"1234567890123,46"_s;
}

void TextRules::amountRule()
{
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QCOMPARE(NumberText::amountRule(typed), result);
}

void TextRules::quantityRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("empty") << QString() << u"0"_s;
    QTest::newRow("leading zeros") << u"007"_s << u"7"_s;
    QTest::newRow("half rounds up") << u"2,5"_s << u"3"_s;
    QTest::newRow("rounds down") << u"2,4"_s << u"2"_s;
    QTest::newRow("negative whole unchanged") << u"-3"_s << u"-3"_s;
    QTest::newRow("negative fraction") << u"-2,6"_s << u"-3"_s;
    QTest::newRow("not a number") << u"x1"_s << u"0"_s;
    QTest::newRow("pasted exponent") << u"1e3"_s << u"1000"_s;
    QTest::newRow("pasted large exponent") << u"1e20"_s << u"100000000000000000000"_s;
    QTest::newRow("pasted tiny exponent") << u"1e-5"_s << u"0"_s;
}

void TextRules::quantityRule()
{
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QCOMPARE(NumberText::quantityRule(typed), result);
}

void TextRules::ruleWithinCapacity_data()
{
    // An empty result means the field refuses the text.
    QTest::addColumn<bool>("amount");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QString>("result");
    QTest::newRow("amount fits exactly") << true << u"123456789,99"_s << 12 << u"123456789,99"_s;
    QTest::newRow("amount one digit too many") << true << u"1234567890,99"_s << 12 << QString();
    QTest::newRow("amount 1e20") << true << u"1e20"_s << 12 << QString();
    QTest::newRow("amount beyond a double") << true << u"1e400"_s << 12 << QString();
    QTest::newRow("amount 1e-5") << true << u"1e-5"_s << 12 << u"0,00"_s;
    QTest::newRow("amount below a double") << true << u"1e-400"_s << 12 << u"0,00"_s;
    QTest::newRow("amount not a number") << true << u"abc"_s << 12 << u"0,00"_s;
    QTest::newRow("quantity fits") << false << u"9999"_s << 4 << u"9999"_s;
    QTest::newRow("quantity negative fits") << false << u"-999"_s << 4 << u"-999"_s;
    QTest::newRow("quantity 1e9") << false << u"1e9"_s << 4 << QString();
    QTest::newRow("quantity beyond a double") << false << u"-1e999"_s << 4 << QString();
    QTest::newRow("quantity not a number") << false << u"x"_s << 4 << u"0"_s;
}

void TextRules::ruleWithinCapacity()
{
    QFETCH(bool, amount);
    QFETCH(QString, typed);
    QFETCH(int, capacity);
    QFETCH(QString, result);
    const std::optional<QString> got = amount ? NumberText::amountRuleWithin(typed, capacity)
                                              : NumberText::quantityRuleWithin(typed, capacity);
    QCOMPARE(got.value_or(QString()), result);
}

namespace {

// Sets the C library's locale for one scope and puts the previous one back, whatever
// the test does in between.
class CLocale
{
public:
    explicit CLocale(const char *name)
    {
        m_previous = std::setlocale(LC_ALL, nullptr);
        m_ok = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~CLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    bool ok() const { return m_ok; }

private:
    std::string m_previous;
    bool m_ok = false;
};

} // namespace

void TextRules::rulesUnderEachLocale_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("decimalPoint"); // the C library's own, to show it took effect
    QTest::newRow("Italian") << QByteArray("it_IT.UTF-8") << QByteArray(",");
    QTest::newRow("English") << QByteArray("en_US.UTF-8") << QByteArray(".");
    QTest::newRow("C") << QByteArray("C") << QByteArray(".");
}

void TextRules::rulesUnderEachLocale()
{
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, decimalPoint);
    const CLocale scope(locale.constData());
    QVERIFY2(scope.ok(), "locale not generated: run scripts/install-deps.sh");
    QCOMPARE(QByteArray(std::localeconv()->decimal_point), decimalPoint);

    QCOMPARE(NumberText::parse(u"4,20"_s), std::optional<double>(4.2));
    QVERIFY(!NumberText::parse(u"4.20"_s));
    QCOMPARE(NumberText::parse(u"-1,5e3"_s), std::optional<double>(-1500.0));
    QCOMPARE(NumberText::shortest(165.4), u"165,4"_s);
    QCOMPARE(NumberText::shortest(-0.25), u"-0,25"_s);
    QCOMPARE(NumberText::amountRule(u"4,20"_s), u"4,20"_s);
    QCOMPARE(NumberText::amountRule(u"7,125"_s), u"7,13"_s);
    QCOMPARE(NumberText::quantityRule(u"2,5"_s), u"3"_s);
    QVERIFY(!NumberText::amountRuleWithin(u"1e20"_s, 12));
    // The three-card inventory: 2 at 4,20, 10 at 10,50 and 20 at 2,60.
    QCOMPARE(NumberText::totalText(2 * 4.2 + 10 * 10.5 + 20 * 2.6), u"€ 165,40"_s);
    QCOMPARE(CardSheet::costLine(u"4,20"_s, u"3"_s),
             u"Costo unitario (€ 4,20) x giacenza (3 pezzi) = € 12,6"_s);
}

void TextRules::rulesHoldForGeneratedTexts()
{
    // Texts as a user may type or paste them: signs, long runs of digits, a comma, an
    // exponent, blanks, and now and then a stray character. Every output is plain
    // decimal text that reads back as what it shows, and a second run changes nothing.
    QRandomGenerator rng(20261210);
    auto digits = [&](int n) {
        QString d;
        for (int i = 0; i < n; ++i)
            d += QChar(u'0' + rng.bounded(10));
        return d;
    };
    QStringList texts = {u"1e20"_s,
                         u"1e-5"_s,
                         u"999999999999999"_s,
                         u"999999999999,995"_s,
                         u"0,005"_s,
                         u"-0,005"_s,
                         u"1,005"_s,
                         u"123456789012345,67"_s,
                         u"1e308"_s,
                         u"-1e308"_s,
                         u"4,20"_s,
                         u"99999999,999"_s};
    for (int i = 0; i < 20000; ++i) {
        QString t;
        const int sign = rng.bounded(4);
        t += sign == 0 ? u"-"_s : sign == 1 ? u"+"_s : QString();
        t += digits(rng.bounded(18));
        if (rng.bounded(3) > 0)
            t += u',' + digits(rng.bounded(8));
        if (rng.bounded(4) == 0)
            t += (rng.bounded(2) ? u"e"_s : u"E-"_s) + digits(1 + rng.bounded(3));
        if (rng.bounded(10) == 0)
            t.insert(rng.bounded(t.size() + 1), QChar(u" .x-,"[rng.bounded(5)]));
        if (rng.bounded(10) == 0)
            t = u"  "_s + t + u" "_s;
        texts.append(t);
    }

    const QRegularExpression amountForm(u"^-?[0-9]+,[0-9][0-9]$"_s);
    const QRegularExpression quantityForm(u"^-?[0-9]+$"_s);
    const QRegularExpression plainForm(u"^-?[0-9]+(,[0-9]*[1-9])?$"_s);
    for (const QString &t : std::as_const(texts)) {
        const std::optional<double> typed = NumberText::parse(t);

        const QString amount = NumberText::amountRule(t);
        QVERIFY2(amountForm.match(amount).hasMatch(), qPrintable(t + u" -> "_s + amount));
        QCOMPARE(NumberText::amountRule(amount), amount);
        const std::optional<double> shown = NumberText::parse(amount);
        QVERIFY(shown);
        if (std::fabs(*shown) < 1e13) {
            // What the text shows, read with two decimals, is the value parsed back.
            QString cents = QString::number(*shown, 'f', 2).replace(u'.', u',');
            if (cents == u"-0,00"_s)
                cents = u"0,00"_s;
            QCOMPARE(cents, amount);
        }
        if (typed && std::fabs(*typed) < 1e13)
            // Half a cent, and the double's own spacing at that size.
            QVERIFY2(std::fabs(*shown - *typed) <= 0.005 + std::fabs(*typed) * 1e-15,
                     qPrintable(t + u" -> "_s + amount));

        const QString quantity = NumberText::quantityRule(t);
        QVERIFY2(quantityForm.match(quantity).hasMatch(), qPrintable(t + u" -> "_s + quantity));
        QCOMPARE(NumberText::quantityRule(quantity), quantity);
        if (typed && std::fabs(*typed) < 1e15)
            QVERIFY2(std::fabs(*NumberText::parse(quantity) - *typed) <= 0.5,
                     qPrintable(t + u" -> "_s + quantity));

        if (typed) {
            const QString plain = NumberText::shortest(*typed);
            QVERIFY2(plainForm.match(plain).hasMatch(), qPrintable(t + u" -> "_s + plain));
            const double back = *NumberText::parse(plain);
            QVERIFY(std::fabs(back - *typed) <= std::fabs(*typed) * 1e-14);
            QCOMPARE(NumberText::shortest(back), plain);
        }
    }
}

void TextRules::failureText_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter gets a stop") << u"'x' is not valid"_s << u"'x' is not valid."_s;
    QTest::newRow("stop kept") << u"Failed."_s << u"Failed."_s;
    QTest::newRow("comma below the stop") << u"Failed,"_s << u"Failed,"_s;
    QTest::newRow("quote is below the stop") << u"File 'a'"_s << u"File 'a'"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TextRules::failureTextOfException_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("shown");
    QTest::newRow("the program's own")
        << 0 << u"Attenzione: il valore 'x' non è un numero valido."_s;
    QTest::newRow("out of memory")
        << 1
        << u"Attenzione: la memoria disponibile non è sufficiente per completare "
           u"l'operazione."_s;
    QTest::newRow("the library's, in English")
        << 2
        << u"Attenzione: si è verificato un errore imprevisto e l'operazione non è stata "
           u"completata."_s;
}

void TextRules::failureTextOfException()
{
    QFETCH(int, kind);
    QFETCH(QString, shown);
    QString got;
    try {
        if (kind == 0)
            throw NotANumber(u"x"_s);
        if (kind == 1)
            throw std::bad_alloc();
        throw std::invalid_argument("stod");
    } catch (const std::exception &failure) {
        got = Dialogs::failureText(failure);
    }
    QCOMPARE(got, shown);
}

void TextRules::failureText()
{
    QFETCH(QString, what);
    QFETCH(QString, shown);
    QCOMPARE(Dialogs::failureText(what), shown);
}

SCAFFARIA_TEST(TextRules)
#include "tst_text.moc"
