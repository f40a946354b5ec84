#include "catalogue.h"
#include "recalculation.h"
#include "reportpaths.h"
#include "reportsession.h"
#include "testfiles.h"
#include "textfile.h"

#include <QTest>

#include <optional>

using namespace quelvara;

namespace {

const QString kYear = QStringLiteral("2005");
const QString kUnreadable = QStringLiteral("<unreadable>");

// Writes a data file of a period: its lines, or a directory in its place for kUnreadable.
bool putPeriod(const ReportKind &kind, int period, const QStringList &lines)
{
    const QString path = dataFilePath(kYear, kind.prefix, QString::number(period));
    if (lines == QStringList{kUnreadable}) {
        return QDir().mkpath(path);
    }
    return QDir().mkpath(QFileInfo(path).absolutePath()) && writeLines(path, lines).ok();
}

} // namespace

class TestRecalculation : public QObject {
    Q_OBJECT

private slots:
    void init() { scratch_.emplace(); }
    void cleanup() { scratch_.reset(); }
    void sameAsTheEditorWrites_data();
    void sameAsTheEditorWrites();
    void noYearNoPeriods();

private:
    std::optional<ScratchDir> scratch_;
};

void TestRecalculation::sameAsTheEditorWrites_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("registry");
    QTest::addColumn<QList<QStringList>>("files"); // index p - 1: period p; empty: no file
    QTest::addColumn<int>("n");

    const QStringList taxes = {"101\tIPTU\t", "102\tISS\t"};
    QTest::newRow("stale after the first month was corrected")
        << 0 << 0 << taxes
        << QList<QStringList>{{"101\tIPTU\t2.000,00\t2.000,00\t0\t", "102\tISS\t10,00\t10,00\t0\t"},
                              {"101\tIPTU\t500,00\t1.500,00\t0\t", "102\tISS\t5,00\t15,00\t1\t"},
                              {"101\tIPTU\t250,00\t1.750,00\t0\t"}}
        << 3;
    QTest::newRow("a month missing, an instruction, a code out of the registry")
        << 0 << 0 << taxes
        << QList<QStringList>{{"101\tIPTU\t100,00\t100,00\t0\t"},
                              {},
                              {"101\tIPTU\t250,00\tClique\t0\t", "999\tOutro\t1,00\t9,00\t0\t"},
                              {"102\tISS\t7,00\t7,00\t0\t"}}
        << 4;
    QTest::newRow("an amount that is no number")
        << 0 << 0 << taxes
        << QList<QStringList>{{"101\tIPTU\tabc\tabc\t0\t"}, {"101\tIPTU\t1,00\t1,00\t0\t"}} << 2;
    QTest::newRow("an unreadable month") << 0 << 0 << taxes
                                         << QList<QStringList>{{"101\tIPTU\t100,00\t100,00\t0\t"},
                                                               {kUnreadable},
                                                               {"101\tIPTU\t250,00\t350,00\t0\t"}}
                                         << 3;
    QTest::newRow("two accumulated fields")
        << 1 << 2 << QStringList{"04\tAdministração\t", "10\tSaúde\t"}
        << QList<QStringList>{{"04\tAdministração\t900,00\t100,00\t100,00\t80,00\t80,00\t0\t"},
                              {"04\tAdministração\t900,00\t50,00\t50,00\t40,00\t120,00\t0\t",
                               "10\tSaúde\t1,00\t2,00\t3,00\t4,00\t5,00\t0\t"}}
        << 2;
    QTest::newRow("purchases: nothing merged")
        << 0 << 7 << QStringList{"Papelaria\t12\t"} << QList<QStringList>{{}, {"000001\tx\t"}} << 2;
}

void TestRecalculation::sameAsTheEditorWrites()
{
    QFETCH(int, category);
    QFETCH(int, position);
    QFETCH(QStringList, registry);
    QFETCH(QList<QStringList>, files);
    QFETCH(int, n);
    const ReportKind *kind = reportKind(ReportCategory(category), position);
    QVERIFY(kind);
    QVERIFY(QDir().mkpath(QStringLiteral("dados")));
    QVERIFY(writeLines(dataFile(kind->registryFile), registry).ok());
    for (int p = 1; p <= files.size(); ++p) {
        if (!files.at(p - 1).isEmpty()) {
            QVERIFY(putPeriod(*kind, p, files.at(p - 1)));
        }
    }

    const QMap<QString, QByteArray> before = treeBytes();
    const QList<RecalculatedPeriod> periods = recalculatePeriods(*kind, kYear, registry, n);
    QCOMPARE(treeBytes(), before); // nothing written
    QCOMPARE(periods.size(), n);

    ReportSession session{ReportCategory(category)};
    QVERIFY(session.chooseKind(position, kind->title).ok);
    session.setYear(kYear);
    session.setPeriod(n - 1, QString());
    (void)session.recalculateYear();

    for (const RecalculatedPeriod &period : periods) {
        const bool unreadable = files.value(period.period - 1) == QStringList{kUnreadable};
        QCOMPARE(period.written(), !unreadable);
        QCOMPARE(period.stored, files.value(period.period - 1).isEmpty() || unreadable
                                    ? QStringList()
                                    : files.at(period.period - 1));
        if (!unreadable) {
            QCOMPARE(readLines(period.path).lines, period.items.lines());
        }
    }
}

void TestRecalculation::noYearNoPeriods()
{
    const ReportKind *kind = reportKind(ReportCategory::Mensais, 0);
    QVERIFY(recalculatePeriods(*kind, QStringLiteral("05"), {}, 3).isEmpty());
}

QTEST_GUILESS_MAIN(TestRecalculation)
#include "test_recalculation.moc"
