#include "catalogue.h"
#include "checks.h"
#include "messages.h"
#include "reportpaths.h"
#include "testfiles.h"
#include "textfile.h"
#include "values.h"

#include <QTest>

#include <optional>

using namespace quelvara;

namespace {

const QString kYear = QStringLiteral("2005");
const QString kUnreadable = QStringLiteral("<unreadable>");

// A data line: each field followed by a TAB.
QString rec(const QStringList &fields) { return fields.join(u'\t') + u'\t'; }

// Writes a data file of a period: its lines, or a directory in its place for kUnreadable.
bool putPeriod(const ReportKind &kind, int period, const QStringList &lines)
{
    const QString path = dataFilePath(kYear, kind.prefix, QString::number(period));
    if (lines == QStringList{kUnreadable}) {
        return QDir().mkpath(path);
    }
    return QDir().mkpath(QFileInfo(path).absolutePath()) && writeLines(path, lines).ok();
}

// A finding as "severity period item field"; with the message when asked.
QString summary(const Finding &f)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(severityText(f.severity))
        .arg(f.period)
        .arg(f.item)
        .arg(f.field);
}

} // namespace

class TestChecks : public QObject {
    Q_OBJECT

private slots:
    void init() { scratch_.emplace(); }
    void cleanup() { scratch_.reset(); }
    void checkReport_data();
    void checkReport();
    void yearCoversEveryKindWithFiles();
    void cleanSampleReportsHaveNoFinding();
    void catalogueFlags();
    void tableTexts();

private:
    std::optional<ScratchDir> scratch_;
};

void TestChecks::checkReport_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("registry");
    QTest::addColumn<QList<QStringList>>("files"); // index p - 1 (annual: index 0); empty: none
    QTest::addColumn<int>("period");
    // "severity period item field", then " | " and a text the message must hold.
    QTest::addColumn<QStringList>("expected");

    const QStringList taxes = {"101\tIPTU\t", "102\tISS\t"};
    const auto tax = [](const QString &code, const QString &amount, const QString &accumulated) {
        return rec({code, code == QLatin1String("101") ? "IPTU" : "ISS", amount, accumulated, "0"});
    };
    const QStringList jan = {tax("101", "1.000,00", "1.000,00"), tax("102", "10,00", "10,00")};
    const QStringList feb = {tax("101", "500,00", "1.500,00"), tax("102", "5,00", "15,00")};

    // Accumulated values.
    QTest::newRow("accumulated, clean")
        << 0 << 0 << taxes << QList<QStringList>{jan, feb, {tax("101", "250,00", "1.750,00")}} << 3
        << QStringList{};
    QTest::newRow("accumulated, instruction")
        << 0 << 0 << taxes
        << QList<QStringList>{jan, {tax("101", "500,00", msg::accumulationInstruction())}} << 2
        << QStringList{"erro 2 101 4 | não foi calculado"};
    QTest::newRow("accumulated, garbage")
        << 0 << 0 << taxes << QList<QStringList>{jan, {tax("101", "500,00", "abc")}} << 2
        << QStringList{"erro 2 101 4 | Deve ser 1.500,00"};
    QTest::newRow("accumulated, stale after January was corrected")
        << 0 << 0 << taxes
        << QList<QStringList>{{tax("101", "2.000,00", "2.000,00"), tax("102", "10,00", "10,00")},
                              feb,
                              {tax("101", "250,00", "1.750,00")}}
        << 3 << QStringList{"erro 3 101 4 | deve ser 2.750,00"};
    QTest::newRow("accumulated, first period differs from its amount")
        << 0 << 0 << taxes << QList<QStringList>{{tax("101", "1.000,00", "900,00")}} << 1
        << QStringList{"erro 1 101 4 | deve ser 1.000,00"};
    QTest::newRow("accumulated, amount no number")
        << 0 << 0 << taxes << QList<QStringList>{{tax("101", "mil", "mil")}} << 1
        << QStringList{"erro 1 101 3", "erro 1 101 4 | Corrija o montante"};
    QTest::newRow("previous period missing")
        << 0 << 0 << taxes
        << QList<QStringList>{jan,
                              {},
                              {tax("101", "250,00", "1.250,00"), tax("102", "1,00", "11,00")}}
        << 3 << QStringList{"aviso 3  0 | (Fevereiro)"};
    QTest::newRow("previous period missing, without accumulation: nothing")
        << 0 << 6 << QStringList{} << QList<QStringList>{{}, {rec({"1/2005", "Construtora"})}} << 2
        << QStringList{};
    QTest::newRow("unreadable file") << 0 << 0 << taxes << QList<QStringList>{{kUnreadable}} << 1
                                     << QStringList{"erro 1  0 | não foi verificado"};
    QTest::newRow("no file: nothing")
        << 0 << 0 << taxes << QList<QStringList>{jan} << 2 << QStringList{};

    // Money, differences and products.
    const QStringList revenue = {"1112.02.00\tIPTU\t"};
    QTest::newRow("money") << 2 << 0 << revenue
                           << QList<QStringList>{{rec({"1112.02.00", "IPTU", "R$ 5"}),
                                                  rec({"9", "Outra", "1500"}),
                                                  rec({"8", "Vazia", ""})}}
                           << 0 << QStringList{"erro 0 1112.02.00 3 | \"R$ 5\""};
    QTest::newRow("difference")
        << 2 << 6 << revenue
        << QList<QStringList>{{rec({"1112.02.00", "IPTU", "1.000,00", "250,50", "700,00", "0"}),
                               rec({"2", "B", "1.000,30", "1.000,10", "0,20", "0"}),
                               rec({"3", "C", "x", "1,00", "0,00", "0"})}}
        << 0 << QStringList{"erro 0 1112.02.00 5 | deve ser 749,50", "erro 0 3 3"};
    QTest::newRow("product") << 0 << 7 << QStringList{}
                             << QList<QStringList>{{rec({"000001", "Educação", "", "", "", "",
                                                         "Giz", "1.500,00", "3", "4.500,00", "0"}),
                                                    rec({"000002", "Educação", "", "", "", "",
                                                         "Giz", "1.500,00", "3", "4.000,00", "0"}),
                                                    rec({"000003", "Educação", "", "", "", "",
                                                         "Giz", "2,50", "três", "7,50", "0"}),
                                                    rec({"000004", "Educação", "", "", "", "",
                                                         "Giz", "0,00", "", "0,00", "0"})}}
                             << 1
                             << QStringList{"erro 1 000002 10 | deve ser 4.500,00",
                                            "aviso 1 000003 10 | Quantidade"};

    // CNPJs and CPFs.
    const auto purchase = [](const char *number, const char *unitCnpj, const char *supplierCnpj) {
        return rec({number, "Saúde", "Unidade", unitCnpj, "Fornecedor", supplierCnpj, "Bem", "1,00",
                    "1", "1,00", "0"});
    };
    QTest::newRow("cnpj")
        << 0 << 7 << QStringList{}
        << QList<QStringList>{{purchase("000001", "11.222.333/0001-81", "12.ABC.345/01DE-35"),
                               purchase("000002", "11.222.333/0001-82", ""),
                               purchase("000003", "529.982.247-25", "12.ABC.345/01DE-36")}}
        << 1
        << QStringList{"erro 1 000002 4 | 11.222.333/0001-82", "erro 1 000003 4 | CNPJ",
                       "erro 1 000003 6 | CNPJ"};
    const auto contract = [](const char *number, const char *name, const char *cpfCnpj,
                             const char *signing, const char *term) {
        return rec({number, name, cpfCnpj, "Convite", signing, term, "Obra", "1,00", "", "0"});
    };
    QTest::newRow("cpf or cnpj")
        << 0 << 6 << QStringList{}
        << QList<QStringList>{{contract("1", "Ana", "529.982.247-25", "__/__/____", "__/__/____"),
                               contract("2", "Bia", "529.982.247-24", "__/__/____", "__/__/____"),
                               contract("3", "Cia", "45.645.645/0001-10", "__/__/____", ""),
                               contract("4", "Dan", "52998224725", "", "")}}
        << 1 << QStringList{"erro 1 2 3 | CPF \"529.982.247-24\""};

    // Dates.
    QTest::newRow("dates")
        << 0 << 6 << QStringList{}
        << QList<QStringList>{{contract("1", "Ana", "", "10/03/2005", "31/12/2007"),
                               contract("2", "Bia", "", "28/12/2004", "1/2/2005"),
                               contract("3", "Cia", "", "31/02/2005", "31122005"),
                               contract("4", "Dan", "", "1/1/05", "29/02/2004")}}
        << 1
        << QStringList{"aviso 1 2 5 | (2005)", "aviso 1 3 5 | 31/02/2005", "aviso 1 3 6 | 31122005",
                       "aviso 1 4 5 | 1/1/05"};
    QTest::newRow("dates of agreements may lie beyond the year")
        << 0 << 2 << QStringList{}
        << QList<QStringList>{{rec({"1", "Saúde", "Estado", "Município", "Posto", "1,00", "0,00",
                                    "31/12/2009", "Vigente", "0"}),
                               rec({"2", "Saúde", "Estado", "Município", "Posto", "1,00", "0,00",
                                    "31/13/2009", "Vigente", "0"})}}
        << 1 << QStringList{"aviso 1 2 8 | 31/13/2009"};

    // Items left out of the page.
    QTest::newRow("field 2 empty")
        << 0 << 0 << QStringList{"101\tIPTU\t", "103\t\t"}
        << QList<QStringList>{{tax("101", "1,00", "1,00"),
                               rec({"103", "Nome antigo", "2,00", "2,00", "0"}),
                               rec({"104", "", "3,00", "3,00", "0"})}}
        << 1 << QStringList{"aviso 1 103 2 | \"Tributo/Contribuição\"", "aviso 1 104 2"};

    // Purchase numbers.
    QTest::newRow("purchase numbers")
        << 0 << 7 << QStringList{}
        << QList<QStringList>{{purchase("000001", "", ""), purchase("000003", "", ""),
                               purchase("3", "", ""), purchase("A1", "", ""),
                               purchase("A1", "", ""), purchase("000010", "", "")}}
        << 1 << QStringList{"erro 1 000003 1 | 000003 aparece em 2 itens", "erro 1 A1 1"};
}

void TestChecks::checkReport()
{
    QFETCH(int, category);
    QFETCH(int, position);
    QFETCH(QStringList, registry);
    QFETCH(QList<QStringList>, files);
    QFETCH(int, period);
    QFETCH(QStringList, expected);
    const ReportKind *kind = reportKind(ReportCategory(category), position);
    QVERIFY(kind);
    QVERIFY(QDir().mkpath(QStringLiteral("dados")));
    QVERIFY(writeLines(dataFile(kind->registryFile), registry).ok());
    const int first = category == int(ReportCategory::Anuais) ? 0 : 1;
    for (int i = 0; i < files.size(); ++i) {
        if (!files.at(i).isEmpty()) {
            QVERIFY(putPeriod(*kind, first + i, files.at(i)));
        }
    }

    const QList<Finding> findings =
        quelvara::checkReport(ReportCategory(category), position, kYear, period);
    QStringList found;
    for (const Finding &f : findings) {
        QCOMPARE(f.category, ReportCategory(category));
        QCOMPARE(f.position, position);
        found.append(summary(f));
    }
    QStringList wanted;
    for (const QString &row : expected) {
        wanted.append(row.section(QStringLiteral(" | "), 0, 0));
    }
    QCOMPARE(found, wanted);
    for (int i = 0; i < expected.size(); ++i) {
        const QString fragment = expected.at(i).section(QStringLiteral(" | "), 1);
        QVERIFY2(findings.at(i).message.contains(fragment), qPrintable(findings.at(i).message));
    }
}

void TestChecks::yearCoversEveryKindWithFiles()
{
    const ReportKind &taxes = *reportKind(ReportCategory::Mensais, 0);
    const ReportKind &purchases = *reportKind(ReportCategory::Mensais, 7);
    const ReportKind &budget = *reportKind(ReportCategory::Anuais, 0);
    QVERIFY(QDir().mkpath(QStringLiteral("dados")));
    QVERIFY(writeLines(dataFile(taxes.registryFile), {"101\tIPTU\t"}).ok());
    QVERIFY(putPeriod(taxes, 2, {rec({"101", "IPTU", "1,00", "9,00", "0"})}));
    QVERIFY(putPeriod(taxes, 4, {rec({"101", "IPTU", "1,00", "x", "0"})}));
    QVERIFY(putPeriod(purchases, 1, {rec({"000001", ""})}));
    QVERIFY(putPeriod(budget, 0, {rec({"1", "Receita", "abc"})}));
    const QMap<QString, QByteArray> before = treeBytes();

    const QStringList expected = {
        "aviso 2  0",   // January missing
        "erro 2 101 4", // not January, as a recalculation would create it, plus February
        "aviso 4  0",   // March missing
        "erro 4 101 4", // not a number
        "aviso 1 000001 2", "erro 0 1 3",
    };
    QStringList found;
    for (const Finding &f : checkYear(kYear)) {
        found.append(summary(f));
    }
    QCOMPARE(found, expected);
    QCOMPARE(treeBytes(), before); // read, never written

    QCOMPARE(checkKindYear(ReportCategory::Mensais, 0, kYear).size(), 4);
    QCOMPARE(checkKindYear(ReportCategory::Mensais, 1, kYear).size(), 0);
    QVERIFY(checkYear(QStringLiteral("05")).isEmpty());
}

void TestChecks::cleanSampleReportsHaveNoFinding()
{
    // The sample municipality's registries, and for every kind of the catalogue
    // a few periods entered as the editor would: amounts, their accumulations
    // and computations, CNPJs from the registry, dates in the year.
    QVERIFY(QDir().mkpath(QStringLiteral("dados")));
    const QDir samples(QStringLiteral(QUELVARA_SAMPLES_DIR));
    for (const QString &name : samples.entryList(QDir::Files)) {
        QVERIFY(QFile::copy(samples.filePath(name), dataFile(name)));
    }
    const QStringList cnpjs = readLines(dataFile(kCnpjRegistry)).lines;
    QVERIFY(cnpjs.size() > 5);

    int kinds = 0;
    for (const CategoryInfo &info : categories()) {
        const int periods = info.periods.isEmpty() ? 1 : 3;
        for (const ReportKind &kind : reportKinds(info.category)) {
            const QStringList entries =
                kind.followsRegistry() ? readLines(dataFile(kind.registryFile)).lines : cnpjs;
            QVERIFY(!entries.isEmpty());
            QHash<QString, qint64> accumulated; // code and field -> cents so far
            for (int p = 1; p <= periods; ++p) {
                QStringList lines;
                for (int i = 0; i < entries.size(); ++i) {
                    const QString &entry = entries.at(i);
                    QHash<int, qint64> cents;
                    QStringList fields;
                    for (int n = 1; n <= kind.fieldCount; ++n) {
                        const ReportField &f = kind.fields[std::size_t(n - 1)];
                        const bool isQuantity = std::any_of(
                            kind.fields.cbegin(), kind.fields.cend(), [n](const ReportField &g) {
                                return g.computation == FieldComputation::Product &&
                                       g.operand2 == n;
                            });
                        QString text;
                        if (f.lookupColumn > 0) {
                            text = GetField(entry, f.lookupColumn);
                        } else if (n == 1 && kind.numbersItems) {
                            text = QString::asprintf("%06d", i + 1);
                        } else if (f.accumulates()) {
                            const QString key = fields.first() + u'/' + QString::number(n);
                            cents[n] = accumulated[key] += cents.value(f.operand1);
                        } else if (f.computation == FieldComputation::Difference) {
                            cents[n] = cents.value(f.operand1) - cents.value(f.operand2);
                        } else if (f.computation == FieldComputation::Product) {
                            cents[n] = cents.value(f.operand1) * 4;
                        } else if (f.isMoney()) {
                            cents[n] = 100'000 - 1'234 * (n + i) - 17 * p;
                        } else if (f.shape == FieldShape::Date) {
                            text = QStringLiteral("%1/%2/2005")
                                       .arg(10 + i % 18)
                                       .arg(p, 2, 10, QChar(u'0'));
                        } else if (isQuantity) {
                            text = QStringLiteral("4");
                        } else {
                            text = QStringLiteral("%1 %2").arg(n).arg(i);
                        }
                        fields.append(cents.contains(n) ? AmountText(double(cents[n]) / 100.0)
                                                        : text);
                    }
                    lines.append(rec(fields) + QStringLiteral("0\t"));
                }
                QVERIFY(putPeriod(kind, info.periods.isEmpty() ? 0 : p, lines));
            }
            ++kinds;
        }
    }
    QCOMPARE(kinds, 23);

    const QList<Finding> findings = checkYear(kYear);
    QStringList found;
    for (const Finding &f : findings) {
        found.append(summary(f) + u' ' + f.message);
    }
    QCOMPARE(found, QStringList());
}

void TestChecks::catalogueFlags()
{
    // The CPF is allowed, and the date belongs to the year, in these fields only.
    QStringList flagged;
    for (const CategoryInfo &info : categories()) {
        for (const ReportKind &kind : reportKinds(info.category)) {
            for (int n = 1; n <= kind.fieldCount; ++n) {
                const ReportField &f = kind.fields[std::size_t(n - 1)];
                if (f.cpfAllowed || f.dateInYear) {
                    flagged.append(QStringLiteral("%1 %2 %3 %4%5")
                                       .arg(int(info.category))
                                       .arg(kind.position)
                                       .arg(f.caption)
                                       .arg(f.cpfAllowed ? "cpf" : "")
                                       .arg(f.dateInYear ? "year" : ""));
                }
            }
        }
    }
    QCOMPARE(flagged, (QStringList{"0 6 CPF / CNPJ: cpf", "0 6 Data da Assinatura: year"}));
}

void TestChecks::tableTexts()
{
    const auto finding = [](ReportCategory category, int position, int period, const char *item,
                            int field) {
        return Finding{Severity::Aviso, category, position, period, item, field, {}};
    };
    QList<Finding> findings = {
        finding(ReportCategory::Anuais, 6, 0, "1", 5),
        finding(ReportCategory::Mensais, 0, 3, "b", 4),
        finding(ReportCategory::Mensais, 0, 3, "A", 4),
        finding(ReportCategory::Mensais, 0, 3, "", 0),
        finding(ReportCategory::Mensais, 0, 2, "z", 3),
        finding(ReportCategory::Bimestrais, 1, 2, "a", 7),
    };
    findings[1].severity = Severity::Erro;
    sortFindings(findings);
    QStringList rows;
    for (const Finding &f : findings) {
        rows.append(
            QStringList{severityText(f.severity), periodText(f), f.item, fieldText(f)}.join(u'|'));
    }
    QCOMPARE(rows, (QStringList{
                       "aviso|Fevereiro|z|3 - Montante Arrecadado no mês",
                       "aviso|Março||",
                       "aviso|Março|A|4 - Acumulado no Exercício",
                       "erro|Março|b|4 - Acumulado no Exercício",
                       "aviso|2º Bimestre|a|7 - Acumulada da liquidada",
                       "aviso|Anual|1|5 - Diferença",
                   }));
    QCOMPARE(errorCount(findings), 1);
}

QTEST_GUILESS_MAIN(TestChecks)
#include "test_checks.moc"
