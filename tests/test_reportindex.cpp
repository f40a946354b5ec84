#include "catalogue.h"
#include "htmlpage.h"
#include "opendata.h"
#include "publishedfiles.h"
#include "reportindex.h"
#include "reportpaths.h"
#include "testfiles.h"

#include <QDateTime>
#include <QTest>

using namespace quelvara;

namespace {

const QString kMunicipality = QStringLiteral("Vila Serena - MG");

// Writes a page of a kind and period as the editor writes it, sets its time
// to a known moment and publishes the open data beside it; tells whether all
// of it was written.
bool publish(ReportCategory category, int position, const QString &year, const QString &period,
             const QDateTime &writtenAt)
{
    const ReportKind *kind = reportKind(category, position);
    if (!kind) {
        return false;
    }
    PageInput input;
    input.title = kind->title;
    input.municipality = kMunicipality;
    input.year = year;
    input.period = period;
    input.prefix = kind->prefix;
    input.category = category;
    input.position = position;
    input.fieldCount = kind->fieldCount;
    if (!writePageFile(year, kind->prefix, period, buildPage(input)).ok()) {
        return false;
    }
    QFile page(pageFilePath(year, kind->prefix, period));
    if (!page.open(QIODevice::ReadWrite) ||
        !page.setFileTime(writtenAt, QFileDevice::FileModificationTime)) {
        return false;
    }
    page.close();
    return writeOpenData(input).ok();
}

QDateTime march(int day, int hour) { return QDateTime(QDate(2005, 3, day), QTime(hour, 30)); }

QStringList texts(const QJsonValue &cells)
{
    QStringList list;
    for (const QJsonValue &cell : cells.toArray()) {
        list.append(cell.isObject() ? cell[QStringLiteral("text")].toString() : cell.toString());
    }
    return list;
}

QStringList links(const QJsonValue &cells)
{
    QStringList list;
    for (const QJsonValue &cell : cells.toArray()) {
        for (const QJsonValue &href : cell[QStringLiteral("links")].toArray()) {
            list.append(href.toString());
        }
    }
    return list;
}

} // namespace

class TestReportIndex : public QObject {
    Q_OBJECT
private slots:
    void yearIndexListsThePagesOnDisk();
    void rootIndexListsTheYears();
    void hostileTextsStayText();
};

void TestReportIndex::yearIndexListsThePagesOnDisk()
{
    ScratchDir work;
    // Files the catalogue does not name: a period beyond the category's, the
    // annual number on a monthly kind, an unknown prefix, a directory.
    putFile(work.file(QStringLiteral("2005/trib-arrec-13-2005.htm")), "x");
    putFile(work.file(QStringLiteral("2005/trib-arrec-0-2005.htm")), "x");
    putFile(work.file(QStringLiteral("2005/unknkow-1-2005.htm")), "x");
    QVERIFY(QDir().mkpath(QStringLiteral("2005/compras-5-2005.htm")));
    putFile(work.file(QStringLiteral("2005/compras-12-2005.pdf")), "%PDF");

    QVERIFY(publish(ReportCategory::Anuais, 8, QStringLiteral("2005"), QStringLiteral("0"),
                    march(1, 8)));
    QVERIFY(publish(ReportCategory::Mensais, 0, QStringLiteral("2005"), QStringLiteral("3"),
                    march(2, 9)));
    QVERIFY(publish(ReportCategory::Bimestrais, 0, QStringLiteral("2005"), QStringLiteral("2"),
                    march(3, 10)));
    QVERIFY(publish(ReportCategory::Mensais, 7, QStringLiteral("2005"), QStringLiteral("12"),
                    march(4, 11)));
    QVERIFY(publish(ReportCategory::Mensais, 0, QStringLiteral("2005"), QStringLiteral("1"),
                    march(5, 12)));
    QVERIFY(publish(ReportCategory::Anuais, 0, QStringLiteral("2005"), QStringLiteral("0"),
                    march(6, 13)));

    const Parsed parsed =
        parsePublished({QStringLiteral("index"), yearIndexPath(QStringLiteral("2005"))});
    QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
    const QJsonValue index = parsed.value;
    QCOMPARE(index[QStringLiteral("lang")].toString(), QStringLiteral("pt-BR"));
    QCOMPARE(index[QStringLiteral("heading")].toString(), kMunicipality);

    struct Row {
        QString caption;
        QStringList cells;
        QStringList links;
    };
    const auto row = [](const QString &caption, const QString &title, const QString &period,
                        const QString &name, bool pdf, const QDateTime &at) {
        QStringList files = {name + QStringLiteral(".htm"), name + QStringLiteral(".csv"),
                             name + QStringLiteral(".json")};
        QString shown = QStringLiteral("Página CSV JSON");
        if (pdf) {
            files.append(name + QStringLiteral(".pdf"));
            shown += QStringLiteral(" PDF");
        }
        return Row{
            caption,
            {title, period, shown,
             QStringLiteral("Atualizado em ") + at.toString(QStringLiteral("dd/MM/yyyy HH:mm"))},
            files};
    };
    const QString monthly = QStringLiteral("Relatórios Mensais");
    const QString taxes = reportKind(ReportCategory::Mensais, 0)->title;
    const QList<Row> expected = {
        row(monthly, taxes, QStringLiteral("Janeiro"), QStringLiteral("trib-arrec-1-2005"), false,
            march(5, 12)),
        row(monthly, taxes, QStringLiteral("Março"), QStringLiteral("trib-arrec-3-2005"), false,
            march(2, 9)),
        row(monthly, QStringLiteral("Compras  Art 2º, Inc. XXIV"), QStringLiteral("Dezembro"),
            QStringLiteral("compras-12-2005"), true, march(4, 11)),
        row(QStringLiteral("Relatórios Bimestrais"),
            reportKind(ReportCategory::Bimestrais, 0)->title, QStringLiteral("2º Bimestre"),
            QStringLiteral("exec-orc-rec-realizada-2-2005"), false, march(3, 10)),
        row(QStringLiteral("Relatórios Anuais"), reportKind(ReportCategory::Anuais, 0)->title,
            QStringLiteral("Anual"), QStringLiteral("orc-anual-rec-prevista-0-2005"), false,
            march(6, 13)),
        row(QStringLiteral("Relatórios Anuais"), reportKind(ReportCategory::Anuais, 8)->title,
            QStringLiteral("Anual"), QStringLiteral("bal-orc-resultado-nominal-0-2005"), false,
            march(1, 8)),
    };

    QList<Row> shown;
    for (const QJsonValue &table : index[QStringLiteral("tables")].toArray()) {
        QCOMPARE(texts(table[QStringLiteral("headers")]),
                 QStringList({QStringLiteral("Relatório"), QStringLiteral("Período"),
                              QStringLiteral("Arquivos"), QStringLiteral("Atualização")}));
        for (const QJsonValue &cells : table[QStringLiteral("rows")].toArray()) {
            QCOMPARE(cells[0][QStringLiteral("tag")].toString(), QStringLiteral("th"));
            shown.append({table[QStringLiteral("caption")].toString(), texts(cells), links(cells)});
        }
    }
    QCOMPARE(shown.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(shown[i].caption, expected[i].caption);
        QCOMPARE(shown[i].cells, expected[i].cells);
        QCOMPARE(shown[i].links, expected[i].links);
    }
    // Every link leads to a file, the way back to the years included.
    for (const QJsonValue &href : index[QStringLiteral("links")].toArray()) {
        QVERIFY2(QFileInfo(work.file(QStringLiteral("2005/") + href.toString())).isFile(),
                 qPrintable(href.toString()));
    }
}

void TestReportIndex::rootIndexListsTheYears()
{
    ScratchDir work;
    // A year with pages from before the indexes, and a directory that is no year.
    putFile(work.file(QStringLiteral("2003/trib-arrec-1-2003.htm")), "x");
    putFile(work.file(QStringLiteral("abcd/index.html")), "x");
    QVERIFY(publish(ReportCategory::Mensais, 0, QStringLiteral("2004"), QStringLiteral("1"),
                    march(1, 8)));
    QVERIFY(publish(ReportCategory::Mensais, 0, QStringLiteral("2005"), QStringLiteral("1"),
                    march(2, 9)));
    QVERIFY(publish(ReportCategory::Anuais, 0, QStringLiteral("2005"), QStringLiteral("0"),
                    march(3, 10)));

    const Parsed parsed = parsePublished({QStringLiteral("index"), rootIndexPath()});
    QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
    const QJsonArray tables = parsed.value[QStringLiteral("tables")].toArray();
    QCOMPARE(tables.size(), 1);
    QCOMPARE(tables[0][QStringLiteral("caption")].toString(), QStringLiteral("Exercícios"));
    const QJsonArray rows = tables[0][QStringLiteral("rows")].toArray();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(texts(rows[0]), QStringList({QStringLiteral("2005"), QStringLiteral("2"),
                                          QStringLiteral("Atualizado em 03/03/2005 10:30")}));
    QCOMPARE(texts(rows[1]), QStringList({QStringLiteral("2004"), QStringLiteral("1"),
                                          QStringLiteral("Atualizado em 01/03/2005 08:30")}));
    QCOMPARE(links(rows[0]), QStringList{QStringLiteral("2005/index.html")});
    QCOMPARE(links(rows[1]), QStringList{QStringLiteral("2004/index.html")});
    QVERIFY(QFileInfo(work.file(QStringLiteral("2005/index.html"))).isFile());
    QVERIFY(QFileInfo(work.file(QStringLiteral("2004/index.html"))).isFile());
}

// Markup, entities, controls, and characters no Windows-1252 file could hold
// in the municipality's name: the index stays well-formed HTML5 and shows the
// text as typed, less the characters HTML does not allow in a document.
void TestReportIndex::hostileTextsStayText()
{
    const QString hostile = QStringLiteral("<script>alert('x')</script> &amp; \"Vila\"\u0001\u0000"
                                           "\r\u0085ā😀 <!-- -->");
    const QString shown = QStringLiteral("<script>alert('x')</script> &amp; \"Vila\"ā😀 <!-- -->");
    PublishedReport report;
    report.title = hostile;
    report.period = QStringLiteral("1");
    report.periodName = hostile;
    report.baseName = QStringLiteral("a b\"<c>&d");
    report.updatedAt = march(1, 8);
    ScratchDir work;
    putFile(work.file(QStringLiteral("year.html")),
            buildYearIndex(QStringLiteral("2005"), hostile, {report}));
    putFile(work.file(QStringLiteral("root.html")),
            buildRootIndex(hostile, {{QStringLiteral("2005"), 1, march(1, 8)}}));
    const Parsed parsed =
        parsePublished({QStringLiteral("index"), work.file(QStringLiteral("year.html")),
                        QStringLiteral("index"), work.file(QStringLiteral("root.html"))});
    QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
    const QJsonValue year = parsed.value[0];
    QCOMPARE(year[QStringLiteral("heading")].toString(), shown);
    QCOMPARE(year[QStringLiteral("title")].toString(),
             QStringLiteral("Relatórios de 2005 – ") + shown);
    const QJsonValue cells = year[QStringLiteral("tables")][0][QStringLiteral("rows")][0];
    QCOMPARE(texts(cells).mid(0, 2), QStringList({shown, shown}));
    QCOMPARE(links(cells).value(0), QStringLiteral("a%20b%22%3Cc%3E%26d.htm"));
    QCOMPARE(parsed.value[1][QStringLiteral("heading")].toString(), shown);
}

QTEST_GUILESS_MAIN(TestReportIndex)
#include "test_reportindex.moc"
