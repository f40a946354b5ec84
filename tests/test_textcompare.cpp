#include "textcompare.h"

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
}

void TestTextCompare::sameText()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, equal);
    QCOMPARE(quelvara::sameText(a, b), equal);
    QCOMPARE(foldKey(a) == foldKey(b), equal);
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

QTEST_GUILESS_MAIN(TestTextCompare)
#include "test_textcompare.moc"
