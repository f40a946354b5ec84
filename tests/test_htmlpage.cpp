#include "catalogue.h"
#include "htmlpage.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace quelvara;

Q_DECLARE_METATYPE(quelvara::PageInput)

namespace {

// The page of a catalogue kind of the sample municipality, its officials signing.
PageInput kindPage(ReportCategory category, int position, const QString &periodName,
                   const QStringList &lines)
{
    const ReportKind *kind = reportKind(category, position);
    PageInput input = pageInputOf(*kind);
    input.municipality = QStringLiteral("Vila Serena - MG");
    input.year = QStringLiteral("2005");
    input.periodName = periodName;
    for (const QString &line : lines) {
        input.codes.append(line.section(u'\t', 0, 0));
    }
    input.lines = lines;
    const QStringList officials = sampleLines(QStringLiteral("prefs.vqd"));
    input.prefeito = officials.value(0);
    input.secFin = officials.value(1);
    input.contador = officials.value(2);
    input.crc = officials.value(3);
    return input;
}

// Returns the cells of the page's total row: "total:", then each column's text ("" for a
// column that is not summed); nothing when the page has no total row.
QStringList totalCells(const QStringList &page)
{
    QStringList cells;
    const qsizetype open = page.indexOf(QStringLiteral("    <tr bgcolor=#CCCCCC>"));
    if (open < 0) {
        return cells;
    }
    static const QRegularExpression cell(QStringLiteral("^      <td>(?:<div align=right>)? "
                                                        "(?:&nbsp;)?(.*?)(?:</div>)?</td>$"));
    for (qsizetype i = open + 1; i < page.size() && page.at(i) != QStringLiteral("    </tr>\n");
         ++i) {
        const QRegularExpressionMatch match = cell.match(page.at(i));
        cells.append(match.hasMatch() ? match.captured(1).trimmed() : page.at(i));
    }
    return cells;
}

} // namespace

class TestHtmlPage : public QObject {
    Q_OBJECT
private slots:
    void goldenPages_data();
    void goldenPages();
    void totals_data();
    void totals();
    void escapeHtml_data();
    void escapeHtml();
    void existingPageIsReplaced();
    void yearThatIsNoYearWritesNothing_data();
    void yearThatIsNoYearWritesNothing();
    void yearDirectoryThatCannotBeMade();
    void pageFileThatCannotBeWritten();
};

// Whole pages, byte for byte: every entry followed by CR LF, the LFs inside
// entries as they are, Windows-1252 single bytes for the accented letters.
void TestHtmlPage::goldenPages_data()
{
    QTest::addColumn<PageInput>("input");
    QTest::addColumn<QString>("golden");

    QTest::newRow("monthly taxes: an excluded item, an item without a name")
        << kindPage(ReportCategory::Mensais, 0, QStringLiteral("Março"),
                    {"1112.02.00\tIPTU\t1.500,00\t3.000,00\t0\t",
                     "1113.05.00\tObras <Fase 2> & reforma\t234,25\t500,25\t0\t",
                     "9998\t\t50,00\t50,00\t0\t", "9999\tExcluído\t100,00\t100,00\t1\t"})
        << "trib-arrec-3-2005.htm";
    QTest::newRow("annual result: no total row")
        << kindPage(ReportCategory::Anuais, 8, QString(), {"1.000,00\t2.000,00\t3.000,00\t0\t"})
        << "bal-orc-resultado-nominal-0-2005.htm";
    QTest::newRow("purchases: ten fields")
        << kindPage(ReportCategory::Mensais, 7, QStringLiteral("Abril"),
                    {"001\tSaúde\tHospital Municipal\t11.222.333/0001-81\tPapelaria "
                     "Central\t44.555.666/0001-99\tPapel A4\t25,00\t10\t250,00\t0\t",
                     "002\tEducação\tEscola Rural\t11.222.333/0002-62\tPapelaria "
                     "Central\t44.555.666/0001-99\tCaneta\t1,50\t100\t150,00\t1\t",
                     "003\t\tObras\t\t\t\t\t9.999,00\t1\t9.999,00\t0\t"})
        << "compras-4-2005.htm";
    QTest::newRow("bimonthly expense: budgeted and accumulated columns")
        << kindPage(ReportCategory::Bimestrais, 1, QStringLiteral("2º Bimestre"),
                    {"01.001\tGabinete do "
                     "Prefeito\t100.000,00\t12.345,67\t20.000,00\t10.000,00\t15.000,00\t0\t",
                     "02.001\tSecretaria de "
                     "Obras\t250.000,50\t7.654,33\t9.000,00\t5.000,25\t6.000,75\t\t"})
        << "exec-orc-desp-unid-orc-2-2005.htm";

    // A page is published and opened in a browser: nothing the user typed may
    // become markup, while the template keeps its own entities.
    PageInput typed;
    typed.title = QStringLiteral("Obras <Fase 2> & reforma");
    typed.municipality = QStringLiteral("Vila <b>Serena</b> - MG");
    typed.year = QStringLiteral("2005");
    typed.periodName = QStringLiteral("Março & <i>Abril</i>");
    typed.fieldCount = 3;
    typed.captions = {QStringLiteral("Código <a>:"), QStringLiteral("Nome & obra:"),
                      QStringLiteral("Valor > 0:")};
    typed.fieldTypes = {0, 0, -1};
    typed.codes = {QStringLiteral("A&B"), QStringLiteral("<script>")};
    typed.lines = {QStringLiteral("A&B\tObras <Fase 2> & reforma\t1.000,00\t0\t"),
                   QStringLiteral("<script>\ta&nbsp;b\t<b>5,00</b>\t0\t")};
    typed.prefeito = QStringLiteral("João & Filhos");
    typed.secFin = QStringLiteral("<i>Maria</i>");
    typed.contador = QStringLiteral("Ana>");
    typed.crc = QStringLiteral("CRC<1>");
    QTest::newRow("typed texts are escaped") << typed << "escaped.htm";
}

void TestHtmlPage::goldenPages()
{
    QFETCH(PageInput, input);
    QFETCH(QString, golden);
    ScratchDir work;
    const FileResult written = writePageFile(QStringLiteral("2005"), QStringLiteral("page-"),
                                             QStringLiteral("1"), buildPage(input));
    QVERIFY(written.ok());
    QUELVARA_COMPARE_GOLDEN(fileBytes(work.file(QStringLiteral("2005/page-1-2005.htm"))), golden);
}

void TestHtmlPage::totals_data()
{
    QTest::addColumn<PageInput>("input");
    QTest::addColumn<QStringList>("cells");

    const auto taxes = [](const QStringList &lines) {
        return kindPage(ReportCategory::Mensais, 0, QStringLiteral("Março"), lines);
    };
    const auto revenue = [](const QStringList &lines) {
        return kindPage(ReportCategory::Anuais, 0, QString(), lines);
    };
    QTest::newRow("two taxes") << taxes({"1112\tIPTU\t1.500,00\t3.000,00\t0\t",
                                         "1113\tISS\t2.250,75\t4.100,10\t0\t"})
                               << QStringList{"total:", "", "3.750,75", "7.100,10"};
    QTest::newRow("no taxes") << taxes({}) << QStringList{"total:", "", "0,00", "0,00"};
    QTest::newRow("no revenue") << revenue({}) << QStringList{"total:", "", "0,00"};
    QTest::newRow("negative total keeps its sign")
        << revenue({"1\tReceita A\t-500,00\t0\t", "2\tReceita B\t200,00\t0\t"})
        << QStringList{"total:", "", "-300,00"};
    QTest::newRow("small negative total") << revenue({"1\tA\t-0,10\t0\t", "2\tB\t0,05\t0\t"})
                                          << QStringList{"total:", "", "-0,05"};
    QTest::newRow("money fields that are no amounts add nothing")
        << revenue({"1\tA\tabc\t0\t", "2\tB\tR$ 10,00\t0\t", "3\tC\t1.234,56\t0\t", "4\tD\t"})
        << QStringList{"total:", "", "1.234,56"};
    QTest::newRow("0,10 and 0,20") << revenue({"1\tA\t0,10\t0\t", "2\tB\t0,20\t0\t"})
                                   << QStringList{"total:", "", "0,30"};
    QTest::newRow("1.000,25 and 234,25") << revenue({"1\tA\t1.000,25\t0\t", "2\tB\t234,25\t0\t"})
                                         << QStringList{"total:", "", "1.234,50"};
    QTest::newRow("rounded to the ten-thousandth before the cut")
        << revenue({"1\tA\t0,00995\t0\t"}) << QStringList{"total:", "", "0,01"};
    QTest::newRow("only field N+1 excludes")
        << revenue({"1\tA\t5,00\t1\t", "2\tB\t1\t\t", "3\tC\t2,00\t10\t"})
        << QStringList{"total:", "", "3,00"};
    QTest::newRow("annual result: no total row")
        << kindPage(ReportCategory::Anuais, 8, QString(), {}) << QStringList();
}

void TestHtmlPage::totals()
{
    QFETCH(PageInput, input);
    QFETCH(QStringList, cells);
    QCOMPARE(totalCells(buildPage(input)), cells);
}

void TestHtmlPage::escapeHtml_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QStringLiteral("Orçamento 2º") << QStringLiteral("Orçamento 2º");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("all three") << QStringLiteral("a<b>&c") << QStringLiteral("a&lt;b&gt;&amp;c");
    QTest::newRow("entity typed") << QStringLiteral("&amp;") << QStringLiteral("&amp;amp;");
    QTest::newRow("quotes stay") << QStringLiteral("\"x\" 'y'") << QStringLiteral("\"x\" 'y'");
}

void TestHtmlPage::escapeHtml()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(quelvara::escapeHtml(text), expected);
}

void TestHtmlPage::existingPageIsReplaced()
{
    ScratchDir work;
    QVERIFY(QDir().mkdir(QStringLiteral("2005")));
    const QString path = work.file(QStringLiteral("2005/trib-arrec-3-2005.htm"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older and much longer page that must not survive in any part\r\n");
    }
    const FileResult result =
        writePageFile(QStringLiteral("2005"), QStringLiteral("trib-arrec-"), QStringLiteral("3"),
                      {QStringLiteral("a"), QStringLiteral("b\nc")});
    QVERIFY(result.ok());
    QCOMPARE(fileBytes(path), QByteArray("a\r\nb\nc\r\n"));
    QCOMPARE(QDir(work.file(QStringLiteral("2005"))).entryList(QDir::Files),
             QStringList{QStringLiteral("trib-arrec-3-2005.htm")});
}

void TestHtmlPage::yearThatIsNoYearWritesNothing_data()
{
    QTest::addColumn<QString>("ano");
    QTest::newRow("empty") << QString();
    QTest::newRow("typed halfway") << QStringLiteral("200");
    QTest::newRow("five digits") << QStringLiteral("20055");
    QTest::newRow("letter") << QStringLiteral("20a5");
    QTest::newRow("parent") << QStringLiteral("..");
    QTest::newRow("path") << QStringLiteral("../x");
}

void TestHtmlPage::yearThatIsNoYearWritesNothing()
{
    QFETCH(QString, ano);
    ScratchDir work;
    const FileResult result = writePageFile(ano, QStringLiteral("trib-arrec-"),
                                                 QStringLiteral("1"), {QStringLiteral("x")});
    QVERIFY(!result.ok());
    QCOMPARE(result.message(), QString());
    QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("../x"))));
}

void TestHtmlPage::yearDirectoryThatCannotBeMade()
{
    ScratchDir work;
    {
        QFile blocker(work.file(QStringLiteral("2005")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    const FileResult result =
        writePageFile(QStringLiteral("2005"), QStringLiteral("trib-arrec-"), QStringLiteral("3"),
                      {QStringLiteral("x")});
    QVERIFY(!result.ok());
    QCOMPARE(result.message(),
             QStringLiteral("Não foi possivel criar o diretório ") +
                 QDir::toNativeSeparators(QDir::currentPath() + QStringLiteral("/2005")));
    QCOMPARE(fileBytes(work.file(QStringLiteral("2005"))), QByteArray());
}

void TestHtmlPage::pageFileThatCannotBeWritten()
{
    ScratchDir work;
    // A directory where the page should be: no file can replace it.
    QVERIFY(QDir().mkpath(QStringLiteral("2005/compras-4-2005.htm")));
    const FileResult result = writePageFile(QStringLiteral("2005"), QStringLiteral("compras-"),
                                                 QStringLiteral("4"), {QStringLiteral("x")});
    QVERIFY(!result.ok());
    QCOMPARE(result.message(),
             QStringLiteral("Não foi possivel criar o arquivo ") +
                 QDir::toNativeSeparators(QDir::currentPath() +
                                          QStringLiteral("/2005/compras-4-2005.htm")));
}

QTEST_GUILESS_MAIN(TestHtmlPage)
#include "test_htmlpage.moc"
