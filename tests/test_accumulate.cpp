#include "accumulate.h"
#include "messages.h"
#include "reportpaths.h"
#include "textcompare.h"
#include "textfile.h"
#include "values.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace quelvara;

namespace {

const QString kPrefix = QStringLiteral("trib-arrec-");
const QString kYear = QStringLiteral("2005");

// A line of a data file: each field followed by a TAB.
QString record(const QStringList &fields)
{
    QString line;
    for (const QString &field : fields) {
        line += field + u'\t';
    }
    return line;
}

std::uint64_t power(int digits)
{
    std::uint64_t p = 1;
    while (digits-- > 0) {
        p *= 10;
    }
    return p;
}

QString notDouble(const QString &before, const QString &value)
{
    return QStringLiteral("O valor anterior nao eh double: ") + before + QStringLiteral(" + ") +
           value;
}

} // namespace

class TestAccumulate : public QObject {
    Q_OBJECT

private:
    QTemporaryDir *dir_ = nullptr;
    QString previousDir_;

    // Writes the data file of a period of the monthly taxes of 2005.
    void writePeriod(const QString &periodo, const QStringList &lines)
    {
        QVERIFY(makeDir(dataDir()));
        QVERIFY(makeDir(dataYearDir(kYear)));
        QVERIFY(writeLines(dataFilePath(kYear, kPrefix, periodo), lines).ok());
    }

    Accumulation compute(const QString &periodo, const QString &value, int k, const QString &code)
    {
        Accumulator accumulator(kYear, kPrefix, periodo);
        return accumulator.value(value, k, code);
    }

private slots:
    void init()
    {
        previousDir_ = QDir::currentPath();
        dir_ = new QTemporaryDir;
        QVERIFY(dir_->isValid());
        QDir::setCurrent(dir_->path());
    }

    void cleanup()
    {
        QDir::setCurrent(previousDir_);
        delete dir_;
        dir_ = nullptr;
    }

    void instructionText()
    {
        QCOMPARE(
            msg::accumulationInstruction(),
            QStringLiteral("Clique no botão \"Atualizar Valores\" para calcular o acumulado."));
    }

    void previousPeriodNumber_data()
    {
        QTest::addColumn<QString>("periodo");
        QTest::addColumn<QString>("previous");
        QTest::newRow("2") << "2"
                           << "1";
        QTest::newRow("4") << "4"
                           << "3";
        QTest::newRow("10 has one digit less") << "10"
                                               << "9";
        QTest::newRow("12") << "12"
                            << "11";
    }

    void previousPeriodNumber()
    {
        QFETCH(QString, periodo);
        QFETCH(QString, previous);
        QCOMPARE(quelvara::previousPeriodNumber(periodo), previous);
    }

    void sum_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("thousands") << "2.000,25"
                                   << "1.000,50"
                                   << "3.000,75";
        QTest::newRow("zeros") << "0,00"
                               << "0,00"
                               << "0,00";
        QTest::newRow("one decimal") << "1.000,00"
                                     << "244,5"
                                     << "1.244,50";
        QTest::newRow("millions") << "1.234.567,89"
                                  << "10,11"
                                  << "1.234.578,00";
        QTest::newRow("negative result") << "-100,00"
                                         << "50,00"
                                         << "-50,00";
        QTest::newRow("no cent lost to rounding") << "-1.000,10"
                                                  << "1.000,30"
                                                  << "0,20";
        QTest::newRow("whole numbers") << "1500"
                                       << "3000"
                                       << "4.500,00";
    }

    void sum()
    {
        QFETCH(QString, before);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        writePeriod(QStringLiteral("2"), {record({"101", "IPTU", "9,99", before, "0"})});
        const Accumulation result = compute(QStringLiteral("3"), value, 4, QStringLiteral("101"));
        QCOMPARE(result.text, expected);
        QCOMPARE(result.message, QString());
    }

    // Amounts in the form the program writes are added as whole cents: the
    // text must be what AmountText makes of the sum of their values, at every
    // magnitude, on both sides of where whole cents are no longer used.
    void writtenAmountsAddAsTheirValues()
    {
        QRandomGenerator random(2026);
        const auto amount = [&random](int n) {
            const std::uint64_t edge = 10'000'000'000'000;
            const std::uint64_t cents =
                n % 9 == 0 ? edge - 1 + random.bounded(3) : random.generate64() % power(n % 16);
            return AmountText((random.bounded(2) ? -1.0 : 1.0) * double(cents) / 100.0);
        };
        for (int n = 0; n < 20000; ++n) {
            const QString before = amount(n);
            const QString value = amount(n / 16);
            const PreviousPeriod previous = PreviousPeriod::fromRead(
                QStringLiteral("anterior"),
                TextLines{ReadStatus::Ok, {record({"101", "IPTU", "9,99", before, "0"})}});
            const double sum = *MoneyValue(before) + *MoneyValue(value);
            const QString expected = FormatMoney(NumberText(std::round(sum * 10000.0) / 10000.0));
            QVERIFY2(accumulate(previous, value, 4, QStringLiteral("101")).text == expected,
                     qPrintable(before + QStringLiteral(" + ") + value));
        }
    }

    // Whatever the order of the lines and of the look-ups, a look-up finds
    // the first line whose code is the same without regard to case.
    void lookupsFindTheFirstLineOfACode()
    {
        const QStringList pool{"1", "10", "2", "a", "A", "b", "ß", "SS", "ss", "", "1.1"};
        QRandomGenerator random(1208);
        for (int trial = 0; trial < 2000; ++trial) {
            QStringList codes;
            for (int n = int(random.bounded(8)); n > 0; --n) {
                codes.append(pool.at(int(random.bounded(int(pool.size())))));
            }
            if (trial % 2 == 0) {
                // As the program saves them: ascending, one line a code, but
                // now and then a code twice.
                std::sort(codes.begin(), codes.end());
                codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
                if (trial % 4 == 0 && !codes.isEmpty()) {
                    codes.insert(int(random.bounded(int(codes.size()))), codes.constLast());
                }
            }
            QStringList lines;
            for (qsizetype i = 0; i < codes.size(); ++i) {
                lines.append(record({codes[i], "x", QString::number(i)}));
            }
            const PreviousPeriod previous = PreviousPeriod::fromRead(
                QStringLiteral("anterior"), TextLines{ReadStatus::Ok, lines});
            // Look-ups in the lines' own order, then at random.
            QStringList asked = codes;
            for (int n = 0; n < 6; ++n) {
                asked.append(pool.at(int(random.bounded(int(pool.size())))));
            }
            for (const QString &code : std::as_const(asked)) {
                std::optional<QString> first;
                for (qsizetype i = 0; i < codes.size() && !first; ++i) {
                    if (foldKey(codes[i]) == foldKey(code)) {
                        first = QString::number(i);
                    }
                }
                QVERIFY2(previous.field(code, 3) == first,
                         qPrintable(codes.join(u',') + QStringLiteral(" / ") + code));
            }
        }
    }

    void codesDifferingInCase()
    {
        writePeriod(QStringLiteral("1"), {record({"Água", "Taxa", "1,00", "10,00", "0"})});
        const Accumulation result =
            compute(QStringLiteral("2"), QStringLiteral("5,00"), 4, QStringLiteral("ÁGUA"));
        QCOMPARE(result.text, QStringLiteral("15,00"));
        QCOMPARE(result.message, QString());
    }

    void firstMatchingLineCounts()
    {
        writePeriod(QStringLiteral("1"), {record({"abc", "A", "1,00", "100,00", "0"}),
                                          record({"ABC", "B", "1,00", "900,00", "0"})});
        QCOMPARE(
            compute(QStringLiteral("2"), QStringLiteral("1,00"), 4, QStringLiteral("Abc")).text,
            QStringLiteral("101,00"));
    }

    void itemNewInThisPeriod_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("amount") << "1.234,50";
        QTest::newRow("empty") << "";
        QTest::newRow("not a number") << "abc";
    }

    void itemNewInThisPeriod()
    {
        QFETCH(QString, value);
        writePeriod(QStringLiteral("1"), {record({"101", "IPTU", "1,00", "1,00", "0"})});
        const Accumulation result = compute(QStringLiteral("2"), value, 4, QStringLiteral("102"));
        QCOMPARE(result.text, value);
        QCOMPARE(result.message, QString());
    }

    void notANumber_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty amount") << "2.000,25"
                                      << "" << notDouble(QStringLiteral("2000,25"), QString());
        QTest::newRow("instruction text stored before")
            << msg::accumulationInstruction() << "1.000,50"
            << notDouble(QStringLiteral("Clique no botão \"Atualizar Valores\" para calcular o "
                                        "acumulado"),
                         QStringLiteral("1000,50"));
        QTest::newRow("empty previous field")
            << ""
            << "1.000,50" << notDouble(QString(), QStringLiteral("1000,50"));
        QTest::newRow("currency sign in the amount")
            << "1.000,00"
            << "R$ 10,00" << notDouble(QStringLiteral("1000,00"), QStringLiteral("R$ 10,00"));
    }

    void notANumber()
    {
        QFETCH(QString, before);
        QFETCH(QString, value);
        QFETCH(QString, message);
        writePeriod(QStringLiteral("2"), {record({"101", "IPTU", "1,00", before, "0"})});
        const Accumulation result = compute(QStringLiteral("3"), value, 4, QStringLiteral("101"));
        QCOMPARE(result.text, msg::accumulationInstruction());
        QCOMPARE(result.message, message);
    }

    void absentPreviousFieldIsEmpty()
    {
        // A short line (fewer fields than the kind has) reads as an empty previous value.
        writePeriod(QStringLiteral("1"), {record({"101", "IPTU"}), QStringLiteral("102")});
        const Accumulation result =
            compute(QStringLiteral("2"), QStringLiteral("5,00"), 4, QStringLiteral("101"));
        QCOMPARE(result.text, msg::accumulationInstruction());
        QCOMPARE(result.message, notDouble(QString(), QStringLiteral("5,00")));
        // A line without any TAB has an empty code, so the code 102 is new.
        QCOMPARE(
            compute(QStringLiteral("2"), QStringLiteral("5,00"), 4, QStringLiteral("102")).text,
            QStringLiteral("5,00"));
    }

    void missingPreviousFile()
    {
        // Period 1 exists, period 2 does not: period 3 must not fall back to it.
        writePeriod(QStringLiteral("1"), {record({"101", "IPTU", "1,00", "1,00", "0"})});
        const Accumulation result =
            compute(QStringLiteral("3"), QStringLiteral("1,00"), 4, QStringLiteral("101"));
        QCOMPARE(result.text, msg::accumulationInstruction());
        const QString expected = QDir::toNativeSeparators(
            QDir(dir_->path())
                .absoluteFilePath(QStringLiteral("dados/2005/trib-arrec-2-2005.vqd")));
        QCOMPARE(result.message, QStringLiteral("Não existe o arquivo anterior: ") + expected);
    }

    void unreadablePreviousFileHoldsNoItem()
    {
        // A directory standing where the file should be exists but cannot be read.
        QVERIFY(makeDir(dataDir()));
        QVERIFY(makeDir(dataYearDir(kYear)));
        QVERIFY(QDir().mkdir(dataFilePath(kYear, kPrefix, QStringLiteral("1"))));
        const Accumulation result =
            compute(QStringLiteral("2"), QStringLiteral("7,00"), 4, QStringLiteral("101"));
        QCOMPARE(result.text, QStringLiteral("7,00"));
        QCOMPARE(result.message, QString());
    }

    void firstPeriodReadsNothing_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("amount") << "1.500,00";
        QTest::newRow("empty") << "";
        QTest::newRow("garbage") << "x.y,z";
        QTest::newRow("instruction") << msg::accumulationInstruction();
    }

    void firstPeriodReadsNothing()
    {
        QFETCH(QString, value);
        // No data directory at all: any attempt to read would report a missing file.
        Accumulator accumulator(kYear, kPrefix, QStringLiteral("1"));
        const Accumulation result = accumulator.value(value, 4, QStringLiteral("101"));
        QCOMPARE(result.text, value);
        QCOMPARE(result.message, QString());
        QVERIFY(!accumulator.hasRead());
    }

    void periodTenReadsPeriodNine()
    {
        writePeriod(QStringLiteral("9"), {record({"101", "IPTU", "1,00", "90,00", "0"})});
        writePeriod(QStringLiteral("1"), {record({"101", "IPTU", "1,00", "10,00", "0"})});
        QCOMPARE(
            compute(QStringLiteral("10"), QStringLiteral("10,00"), 4, QStringLiteral("101")).text,
            QStringLiteral("100,00"));
    }

    void bimonthlyFieldsKeptApart()
    {
        // Expense kinds: field 5 accumulates field 4, field 7 accumulates field 6.
        const QString prefix = QStringLiteral("exec-orc-desp-unid-orc-");
        QVERIFY(makeDir(dataDir()));
        QVERIFY(makeDir(dataYearDir(kYear)));
        QVERIFY(writeLines(dataFilePath(kYear, prefix, QStringLiteral("1")),
                           {record({"02.01", "Gabinete", "500,00", "100,00", "1.000,00", "30,00",
                                    "300,00", "0"})})
                    .ok());
        Accumulator accumulator(kYear, prefix, QStringLiteral("2"));
        const Accumulation committed =
            accumulator.value(QStringLiteral("50,00"), 5, QStringLiteral("02.01"));
        const Accumulation settled =
            accumulator.value(QStringLiteral("7,00"), 7, QStringLiteral("02.01"));
        QCOMPARE(committed.text, QStringLiteral("1.050,00"));
        QCOMPARE(settled.text, QStringLiteral("307,00"));
    }

    void previousFileReadOncePerComputation()
    {
        writePeriod(QStringLiteral("1"), {record({"101", "IPTU", "1,00", "10,00", "0"}),
                                          record({"102", "ISS", "1,00", "20,00", "0"})});
        Accumulator accumulator(kYear, kPrefix, QStringLiteral("2"));
        QVERIFY(!accumulator.hasRead());
        QCOMPARE(accumulator.value(QStringLiteral("1,00"), 4, QStringLiteral("101")).text,
                 QStringLiteral("11,00"));
        QVERIFY(accumulator.hasRead());
        // The file as it was read serves every later item of the same computation.
        QVERIFY(QFile::remove(dataFilePath(kYear, kPrefix, QStringLiteral("1"))));
        QCOMPARE(accumulator.value(QStringLiteral("1,00"), 4, QStringLiteral("102")).text,
                 QStringLiteral("21,00"));
        // A new computation sees the disk as it is now.
        QCOMPARE(
            compute(QStringLiteral("2"), QStringLiteral("1,00"), 4, QStringLiteral("102")).text,
            msg::accumulationInstruction());
    }

    void isForItsOwnPeriod()
    {
        const Accumulator accumulator(kYear, kPrefix, QStringLiteral("2"));
        QVERIFY(accumulator.isFor(kYear, kPrefix, QStringLiteral("2")));
        QVERIFY(!accumulator.isFor(kYear, kPrefix, QStringLiteral("3")));
        QVERIFY(!accumulator.isFor(QStringLiteral("2006"), kPrefix, QStringLiteral("2")));
        QVERIFY(!accumulator.isFor(kYear, QStringLiteral("repasses-vol-"), QStringLiteral("2")));
    }

    void yearThatIsNoYearReadsNothing_data()
    {
        QTest::addColumn<QString>("ano");
        QTest::newRow("being typed") << "20";
        QTest::newRow("outside the data directory") << "../x";
    }

    void yearThatIsNoYearReadsNothing()
    {
        QFETCH(QString, ano);
        Accumulator accumulator(ano, kPrefix, QStringLiteral("2"));
        const Accumulation result =
            accumulator.value(QStringLiteral("1,00"), 4, QStringLiteral("101"));
        QCOMPARE(result.text, msg::accumulationInstruction());
        QCOMPARE(result.message, QString());
        QVERIFY(!accumulator.hasRead());
        const PreviousPeriod previous = PreviousPeriod::load(ano, kPrefix, QStringLiteral("2"));
        QCOMPARE(previous.size(), 0);
        QVERIFY(previous.path().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAccumulate)
#include "test_accumulate.moc"
