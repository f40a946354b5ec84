// The lookup store's indexes against a plain scan of its lines, through
// random changes of registries in order and out of order, with codes and
// names that differ in case only and lines that repeat.
#include "lookupstore.h"
#include "registry.h"
#include "textcompare.h"
#include "values.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quelvara;

namespace {

int naiveIndexOf(const QStringList &lines, int column, const QString &text)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (sameText(GetField(lines.at(i), column), text)) {
            return i;
        }
    }
    return -1;
}

QString randomText(QRandomGenerator &random, const QString &alphabet)
{
    QString text;
    for (int n = 1 + random.bounded(2); n > 0; --n) {
        text += alphabet[random.bounded(int(alphabet.size()))];
    }
    return text;
}

QString randomLine(QRandomGenerator &random)
{
    return randomText(random, QStringLiteral("12.aA")) + u'\t' +
           randomText(random, QStringLiteral("xXé")) + u'\t';
}

} // namespace

class TestLookupStore : public QObject {
    Q_OBJECT

private slots:
    void randomChangesMatchAScan_data();
    void randomChangesMatchAScan();
};

void TestLookupStore::randomChangesMatchAScan_data()
{
    QTest::addColumn<bool>("sortedAtFirst");
    QTest::newRow("saved registry, in order") << true;
    QTest::newRow("registry written by hand") << false;
}

void TestLookupStore::randomChangesMatchAScan()
{
    QFETCH(bool, sortedAtFirst);
    for (int seed = 1; seed <= 40; ++seed) {
        QRandomGenerator random(seed);
        QStringList reference;
        for (int i = random.bounded(12); i > 0; --i) {
            reference.append(randomLine(random));
        }
        if (sortedAtFirst) {
            sortRegistry(reference);
        }
        LookupStore store;
        store.assign(reference);
        QCOMPARE(store.isSorted(), std::is_sorted(reference.cbegin(), reference.cend(), lessText));

        for (int step = 0; step < 60; ++step) {
            const int what = random.bounded(4);
            if (what == 0) {
                QStringList added;
                for (int i = random.bounded(3); i > 0; --i) {
                    added.append(randomLine(random));
                }
                // As saving an item adds: in place when in order, else appended and sorted.
                if (store.isSorted()) {
                    for (const QString &line : added) {
                        insertSorted(reference, line);
                    }
                } else {
                    reference += added;
                    sortRegistry(reference);
                }
                store.add(added);
            } else if (what == 1 && !reference.isEmpty()) {
                const int i = random.bounded(int(reference.size()));
                reference.removeAt(i);
                store.removeAt(i);
            } else {
                const int column = 1 + random.bounded(2);
                const QString text = column == 1 ? randomText(random, QStringLiteral("12.aA"))
                                                 : randomText(random, QStringLiteral("xXé"));
                QCOMPARE(store.indexOf(column, text), naiveIndexOf(reference, column, text));
            }
            QCOMPARE(store.lines(), reference);
            // Asked for now and then, so that changes find the codes read or not yet read.
            if (random.bounded(4) == 0) {
                QCOMPARE(store.codes(), registryColumn(reference, 1));
            }
        }
        for (const QString &line : reference) {
            for (int column : {1, 2}) {
                const QString text = GetField(line, column).toUpper();
                QCOMPARE(store.indexOf(column, text), naiveIndexOf(reference, column, text));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestLookupStore)
#include "test_lookupstore.moc"
