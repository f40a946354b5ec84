// The page streamed straight into its file against the page built as entries
// and written whole: the same bytes, the same result, the same old file left
// when it fails.
#include "catalogue.h"
#include "htmlpage.h"
#include "reportpaths.h"
#include "testfiles.h"

#include <QTest>

using namespace quelvara;

Q_DECLARE_METATYPE(PageInput)

namespace {

// A kind's captions and types as the page takes them.
PageInput kindInput(ReportCategory category, int position)
{
    const ReportKind &kind = *reportKind(category, position);
    PageInput input;
    input.title = kind.title;
    input.municipality = QStringLiteral("Prefeitura Municipal de Vila Serena - MG");
    input.year = QStringLiteral("2005");
    input.periodName = QStringLiteral("Março");
    input.fieldCount = kind.fieldCount;
    for (int i = 1; i <= kind.fieldCount; ++i) {
        input.captions.append(kind.fields[std::size_t(i - 1)].caption);
        input.fieldTypes.append(kind.fields[std::size_t(i - 1)].type);
    }
    input.prefeito = QStringLiteral("Joaquim Aurélio");
    input.secFin = QStringLiteral("Maria da Conceição");
    input.contador = QStringLiteral("Luís Fernando");
    input.crc = QStringLiteral("MG-098765/O-4");
    input.totalRow = kind.totalRow;
    return input;
}

PageInput withItems(PageInput input, const QStringList &lines)
{
    for (const QString &line : lines) {
        input.codes.append(line.section(u'\t', 0, 0));
        input.lines.append(line);
    }
    return input;
}

struct Written {
    bool ok;
    QString message;
    QByteArray bytes;
};

} // namespace

class TestPageStream : public QObject {
    Q_OBJECT

private slots:
    void sameAsBuiltPage_data();
    void sameAsBuiltPage();
};

void TestPageStream::sameAsBuiltPage_data()
{
    QTest::addColumn<PageInput>("input");
    QTest::addColumn<QString>("year");
    QTest::addColumn<bool>("ok");

    const PageInput taxes = kindInput(ReportCategory::Mensais, 0);
    QTest::newRow("no items") << taxes << "2005" << true;
    QTest::newRow("items, one left out, one without name")
        << withItems(taxes, {"1112.02.00\tIPTU\t1.500,00\t3.000,00\t0\t",
                             "1112.04.00\tISS\t0,10\t0,20\t1\t", "1113.05.00\t\t9,99\t9,99\t0\t",
                             "1114.00.00\tTaxa\tabc\t-1.234,56\t\t", "sem tabulação"})
        << "2005" << true;
    QTest::newRow("texts to escape, Windows-1252 and combining accents")
        << withItems(taxes,
                     {QStringLiteral("A&B<1>\tCaf\u00e9 \u20ac \u2013 \"x\"\t1,00\t1,00\t0\t"),
                      QStringLiteral("e\u0301\tIpe\u0302 &amp;\t2,00\t2,00\t0\t")})
        << "2005" << true;
    // Texts long enough to be taken eight characters at a time, with what
    // needs more than its own byte at every place of such a group.
    const QString longText = QStringLiteral("Receita de servi\u00e7os & taxas <2005> \u2013 "
                                            "\u20ac 1\u00a0000 \u201cpr\u00f3prias\u201d&&<<>>");
    QTest::newRow("long texts to escape and encode")
        << withItems(taxes, {longText + u'\t' + longText + QStringLiteral("\t1,00\t1,00\t0\t"),
                             longText.mid(3) + u'\t' + longText.mid(5) +
                                 QStringLiteral("\t2,00\t2,00\t0\t")})
        << "2005" << true;
    QTest::newRow("a character no file can hold, deep in a long text")
        << withItems(taxes, {QStringLiteral("1\t") + longText + QStringLiteral("\u0080") +
                             longText + QStringLiteral("\t1,00\t1,00\t0\t")})
        << "2005" << false;
    QTest::newRow("fewer lines than codes") << [&] {
        PageInput input = withItems(taxes, {"1\tUm\t1,00\t1,00\t0\t"});
        input.codes.append(QStringLiteral("2"));
        return input;
    }() << "2005" << true;
    QTest::newRow("purchases: ten fields, dates and texts")
        << withItems(kindInput(ReportCategory::Mensais, 7),
                     {"000001\tSaúde\tPrefeitura\t11.222.333/0001-81\tPosto\t"
                      "22.333.444/0001-55\tDiesel\t5,50\t100\t550,00\t0\t"})
        << "2005" << true;
    QTest::newRow("annual result: no total row")
        << withItems(kindInput(ReportCategory::Anuais, 8), {"1.000,00\t-250,50\t749,50\t0\t"})
        << "2005" << true;
    QTest::newRow("a character no file can hold")
        << withItems(taxes, {QStringLiteral("1\tImposto \u4e2d\t1,00\t1,00\t0\t")}) << "2005"
        << false;
    QTest::newRow("a combining mark after the markup")
        << withItems(taxes, {QStringLiteral("\u0338\tx\t1,00\t1,00\t0\t")}) << "2005" << false;
    QTest::newRow("a year being typed") << taxes << "200" << false;
}

void TestPageStream::sameAsBuiltPage()
{
    QFETCH(PageInput, input);
    QFETCH(QString, year);
    QFETCH(bool, ok);
    ScratchDir dir;
    const QString prefix = QStringLiteral("trib-arrec-");
    const QString period = QStringLiteral("3");
    const QString path = isValidYear(year) ? pageFilePath(year, prefix, period) : QString();
    const QByteArray old = "<p>old page</p>\r\n";

    const auto write = [&](auto writer) {
        if (!path.isEmpty()) {
            putFile(path, old);
        }
        const FileResult result = writer();
        return Written{result.ok(), result.message(),
                       path.isEmpty() ? QByteArray() : fileBytes(path)};
    };
    const Written built =
        write([&] { return writePageFile(year, prefix, period, buildPage(input)); });
    const Written streamed = write([&] { return streamPageFile(year, prefix, period, input); });

    QCOMPARE(streamed.ok, ok);
    QCOMPARE(streamed.ok, built.ok);
    QCOMPARE(streamed.message, built.message);
    QCOMPARE(streamed.bytes, built.bytes);
    if (!ok && !path.isEmpty()) {
        QCOMPARE(streamed.bytes, old);
    }
    // No temporary file is left beside the page, and a year being typed creates no directory.
    const QStringList left =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QCOMPARE(left, path.isEmpty() ? QStringList() : QStringList{year});
    if (!path.isEmpty()) {
        QCOMPARE(QDir(pageYearDir(year)).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QFileInfo(path).fileName()});
    }
}

QTEST_GUILESS_MAIN(TestPageStream)
#include "test_pagestream.moc"
