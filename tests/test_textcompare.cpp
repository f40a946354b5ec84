#include "textcompare.h"

#include <QCollator>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace quelvara;

class TestTextCompare : public QObject {
    Q_OBJECT

private slots:
    void sameText_data();
    void sameText();
    void sorts_data();
    void sorts();
    void orderIsTotal();
    void independentOfLocale();
    void codesOrderAsTheCollatorSays();
};

void TestTextCompare::sameText_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("equal");
    QTest::newRow("case") << "abc"
                          << "ABC" << true;
    QTest::newRow("accented case") << "ÁGUA"
                                   << "água" << true;
    QTest::newRow("accent matters") << "agua"
                                    << "água" << false;
    QTest::newRow("cedilla") << "FUNÇÃO"
                             << "função" << true;
    QTest::newRow("different") << "1112.02"
                               << "1112.03" << false;
    QTest::newRow("trailing space") << "a"
                                    << "a " << false;
    QTest::newRow("empty") << ""
                           << "" << true;
    // Codes are looked at four characters at a time: capitals and accents at
    // each place of a group and in the characters after the last group.
    QTest::newRow("capital first") << "Abcd.efgh"
                                   << "abcd.efgh" << true;
    QTest::newRow("A at a group's end") << "abcA.bcd"
                                        << "abca.bcd" << true;
    QTest::newRow("Z at a group's start") << "abcd.Zbcd.e"
                                          << "abcd.zbcd.e" << true;
    QTest::newRow("Z after the groups") << "1112.02.00.xZ"
                                        << "1112.02.00.xz" << true;
    QTest::newRow("accent after the groups") << "abcd.efgÉ"
                                             << "abcd.efgé" << true;
    QTest::newRow("next to the capitals") << "@[@[.`{"
                                          << "`{`{.@[" << false;
}

void TestTextCompare::sameText()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, equal);
    QCOMPARE(quelvara::sameText(a, b), equal);
    QCOMPARE(foldKey(a) == foldKey(b), equal);
    QString roomA;
    QString roomB;
    QCOMPARE(foldKey(QStringView(a), roomA) == foldKey(QStringView(b), roomB), equal);
    if (equal) {
        // Equal texts sit side by side in the order, whatever their case.
        QVERIFY(compareTexts(a, b) != 0 || a == b);
    }
}

void TestTextCompare::sorts_data()
{
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("case ignored") << QStringList{"COOPSERENA", "Construtora", "banco", "Abc"}
                                  << QStringList{"Abc", "banco", "Construtora", "COOPSERENA"};
    QTest::newRow("accents by letter") << QStringList{"Órgão", "Zona", "Obra", "ação", "Agua"}
                                       << QStringList{"ação", "Agua", "Obra", "Órgão", "Zona"};
    QTest::newRow("cedilla next to c")
        << QStringList{"cz", "ça", "cb"} << QStringList{"ça", "cb", "cz"};
    QTest::newRow("codes") << QStringList{"1112.02.00", "1112.01.00", "1113", "111"}
                           << QStringList{"111", "1112.01.00", "1112.02.00", "1113"};
}

void TestTextCompare::sorts()
{
    QFETCH(QStringList, input);
    QFETCH(QStringList, sorted);
    std::sort(input.begin(), input.end(), lessText);
    QCOMPARE(input, sorted);
}

void TestTextCompare::orderIsTotal()
{
    // Lines that differ only in case still have a fixed order.
    QStringList a{"abc", "ABC", "Abc"};
    QStringList b{"Abc", "abc", "ABC"};
    std::sort(a.begin(), a.end(), lessText);
    std::sort(b.begin(), b.end(), lessText);
    QCOMPARE(a, b);
    QVERIFY(compareTexts("abc", "ABC") == -compareTexts("ABC", "abc"));
    QVERIFY(compareTexts("abc", "ABC") != 0);
    QCOMPARE(compareTexts("x", "x"), 0);
}

void TestTextCompare::independentOfLocale()
{
    const QLocale previous;
    QLocale::setDefault(QLocale::c());
    QVERIFY(lessText("Construtora", "COOPSERENA"));
    QVERIFY(lessText("ação", "Agua"));
    QLocale::setDefault(previous);
}

// Codes are ordered without the collator where they differ in digits, dots or
// TABs: the order must be the collator's all the same, including where texts
// share a prefix, one ends, or letters, spaces and signs follow. Half the texts
// start with part of a long code, so that pairs share from none to all of its
// characters and go on differently at every place.
void TestTextCompare::codesOrderAsTheCollatorSays()
{
    QCollator insensitive(QLocale(QLocale::Portuguese, QLocale::Brazil));
    insensitive.setCaseSensitivity(Qt::CaseInsensitive);
    QCollator sensitive(QLocale(QLocale::Portuguese, QLocale::Brazil));
    sensitive.setCaseSensitivity(Qt::CaseSensitive);
    const auto reference = [&](const QString &a, const QString &b) {
        int r = insensitive.compare(a, b);
        if (r == 0) {
            r = sensitive.compare(a, b);
        }
        if (r == 0) {
            r = QString::compare(a, b, Qt::CaseSensitive);
        }
        return (r > 0) - (r < 0);
    };
    const QString alphabet = QStringLiteral("0123456789..\t\t019.\taAé -/_,\u00ad");
    QRandomGenerator random(2005);
    QStringList texts{QString(), QStringLiteral("1112.02.00\tIPTU\t"),
                      QStringLiteral("1112.02.00\tiptu\t"), QStringLiteral("1112.02\t")};
    while (texts.size() < 700) {
        const int shared = random.bounded(-20, 20);
        QString text = shared > 0 ? QStringLiteral("1112.02.00.0001\t1112").left(shared) : QString();
        for (int n = random.bounded(8); n > 0; --n) {
            text += alphabet[random.bounded(int(alphabet.size()))];
        }
        texts.append(text);
    }
    for (const QString &a : texts) {
        for (const QString &b : texts) {
            if (compareTexts(a, b) != reference(a, b)) {
                QFAIL(qPrintable(QStringLiteral("\"%1\" against \"%2\"").arg(a, b)));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestTextCompare)
#include "test_textcompare.moc"
