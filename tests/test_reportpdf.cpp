#include "catalogue.h"
#include "htmlpage.h"
#include "publishedfiles.h"
#include "reportindex.h"
#include "reportpaths.h"
#include "reportpdf.h"
#include "testfiles.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using namespace quelvara;

namespace {

const QString kPrefeito = QStringLiteral("Carlos Andrade");
const QString kSecFin = QStringLiteral("Beatriz Lima");
const QString kContador = QStringLiteral("Paulo Souza/MG-012345/O-6");
const QStringList kSignatureTexts = {kPrefeito,
                                     kSecFin,
                                     kContador,
                                     QStringLiteral("(Prefeito)"),
                                     QStringLiteral("(Secretário de Finanças)"),
                                     QStringLiteral("(Contador/CRC)")};

QString codeOf(int i) { return QStringLiteral("C%1").arg(i, 5, 10, QLatin1Char('0')); }

// A purchases report of n items: ten columns, every fifth description long
// enough to wrap, one item left out of the totals and one with hostile text.
PageInput purchases(int n)
{
    const ReportKind *kind = reportKind(ReportCategory::Mensais, 7);
    PageInput input = pageInputOf(*kind);
    input.municipality = QStringLiteral("São Tomé das Águas - MG");
    input.year = QStringLiteral("2005");
    input.period = QStringLiteral("4");
    input.periodName = QStringLiteral("Abril");
    for (int i = 1; i <= n; ++i) {
        const QString description =
            i % 5 == 0 ? QStringLiteral("Material de expediente para as escolas rurais do "
                                        "município, entregue em três parcelas")
            : i == 7   ? QStringLiteral("Linha um\nlinha dois\u0001 <b>&")
                       : QStringLiteral("Papel A4");
        input.codes.append(codeOf(i));
        input.lines.append(codeOf(i) +
                           QStringLiteral("\tSaúde\tHospital Municipal\t"
                                          "11.222.333/0001-81\tPapelaria Central\t"
                                          "44.555.666/0001-99\t") +
                           description + QStringLiteral("\t25,00\t10\t250,00\t") +
                           (i == 3 ? u'1' : u'0') + u'\t');
    }
    input.prefeito = kPrefeito;
    input.secFin = kSecFin;
    input.contador = QStringLiteral("Paulo Souza");
    input.crc = QStringLiteral("MG-012345/O-6");
    return input;
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// What poppler reads from a PDF file.
struct PdfText {
    QStringList sheets; // each sheet's text
    QString info;       // pdfinfo's report
    QString fonts;      // pdffonts' table
};

PdfText readPdf(const QString &path)
{
    PdfText pdf;
    QString text =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (text.endsWith(u'\f')) {
        text.chop(1);
    }
    pdf.sheets = text.split(u'\f');
    pdf.info = run(QStringLiteral("pdfinfo"), {path});
    pdf.fonts = run(QStringLiteral("pdffonts"), {path});
    return pdf;
}

int pageCount(const PdfText &pdf)
{
    return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
        .match(pdf.info)
        .captured(1)
        .toInt();
}

// The codes a sheet shows, in order.
QStringList codesOn(const QString &sheet)
{
    QStringList codes;
    QRegularExpressionMatchIterator it =
        QRegularExpression(QStringLiteral("\\bC\\d{5}\\b")).globalMatch(sheet);
    while (it.hasNext()) {
        codes.append(it.next().captured());
    }
    return codes;
}

} // namespace

class TestReportPdf : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everySheetCarriesItsHeadAndNoItemIsLost_data();
    void everySheetCarriesItsHeadAndNoItemIsLost();
    void writtenBesideThePageAndLinkedFromTheIndex();
};

void TestReportPdf::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QFAIL("pdftotext missing: install poppler-utils (scripts/test does)");
    }
}

void TestReportPdf::everySheetCarriesItsHeadAndNoItemIsLost_data()
{
    QTest::addColumn<int>("items");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("a thousand") << 1000;
    // Counts around a full sheet, where the signatures stop fitting below the
    // last row: as many rows as a longer report puts on its first sheet.
    ScratchDir work;
    putFile(work.file(QStringLiteral("probe.pdf")), buildPdf(purchases(100)));
    const int full =
        int(codesOn(readPdf(work.file(QStringLiteral("probe.pdf"))).sheets.value(0)).size());
    QVERIFY(full > 8);
    for (int n = full - 7; n <= full + 1; ++n) {
        QTest::newRow(qPrintable(QStringLiteral("%1 items").arg(n))) << n;
    }
}

void TestReportPdf::everySheetCarriesItsHeadAndNoItemIsLost()
{
    QFETCH(int, items);
    const PageInput input = purchases(items);
    ScratchDir work;
    const QString path = work.file(QStringLiteral("r.pdf"));
    putFile(path, buildPdf(input));
    const PdfText pdf = readPdf(path);

    QVERIFY2(pdf.info.contains(QStringLiteral("842 x 595 pts (A4)")), qPrintable(pdf.info));
    const int sheets = pageCount(pdf);
    QCOMPARE(pdf.sheets.size(), sheets);
    // Every font travels inside the file.
    const QStringList fontRows = pdf.fonts.split(u'\n', Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fontRows.isEmpty());
    // Columns: name, type, encoding, embedded, subset, unicode, object, generation.
    const QRegularExpression embedded(
        QStringLiteral("\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$"));
    for (const QString &row : fontRows) {
        QVERIFY2(embedded.match(row).captured(1) == QStringLiteral("yes"), qPrintable(row));
    }

    QStringList codes;
    for (int s = 0; s < sheets; ++s) {
        const QString &sheet = pdf.sheets[s];
        const QString where = QStringLiteral("sheet %1 of %2").arg(s + 1).arg(sheets);
        QVERIFY2(sheet.contains(input.municipality), qPrintable(where));
        QVERIFY2(sheet.contains(QStringLiteral("EXERCÍCIO: 2005 - Abril")), qPrintable(where));
        for (const QString &caption : {QStringLiteral("Fornecedor:"), QStringLiteral("Quantidade:"),
                                       QStringLiteral("CNPJ:")}) {
            QVERIFY2(sheet.contains(caption), qPrintable(where + u' ' + caption));
        }
        QVERIFY2(sheet.contains(QStringLiteral("Página %1 de %2").arg(s + 1).arg(sheets)),
                 qPrintable(where));
        const bool last = s + 1 == sheets;
        for (const QString &text : kSignatureTexts) {
            QVERIFY2(sheet.contains(text) == last, qPrintable(where + u' ' + text));
        }
        QVERIFY2(sheet.contains(QStringLiteral("total:")) == last, qPrintable(where));
        const QStringList shown = codesOn(sheet);
        // No sheet shows the heading alone: the signatures take rows along.
        QVERIFY2(items == 0 || !shown.isEmpty(), qPrintable(where));
        codes += shown;
    }
    QStringList expected;
    for (int i = 1; i <= items; ++i) {
        expected.append(codeOf(i));
    }
    QCOMPARE(codes, expected);
    // The totals are the page's, the excluded item left out.
    const QString lastSheet = pdf.sheets.last();
    const QStringList totals = columnTotals(input);
    QVERIFY2(lastSheet.contains(totals[7]) && lastSheet.contains(totals[9]),
             qPrintable(totals.join(u' ')));
}

void TestReportPdf::writtenBesideThePageAndLinkedFromTheIndex()
{
    ScratchDir work;
    const PageInput input = purchases(3);
    QVERIFY(writePageFile(input.year, input.prefix, input.period, buildPage(input)).ok());
    QVERIFY(writePdf(input).ok());
    const QString pdf = work.file(QStringLiteral("2005/compras-4-2005.pdf"));
    QVERIFY(fileBytes(pdf).startsWith("%PDF-"));
    const Parsed index = parsePublished({QStringLiteral("index"), yearIndexPath(input.year)});
    QVERIFY2(index.error.isEmpty(), qPrintable(index.error));
    QVERIFY(index.value[QStringLiteral("links")].toArray().contains(
        QJsonValue(QStringLiteral("compras-4-2005.pdf"))));

    PageInput typing = input;
    typing.year = QStringLiteral("200");
    const FileResult result = writePdf(typing);
    QVERIFY(!result.ok());
    QCOMPARE(result.message(), QString());
}

QTEST_MAIN(TestReportPdf)
#include "test_reportpdf.moc"
