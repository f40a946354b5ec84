#include "itemlist.h"
#include "textcompare.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace quelvara;

namespace {

QString lineOf(const QString &code, const QString &rest = QStringLiteral("x"))
{
    return code + u'\t' + rest + u'\t';
}

// The first position whose code equals the text ignoring case, found the slow way.
int naiveIndexOf(const ItemList &items, const QString &code)
{
    for (int i = 0; i < items.size(); ++i) {
        if (items.code(i).compare(code, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

bool inOrder(const QStringList &codes)
{
    for (int i = 1; i < codes.size(); ++i) {
        if (lessText(codes.at(i), codes.at(i - 1))) {
            return false;
        }
    }
    return true;
}

} // namespace

class TestItemList : public QObject {
    Q_OBJECT

private slots:
    void ordering_data();
    void ordering();
    void putKeepsOrder();
    void putReplacesIgnoringCase_data();
    void putReplacesIgnoringCase();
    void linesFollowTheirCodes();
    void removeAtUpdatesLookUp();
    void handEditedCaseTwins();
    void lineCodes_data();
    void lineCodes();
    void clearEmpties();
    void randomOperationsMatchReference();
};

void TestItemList::ordering_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("mixed case") << QStringList{"abd", "ABC", "Abb", "aBa"}
                                << QStringList{"aBa", "Abb", "ABC", "abd"};
    QTest::newRow("accents sort with their letter")
        << QStringList{QStringLiteral("Zé"),    QStringLiteral("Ção"),    QStringLiteral("cobre"),
                       QStringLiteral("Ágata"), QStringLiteral("abelha"), QStringLiteral("bola")}
        << QStringList{QStringLiteral("abelha"), QStringLiteral("Ágata"), QStringLiteral("bola"),
                       QStringLiteral("Ção"),    QStringLiteral("cobre"), QStringLiteral("Zé")};
    QTest::newRow("registry codes")
        << QStringList{"1112.04.34", "1112.02.00", "1113.05.01", "1112.04.31"}
        << QStringList{"1112.02.00", "1112.04.31", "1112.04.34", "1113.05.01"};
    QTest::newRow("empty code first") << QStringList{"b", "", "a"} << QStringList{"", "a", "b"};
}

void TestItemList::ordering()
{
    QFETCH(QStringList, given);
    QFETCH(QStringList, expected);

    QStringList lines;
    for (const QString &code : given) {
        lines.append(lineOf(code));
    }
    ItemList bulk;
    bulk.assignLines(lines);
    QCOMPARE(bulk.codes(), expected);

    ItemList oneByOne;
    for (const QString &code : given) {
        oneByOne.put(code, lineOf(code));
    }
    QCOMPARE(oneByOne.codes(), expected);
}

void TestItemList::putKeepsOrder()
{
    ItemList items;
    QCOMPARE(items.put("m", lineOf("m")), 0);
    QCOMPARE(items.put("c", lineOf("c")), 0);
    QCOMPARE(items.put("x", lineOf("x")), 2);
    QCOMPARE(items.put("d", lineOf("d")), 1);
    QCOMPARE(items.codes(), (QStringList{"c", "d", "m", "x"}));
    QCOMPARE(items.indexOf("x"), 3);
    QCOMPARE(items.indexOf("m"), 2);
}

void TestItemList::putReplacesIgnoringCase_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("saved");

    QTest::newRow("lower replaces upper") << "ABC"
                                          << "abc";
    QTest::newRow("upper replaces lower") << "abc"
                                          << "ABC";
    QTest::newRow("accented") << QStringLiteral("AÇÃO") << QStringLiteral("ação");
    QTest::newRow("same text") << "abc"
                               << "abc";
}

void TestItemList::putReplacesIgnoringCase()
{
    QFETCH(QString, stored);
    QFETCH(QString, saved);

    ItemList items;
    items.put("a0", lineOf("a0"));
    items.put(stored, lineOf(stored, "old"));
    items.put("zz", lineOf("zz"));
    const int at = items.put(saved, lineOf(saved, "new"));

    QCOMPARE(items.size(), 3);
    QCOMPARE(items.code(at), saved);
    QCOMPARE(items.line(at), lineOf(saved, "new"));
    QCOMPARE(items.indexOf(stored), at);
    QVERIFY(!items.lines().contains(lineOf(stored, "old")));
}

void TestItemList::linesFollowTheirCodes()
{
    ItemList items;
    items.assignLines({"b\tsecond\t", "a\tfirst\t", "c\tthird\t"});
    items.put("ab", "ab\tbetween\t");
    QCOMPARE(items.codes(), (QStringList{"a", "ab", "b", "c"}));
    QCOMPARE(items.lines(),
             (QStringList{"a\tfirst\t", "ab\tbetween\t", "b\tsecond\t", "c\tthird\t"}));
}

void TestItemList::removeAtUpdatesLookUp()
{
    ItemList items;
    items.assignLines({"a\t", "b\t", "c\t"});
    QCOMPARE(items.indexOf("C"), 2);
    items.removeAt(0);
    QCOMPARE(items.indexOf("a"), -1);
    QCOMPARE(items.indexOf("B"), 0);
    QCOMPARE(items.indexOf("c"), 1);
    QCOMPARE(items.lines(), (QStringList{"b\t", "c\t"}));

    // Changes made to a list taken over whole before its first look-up.
    items.assignLines({"c\t", "a\t"});
    items.insert("b", "b\t");
    items.removeAt(0);
    QCOMPARE(items.indexOf("B"), 0);
    items.removeAt(0);
    QCOMPARE(items.indexOf("b"), -1);
    QCOMPARE(items.indexOf("c"), 0);
}

void TestItemList::handEditedCaseTwins()
{
    // A file edited by hand may hold one code twice in different case: both
    // lines stay, a look-up finds the first and a save replaces only that one.
    ItemList items;
    items.assignLines({"x\t", "ABC\tupper\t", "abc\tlower\t"});
    QCOMPARE(items.size(), 3);
    QCOMPARE(items.indexOf("aBc"), 0);
    QVERIFY(sameText(items.code(1), "abc"));
    const QString firstLine = items.line(0);

    items.put("Abc", "Abc\tsaved\t");
    QCOMPARE(items.size(), 3);
    QVERIFY(items.lines().contains("Abc\tsaved\t"));
    QVERIFY(!items.lines().contains(firstLine));
    QCOMPARE(items.lines().filter("\tupper\t").size() + items.lines().filter("\tlower\t").size(),
             1);
    QCOMPARE(items.indexOf("ABC"), 0);

    items.removeAt(0);
    QCOMPARE(items.indexOf("abc"), 0);
    QCOMPARE(items.size(), 2);
    items.removeAt(0);
    QCOMPARE(items.indexOf("abc"), -1);
    QCOMPARE(items.codes(), QStringList{"x"});
}

void TestItemList::lineCodes_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("code");

    QTest::newRow("record") << "1112.02.00\tIPTU\t1,00\t"
                            << "1112.02.00";
    QTest::newRow("no tab") << "1112.02.00"
                            << "";
    QTest::newRow("empty code") << "\tname\t"
                                << "";
    QTest::newRow("empty line") << ""
                                << "";
}

void TestItemList::lineCodes()
{
    QFETCH(QString, line);
    QFETCH(QString, code);
    QCOMPARE(lineCode(line), code);

    ItemList items;
    items.assignLines({line});
    QCOMPARE(items.code(0), code);
    QCOMPARE(items.line(0), line);
}

void TestItemList::clearEmpties()
{
    ItemList items;
    items.assignLines({"a\t", "b\t"});
    QCOMPARE(items.indexOf("b"), 1);
    items.clear();
    QVERIFY(items.isEmpty());
    QCOMPARE(items.indexOf("b"), -1);
    items.put("b", "b\t");
    QCOMPARE(items.indexOf("B"), 0);
}

void TestItemList::randomOperationsMatchReference()
{
    // A short alphabet forces case twins and many replacements.
    QRandomGenerator random(20050301);
    const QString alphabet = QStringLiteral("aAbBçÇ");
    const auto randomCode = [&] {
        QString code;
        const int length = int(random.bounded(1, 4));
        for (int i = 0; i < length; ++i) {
            code += alphabet.at(int(random.bounded(alphabet.size())));
        }
        return code;
    };

    ItemList items;
    for (int step = 0; step < 2000; ++step) {
        const QString code = randomCode();
        if (random.bounded(40) == 0) {
            // Taken over whole, as a period is loaded: the next changes come
            // before any look-up.
            QStringList lines = items.lines();
            std::shuffle(lines.begin(), lines.end(), random);
            items.assignLines(lines);
        } else if (random.bounded(4) == 0 && !items.isEmpty()) {
            items.removeAt(int(random.bounded(items.size())));
        } else if (random.bounded(5) == 0) {
            items.insert(code, lineOf(code, QString::number(step)));
        } else {
            const int before = naiveIndexOf(items, code);
            const int size = items.size();
            const int at = items.put(code, lineOf(code, QString::number(step)));
            QCOMPARE(items.size(), before >= 0 ? size : size + 1);
            QCOMPARE(items.code(at), code);
        }
        QVERIFY(inOrder(items.codes()));
        if (random.bounded(3) == 0) {
            const QString probe = randomCode();
            QCOMPARE(items.indexOf(probe), naiveIndexOf(items, probe));
        }
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(lineCode(items.line(i)), items.code(i));
        }
    }
}

QTEST_GUILESS_MAIN(TestItemList)
#include "test_itemlist.moc"
