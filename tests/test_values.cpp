#include "recordfields.h"
#include "values.h"

#include <QTest>

#include <QRandomGenerator>

#include <charconv>
#include <cmath>
#include <cstring>

using namespace quelvara;

class TestValues : public QObject {
    Q_OBJECT

private slots:
    void getField_data();
    void getField();
    void splitRecordReadsAsGetField();
    void stripBreaks();
    void formatMoney_data();
    void formatMoney();
    void moneyValue_data();
    void moneyValue();
    void moneyValueRoundsAsTheDigitsDo();
    void isDecimalText_data();
    void isDecimalText();
    void numberText_data();
    void numberText();
    void computedAmountsStayMoney_data();
    void computedAmountsStayMoney();
    void amountTextAsNumberTextThenFormatMoney();
    void centsTextWrittenAgain();
    void formatDate_data();
    void formatDate();
    void formatCnpj_data();
    void formatCnpj();
    void checkDigits_data();
    void checkDigits();
};

void TestValues::getField_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    QTest::newRow("second") << "a\tb\tc\t" << 2 << "b";
    QTest::newRow("last field unclosed") << "a\tb\tc" << 3 << "";
    QTest::newRow("empty field") << "a\t\tc\t" << 2 << "";
    QTest::newRow("beyond the end") << "a\tb\t" << 5 << "";
    QTest::newRow("zero reads the first") << "a\tb\t" << 0 << "a";
    QTest::newRow("negative reads the first") << "a\tb\t" << -3 << "a";
    QTest::newRow("no tab at all") << "abc" << 1 << "";
    QTest::newRow("empty record") << "" << 1 << "";
    QTest::newRow("accented") << "Água\tçã\t" << 2 << "çã";
    QTest::newRow("leading empty") << "\tx\t" << 1 << "";
}

void TestValues::getField()
{
    QFETCH(QString, record);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(GetField(record, n), expected);
}

void TestValues::stripBreaks()
{
    QCOMPARE(StripBreaks(QStringLiteral("a\tb\r\nc")), QStringLiteral("ab\rc"));
    QCOMPARE(StripBreaks(QStringLiteral("\t\n\t")), QString());
    QCOMPARE(StripBreaks(QStringLiteral("São Paulo")), QStringLiteral("São Paulo"));
}

// A record split once, or read up to one field, gives every field GetField
// gives, whatever stands around its TABs: characters whose low or high byte is
// a TAB's, at every position of a four-character group.
void TestValues::splitRecordReadsAsGetField()
{
    const char16_t alphabet[] = {u'\t',     u'a',      u'\u00e9', u'\u2013',
                                 u'\u0109', u'\u0900', u'\u0909'};
    QRandomGenerator random(812);
    for (int n = 0; n < 5000; ++n) {
        QString record;
        const int size = int(random.bounded(0, 40));
        for (int k = 0; k < size; ++k) {
            record += QChar(alphabet[random.bounded(int(std::size(alphabet)))]);
        }
        const RecordFields fields(record);
        for (int k = 1; k <= 12; ++k) {
            QVERIFY2(fields.at(k) == GetField(record, k) && recordField(record, k) == fields.at(k),
                     qPrintable(record.toUtf8().toPercentEncoding()));
        }
    }
}

void TestValues::formatMoney_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one decimal") << "1234,5"
                                 << "1.234,50";
    QTest::newRow("currency and dots") << "R$ 1.500"
                                       << "1.500,00";
    QTest::newRow("dot is thousands") << "1234.56"
                                      << "123.456,00";
    QTest::newRow("extra decimals cut") << "-1234,567"
                                        << "-1.234,56";
    QTest::newRow("zero") << "0"
                          << "0,00";
    QTest::newRow("comma last") << "5,"
                                << "5,00";
    QTest::newRow("no integer part") << ",5"
                                     << ",50";
    QTest::newRow("millions") << "1.234.567,891"
                              << "1.234.567,89";
    QTest::newRow("letters") << "abc"
                             << "abc";
    QTest::newRow("two commas") << "12,3,4"
                                << "12,3,4";
    QTest::newRow("lone minus") << "-"
                                << "-";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("already money") << "1.234,56"
                                   << "1.234,56";
    QTest::newRow("three digits") << "123"
                                  << "123,00";
    QTest::newRow("six digits") << "123456"
                                << "123.456,00";
    QTest::newRow("seven digits") << "1234567"
                                  << "1.234.567,00";
    QTest::newRow("negative small") << "-0,5"
                                    << "-0,50";
    QTest::newRow("lower-case r kept") << "r$ 10"
                                       << "r$ 10";
    QTest::newRow("spaces inside") << "1 000"
                                   << "1.000,00";
    QTest::newRow("overflow stays") << "1e400"
                                    << "1e400";
    QTest::newRow("instruction text") << "Clique no botão"
                                      << "Clique no botão";
    QTest::newRow("lone comma") << ","
                                << ",00";
    QTest::newRow("plus sign kept") << "+5"
                                    << "+5,00";
}

void TestValues::formatMoney()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(FormatMoney(text), expected);
}

void TestValues::moneyValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");
    QTest::newRow("money") << "1.234,56" << true << 1234.56;
    QTest::newRow("zero") << "0,00" << true << 0.0;
    QTest::newRow("negative") << "-1.000,25" << true << -1000.25;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("currency") << "R$ 5" << false << 0.0;
    QTest::newRow("sentence") << "Clique no botão" << false << 0.0;
    QTest::newRow("lone comma") << "," << true << 0.0;
    QTest::newRow("exponent") << "1,5e3" << true << 1500.0;
    QTest::newRow("overflow") << "1e400" << false << 0.0;
    QTest::newRow("underflow is zero") << "1e-400" << true << 0.0;
    QTest::newRow("spaces around") << "  12,5  " << true << 12.5;
    QTest::newRow("date") << "31/12/2005" << false << 0.0;
    QTest::newRow("placeholder date") << "__/__/____" << false << 0.0;
    // The program's shape, one character off in each of its places.
    QTest::newRow("no dot between groups") << "1x234,56" << false << 0.0;
    QTest::newRow("letter in the first group") << "1a.234,56" << false << 0.0;
    QTest::newRow("letter in a group") << "1.2b4,56" << false << 0.0;
    QTest::newRow("letter in the cents") << "1.234,5c" << false << 0.0;
    QTest::newRow("letter before the cents") << "1.234,c5" << false << 0.0;
}

void TestValues::moneyValue()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    const std::optional<double> result = MoneyValue(text);
    QCOMPARE(result.has_value(), isNumber);
    if (isNumber) {
        QCOMPARE(*result, value);
    }
}

// Amounts are read on a short road when their digits allow it; whatever the
// road, the value must be the correctly rounded one of the digits, bit for
// bit, or a total would differ from the same total read another way.
void TestValues::moneyValueRoundsAsTheDigitsDo()
{
    QRandomGenerator random(20261208);
    for (int n = 0; n < 20000; ++n) {
        const int whole = int(random.bounded(1, 22));
        const int decimals = int(random.bounded(0, 26));
        QString text = random.bounded(2) ? QStringLiteral("-") : QString();
        std::string plain;
        // Leading zeros leave few digits over many decimals.
        const int zeros = random.bounded(2) ? int(random.bounded(whole + decimals)) : 0;
        for (int k = 0; k < whole + decimals; ++k) {
            const char digit = k < zeros ? '0' : char('0' + random.bounded(10));
            if (k == whole) {
                text += u',';
                plain += '.';
            } else if (k > 0 && k < whole && (whole - k) % 3 == 0) {
                text += u'.';
            }
            text += QChar(digit);
            plain += digit;
        }
        double expected = 0;
        std::from_chars(plain.data(), plain.data() + plain.size(), expected);
        expected = text.startsWith(u'-') ? -expected : expected;
        const std::optional<double> value = MoneyValue(text);
        QVERIFY2(value.has_value(), qPrintable(text));
        QVERIFY2(std::memcmp(&*value, &expected, sizeof expected) == 0, qPrintable(text));
    }
}

void TestValues::isDecimalText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("integer") << "42" << true;
    QTest::newRow("decimal") << "42,5" << true;
    QTest::newRow("signed") << "-42,5" << true;
    QTest::newRow("plus") << "+1" << true;
    QTest::newRow("lone comma") << "," << true;
    QTest::newRow("comma then digits") << ",75" << true;
    QTest::newRow("exponent") << "1e5" << true;
    QTest::newRow("exponent signed") << "1,5E-3" << true;
    QTest::newRow("exponent without digits") << "1e" << true;
    QTest::newRow("spaces") << "  7  " << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("lone sign") << "-" << false;
    QTest::newRow("lone exponent") << "E5" << false;
    QTest::newRow("dot") << "1.5" << false;
    QTest::newRow("two commas") << "1,2,3" << false;
    QTest::newRow("space inside") << "1 2" << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("double sign") << "--1" << false;
    QTest::newRow("overflow") << "1e400" << false;
    QTest::newRow("huge digits") << QString(400, u'9') << false;
    QTest::newRow("many digits") << QString(300, u'9') << true;
    QTest::newRow("only spaces") << "   " << false;
    QTest::newRow("tab") << "1\t" << false;
}

void TestValues::isDecimalText()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(IsDecimalText(text), expected);
}

void TestValues::numberText_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("expected");
    QTest::newRow("decimal") << 1234.5 << "1234,5";
    QTest::newRow("whole") << 7.0 << "7";
    QTest::newRow("negative fraction") << -0.25 << "-0,25";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("binary noise rounded") << 0.1 + 0.2 << "0,3";
    QTest::newRow("sum example") << 1244.5 << "1244,5";
    QTest::newRow("fifteen digits") << 123456789012.345 << "123456789012,345";
    QTest::newRow("large whole") << 1e15 << "1000000000000000";
    QTest::newRow("tiny written out") << 1.5e-7 << "0,00000015";
    QTest::newRow("round to fifteen") << 2.0 / 3.0 << "0,666666666666667";
}

void TestValues::numberText()
{
    QFETCH(double, x);
    QFETCH(QString, expected);
    QCOMPARE(NumberText(x), expected);
}

// A computed amount must always come out as money: never as an exponent that
// FormatMoney would cut, and never a cent short because of binary noise.
void TestValues::computedAmountsStayMoney_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("noise around zero") << 0.1 + 0.2 - 0.3 << "0,00";
    QTest::newRow("cancellation") << 1000.30 - 1000.10 << "0,20";
    QTest::newRow("difference") << 1000.00 - 250.50 << "749,50";
    QTest::newRow("product") << 1500.0 * 3.0 << "4.500,00";
    QTest::newRow("extra decimals are cut") << 1.5 * 3.333 << "4,99";
    QTest::newRow("negative") << -1234567.891 << "-1.234.567,89";
    QTest::newRow("large") << 2e15 << "2.000.000.000.000.000,00";
    QTest::newRow("accumulated") << 1000.50 + 2000.25 << "3.000,75";
}

void TestValues::computedAmountsStayMoney()
{
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(AmountText(amount), expected);
}

// Amounts are written without building NumberText's text first: they must
// come out as NumberText and FormatMoney write them, at every magnitude.
void TestValues::amountTextAsNumberTextThenFormatMoney()
{
    const double seeds[] = {0.0,  0.004,  0.005, 0.00005, 0.1,     0.125, 0.995,
                            1.0,  9.999,  10.5,  99.99,   999.995, 1e3,   123456.7891,
                            1e15, 2.5e17, 1e22,  3.3e100, 1e299,   1e300, 1.7e308};
    int compared = 0;
    for (const double seed : seeds) {
        for (const double factor : {1.0, 1.0 / 3.0, 7.0 / 9.0, 1.000001, 1e-3, 1e-5}) {
            for (const double sign : {1.0, -1.0}) {
                const double x = sign * seed * factor;
                // Beyond a ten-thousandth of the range, the amount as it is.
                const double rounded = std::round(x * 10000.0) / 10000.0;
                const QString expected =
                    FormatMoney(NumberText(std::isfinite(rounded) ? rounded : x));
                QVERIFY2(AmountText(x) == expected, qPrintable(QString::number(x, 'g', 17)));
                ++compared;
            }
        }
    }
    // Sums of amounts as accumulation makes them, at every magnitude up to
    // and past the short road's end.
    QRandomGenerator random(1208);
    for (int n = 0; n < 20000; ++n) {
        const double cents = std::floor(random.generateDouble() * std::pow(10.0, n % 17));
        const double x = (n % 2 ? -1.0 : 1.0) * (cents / 100.0 + random.bounded(100) / 100.0);
        const double rounded = std::round(x * 10000.0) / 10000.0;
        QVERIFY2(AmountText(x) == FormatMoney(NumberText(rounded)),
                 qPrintable(QString::number(x, 'g', 17)));
        ++compared;
    }
    QCOMPARE(compared, 252 + 20000);
}

// Accumulation writes item after item into one text: longer, shorter and
// back, each as CentsText writes it, and a copy taken before keeps its own.
void TestValues::centsTextWrittenAgain()
{
    QString text;
    QString kept;
    QString keptWas;
    for (const std::int64_t cents : {123456789012LL, -5LL, 0LL, 100000LL, -99999999LL, 7LL}) {
        setCentsText(text, cents);
        QCOMPARE(text, CentsText(cents));
        QCOMPARE(kept, keptWas);
        kept = text;
        keptWas = CentsText(cents);
    }
}

void TestValues::formatDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("placeholder") << "__/__/____"
                                 << "__/__/____";
    QTest::newRow("with slashes") << "1/2/2005"
                                  << "1/2/2005";
    QTest::newRow("eight digits") << "31122005"
                                  << "31/12/2005";
    QTest::newRow("letters") << "abcdefgh"
                             << "ab/cd/efgh";
    QTest::newRow("four") << "0102"
                          << "01/02";
    QTest::newRow("three") << "010"
                           << "01/0";
    QTest::newRow("one") << "1"
                         << "1";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("five") << "01022"
                          << "01/02/2";
}

void TestValues::formatDate()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(FormatDate(text), expected);
}

void TestValues::formatCnpj_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("digits") << "11222333000181"
                            << "11.222.333/0001-81";
    QTest::newRow("formatted") << "11.222.333/0001-81"
                               << "11.222.333/0001-81";
    QTest::newRow("thirteen digits") << "1122233300018"
                                     << "1122233300018";
    QTest::newRow("twelve digits") << "112223330001"
                                   << "112223330001";
    QTest::newRow("letter inside") << "1122233300018a"
                                   << "1122233300018a";
    QTest::newRow("eighteen, other marks") << "11-222-333.0001/81"
                                           << "11.222.333/0001-81";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("alphanumeric") << "12ABC34501DE35"
                                  << "12.ABC.345/01DE-35";
    QTest::newRow("alphanumeric, small letters") << "12abc34501de35"
                                                 << "12.ABC.345/01DE-35";
    QTest::newRow("alphanumeric, formatted") << "12.ABC.345/01DE-35"
                                             << "12.ABC.345/01DE-35";
    QTest::newRow("alphanumeric, letter in the check digits") << "12ABC34501DE3A"
                                                              << "12ABC34501DE3A";
    QTest::newRow("alphanumeric, thirteen") << "12ABC34501DE3"
                                            << "12ABC34501DE3";
    QTest::newRow("alphanumeric, accented letter") << "12ÁBC34501DE35"
                                                   << "12ÁBC34501DE35";
    QTest::newRow("alphanumeric, a space") << "12 BC34501DE35"
                                           << "12 BC34501DE35";
    // Numeric texts keep the older rule: anything that reads as a number.
    QTest::newRow("number with a sign") << "+1222333000181"
                                        << "+1.222.333/0001-81";
}

void TestValues::formatCnpj()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(FormatCnpj(text), expected);
}

void TestValues::checkDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("cnpj");
    QTest::addColumn<bool>("cpf");
    QTest::newRow("cnpj digits") << "11222333000181" << true << false;
    QTest::newRow("cnpj formatted") << "11.222.333/0001-81" << true << false;
    QTest::newRow("cnpj with spaces") << " 11 222 333 0001 81 " << true << false;
    QTest::newRow("cnpj first digit wrong") << "11.222.333/0001-71" << false << false;
    QTest::newRow("cnpj second digit wrong") << "11.222.333/0001-82" << false << false;
    QTest::newRow("cnpj remainder below two") << "45.645.645/0001-10" << true << false;
    QTest::newRow("cnpj branch") << "14.714.714/0002-57" << true << false;
    QTest::newRow("cnpj one digit repeated") << "00.000.000/0000-00" << false << false;
    QTest::newRow("cnpj thirteen digits") << "1122233300018" << false << false;
    QTest::newRow("alphanumeric") << "12.ABC.345/01DE-35" << true << false;
    QTest::newRow("alphanumeric, small letters") << "12abc34501de35" << true << false;
    QTest::newRow("alphanumeric, letters first") << "AB12CD34000184" << true << false;
    QTest::newRow("alphanumeric, digit wrong") << "12.ABC.345/01DE-36" << false << false;
    QTest::newRow("alphanumeric, letters swapped") << "12.BAC.345/01DE-35" << false << false;
    QTest::newRow("alphanumeric, letter as check digit") << "12ABC34501DE3E" << false << false;
    QTest::newRow("alphanumeric, punctuation") << "12ABC*4501DE35" << false << false;
    QTest::newRow("cpf digits") << "52998224725" << false << true;
    QTest::newRow("cpf formatted") << "529.982.247-25" << false << true;
    QTest::newRow("cpf remainder below two") << "123.456.789-09" << false << true;
    QTest::newRow("cpf first digit wrong") << "529.982.247-35" << false << false;
    QTest::newRow("cpf second digit wrong") << "529.982.247-24" << false << false;
    QTest::newRow("cpf one digit repeated") << "111.111.111-11" << false << false;
    QTest::newRow("cpf with a letter") << "5299822472A" << false << false;
    QTest::newRow("empty") << "" << false << false;
}

void TestValues::checkDigits()
{
    QFETCH(QString, text);
    QFETCH(bool, cnpj);
    QFETCH(bool, cpf);
    QCOMPARE(IsValidCnpj(text), cnpj);
    QCOMPARE(IsValidCpf(text), cpf);
}

QTEST_GUILESS_MAIN(TestValues)
#include "test_values.moc"
