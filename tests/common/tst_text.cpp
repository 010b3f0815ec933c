#include "common/numbertext.h"
#include "common/storedtext.h"
#include "common/dialogs.h"
#include "support/testmain.h"

#include <QTest>

#include <clocale>
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
    void numbersIgnoreTheProcessLocale();
    void shortest_data();
    void shortest();
    void amountRule_data();
    void amountRule();
    void quantityRule_data();
    void quantityRule();
    void failureText_data();
    void failureText();
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
    QTest::newRow("trimmed") << u"  ab\t\n"_s << 4 << QByteArray("\x02" "ab\0\0", 5) << u"ab"_s;
    QTest::newRow("cut to capacity")
        << u"abcdef"_s << 4 << QByteArray("\x04" "abcd", 5) << u"abcd"_s;
    QTest::newRow("euro and quotes") << u"€ “x” – œ"_s << 12
        << QByteArray("\x09\x80\x20\x93x\x94\x20\x96\x20\x9C\0\0\0", 13) << u"€ “x” – œ"_s;
    QTest::newRow("accented letters") << u"àèéìòù ÀÈ"_s << 10
        << QByteArray("\x09\xE0\xE8\xE9\xEC\xF2\xF9\x20\xC0\xC8\0", 11) << u"àèéìòù ÀÈ"_s;
    QTest::newRow("outside the code page")
        << u"a→b😀"_s << 5 << QByteArray("\x04" "a?b?\0", 6) << u"a?b?"_s;
    QTest::newRow("cut leaves trailing blank, read trims")
        << u"ab cd"_s << 3 << QByteArray("\x03" "ab ", 4) << u"ab"_s;
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
    const QByteArray field("\xFF" "abc" "XYZ", 7);
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

// The users' locale writes the decimal comma; the rules read and write numbers the same
// under it as under the C locale.
void TextRules::numbersIgnoreTheProcessLocale()
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "it_IT.UTF-8"))
        QSKIP("the it_IT.UTF-8 locale is not installed");
    const std::optional<double> parsed = NumberText::parse(u"12,50"_s);
    const QString amount = NumberText::amountRule(u"7,125"_s);
    std::setlocale(LC_NUMERIC, before.c_str());
    QVERIFY(parsed.has_value());
    QCOMPARE(*parsed, 12.5);
    QCOMPARE(amount, u"7,13"_s);
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
}

void TextRules::quantityRule()
{
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QCOMPARE(NumberText::quantityRule(typed), result);
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

void TextRules::failureText()
{
    QFETCH(QString, what);
    QFETCH(QString, shown);
    QCOMPARE(Dialogs::failureText(what), shown);
}

SCAFFARIA_TEST(TextRules)
#include "tst_text.moc"
