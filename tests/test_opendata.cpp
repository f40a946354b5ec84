#include "catalogue.h"
#include "htmlpage.h"
#include "messages.h"
#include "opendata.h"
#include "publishedfiles.h"
#include "reportpaths.h"
#include "testfiles.h"
#include "textfile.h"
#include "values.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>
#include <cmath>

using namespace quelvara;

namespace {

const QStringList kAmounts = {QStringLiteral("1.500,00"), QStringLiteral("0,10"),
                              QStringLiteral("234,25"),   QStringLiteral("1.000,25"),
                              QStringLiteral("0,20"),     QStringLiteral("12.345.678,90")};

// What item i holds in field j: amounts the totals must add up, texts that
// need quoting and escaping, and in item 3 amounts that are negative, written
// short, or no number at all.
QString fieldText(const ReportField &field, int i, int j)
{
    switch (field.shape) {
    case FieldShape::Money:
        if (i == 3) {
            if (field.accumulates() || j % 2 == 0) {
                return field.accumulates() ? msg::accumulationInstruction()
                                           : QStringLiteral("não informado");
            }
            return QStringLiteral("-10,5");
        }
        return kAmounts[(i + j) % kAmounts.size()];
    case FieldShape::Date:
        return i % 2 ? QStringLiteral("__/__/____") : QStringLiteral("31/12/2005");
    case FieldShape::Cnpj:
        return QStringLiteral("11.222.333/0001-81");
    case FieldShape::AsTyped:
        break;
    }
    if (i == 3) {
        return QStringLiteral("Obras; \"Fase 2\" <b>&amp; reforma</b>\nsegunda linha");
    }
    // Item 1 needs quotes in a CSV; item 4 holds what a CSV holds as it is
    // and JSON escapes, and a dash whose UTF-8 begins as a line separator's.
    const QString text = i == 1   ? QStringLiteral("Texto %1.%2; \"parte\"")
                         : i == 4 ? QStringLiteral("C:\\Texto %1.%2 \u2013 fim")
                                  : QStringLiteral("Texto %1.%2");
    return text.arg(i).arg(j);
}

// A moment apart from any a test runs at, to date a page with.
const QDateTime kDated(QDate(2005, 3, 10), QTime(14, 30, 5));

// Dates the file at the path kDated; tells whether it could.
bool date(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) &&
           file.setFileTime(kDated, QFileDevice::FileModificationTime);
}

// A step hook that dates a page as soon as it is in place: the JSON, which
// carries the page's time, is then the same whenever it is written.
StepOutcome datePageInPlace(FileStep step, const QString &path)
{
    if (step == FileStep::SyncDirectory && path.endsWith(QStringLiteral(".htm"))) {
        date(path);
    }
    return {};
}

// A kind's page of five items: plain, left out of the totals and quoted in
// a CSV, without field 2 (the page shows its code alone), hostile, plain but
// for a backslash and a dash.
PageInput kindInput(const ReportKind &kind)
{
    PageInput input = pageInputOf(kind);
    input.municipality = QStringLiteral("Vila Serena - MG");
    input.municipalityName = QStringLiteral("Vila Serena");
    input.state = QStringLiteral("MG");
    input.year = QStringLiteral("2005");
    const CategoryInfo &category = categoryInfo(kind.category);
    input.period = category.periods.isEmpty() ? QStringLiteral("0") : QStringLiteral("2");
    input.periodName = category.periods.value(1);
    for (int i = 0; i < 5; ++i) {
        QString line;
        for (int j = 1; j <= kind.fieldCount; ++j) {
            line +=
                (i == 2 && j == 2 ? QString() : fieldText(kind.fields[std::size_t(j - 1)], i, j)) +
                u'\t';
        }
        line += (i == 1 ? QStringLiteral("1") : QStringLiteral("0")) + u'\t';
        input.codes.append(GetField(line, 1));
        input.lines.append(line);
    }
    input.prefeito = QStringLiteral("Carlos Andrade");
    input.secFin = QStringLiteral("Beatriz Lima");
    input.contador = QStringLiteral("Paulo Souza");
    input.crc = QStringLiteral("MG-012345/O-6");
    return input;
}

QString withoutColon(QString caption)
{
    if (caption.endsWith(u':')) {
        caption.chop(1);
    }
    return caption;
}

const QRegularExpression kPlainAmount(QStringLiteral("^-?[0-9]+,[0-9]{2,}$"));

} // namespace

class TestOpenData : public QObject {
    Q_OBJECT
private slots:
    void everyKindAgreesWithItsPage_data();
    void everyKindAgreesWithItsPage();
    void csvBytes();
    void hostileTextsStayInTheirFields();
    void plainAmount_data();
    void plainAmount();
    void yearThatIsNoYearWritesNothing();
    void failedFileIsReported();
    void failedStepKeepsOldFile_data();
    void failedStepKeepsOldFile();
};

void TestOpenData::everyKindAgreesWithItsPage_data()
{
    // What the JSON calls each field: t texto, v valor, d data, c cnpj.
    const QStringList types = {// monthly
                               "ttvv", "ttvv", "tttttvvdt", "ttvv", "ttvv", "tttvvd", "ttctddtvt",
                               "tttctctvtv",
                               // bimonthly
                               "ttvv", "ttvvvvv", "ttvvvvv", "ttvvvvv", "ttvvvvv", "ttvvvvv",
                               // annual
                               "ttv", "ttv", "ttv", "ttv", "ttv", "ttv", "ttvvv", "ttvvv", "vvv"};
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("types");
    qsizetype k = 0;
    for (const CategoryInfo &category : categories()) {
        for (const ReportKind &kind : reportKinds(category.category)) {
            QTest::newRow(qPrintable(kind.prefix))
                << int(category.category) << kind.position << types.value(k++);
        }
    }
    QCOMPARE(k, types.size());
}

void TestOpenData::everyKindAgreesWithItsPage()
{
    QFETCH(int, category);
    QFETCH(int, position);
    QFETCH(QString, types);
    const ReportKind *kind = reportKind(ReportCategory(category), position);
    QVERIFY(kind);
    const PageInput input = kindInput(*kind);
    const int n = input.fieldCount;

    ScratchDir work;
    const auto path = [&](const char *extension) {
        return besidePagePath(input.year, input.prefix, input.period,
                              QString::fromLatin1(extension));
    };
    // Written together, every item read once for all three files, they are the same bytes as
    // the page and its open data written one after the other; the page is dated apart from the
    // moment it is written, and the open data carry its time.
    setFileStepHook(datePageInPlace);
    const bool together = writePageAndOpenData(input, true, PageRows(input)).ok();
    setFileStepHook({});
    QVERIFY(together);
    const QMap<QString, QByteArray> written = snapshot(work.path());
    for (auto it = written.cbegin(); it != written.cend(); ++it) {
        QFile::remove(work.file(it.key())); // directories stay
    }
    QVERIFY(writePageFile(input.year, input.prefix, input.period, buildPage(input)).ok());
    QVERIFY(date(path(".htm")));
    QVERIFY(writeOpenData(input).ok());
    QCOMPARE(snapshot(work.path()), written);
    QVERIFY(fileBytes(path(".json")).contains(isoLocalTime(kDated).toLatin1()));
    const Parsed parsed =
        parsePublished({QStringLiteral("page"), path(".htm"), QStringLiteral("csv"), path(".csv"),
                        QStringLiteral("json"), path(".json")});
    QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));

    const QJsonArray pageRows = parsed.value[0].toArray();
    const QJsonArray csvRows = parsed.value[1].toArray();
    const QJsonObject doc = parsed.value[2].toObject();
    const QJsonArray fields = doc[QStringLiteral("campos")].toArray();
    const QJsonArray items = doc[QStringLiteral("itens")].toArray();

    // The heading row, then one row per item, then the total row if any.
    const qsizetype count = input.codes.size();
    QCOMPARE(pageRows.size(), 1 + count + (input.totalRow ? 1 : 0));
    QCOMPARE(csvRows.size(), 1 + count);
    QCOMPARE(items.size(), count);
    QCOMPARE(fields.size(), n);

    const QJsonArray headings = pageRows[0].toArray();
    const QJsonArray csvHead = csvRows[0].toArray();
    QCOMPARE(csvHead.size(), n + 1);
    QCOMPARE(csvHead[n].toString(), QStringLiteral("Excluído do total"));
    QString jsonTypes;
    for (int j = 0; j < n; ++j) {
        const QString name = withoutColon(headings[j].toString());
        QCOMPARE(csvHead[j].toString(), name);
        QCOMPARE(fields[j][QStringLiteral("nome")].toString(), name);
        jsonTypes += fields[j][QStringLiteral("tipo")].toString().at(0);
    }
    QCOMPARE(jsonTypes, types);

    std::vector<double> sums(std::size_t(n), 0.0);
    for (qsizetype i = 0; i < count; ++i) {
        const QJsonArray shown = pageRows[i + 1].toArray();
        const QJsonArray row = csvRows[i + 1].toArray();
        const QJsonObject item = items[i].toObject();
        const QJsonArray values = item[QStringLiteral("valores")].toArray();
        QCOMPARE(row.size(), n + 1);
        QCOMPARE(values.size(), n);
        QCOMPARE(item[QStringLiteral("codigo")].toString(), input.codes[i]);
        const bool excluded = GetField(input.lines[i], n + 1) == QStringLiteral("1");
        QCOMPARE(row[n].toString(), excluded ? QStringLiteral("Sim") : QStringLiteral("Não"));
        QCOMPARE(item[QStringLiteral("excluido")].toBool(), excluded);
        for (int j = 0; j < n; ++j) {
            const QString cell = shown[j].toString(); // empty beyond the code of a short row
            const QString csvCell = row[j].toString();
            if (types[j] != u'v') {
                QCOMPARE(csvCell, cell);
                QCOMPARE(values[j].toString(), cell);
                continue;
            }
            const std::optional<double> amount = MoneyValue(cell);
            if (!amount) {
                QCOMPARE(csvCell, QString());
                QVERIFY(values[j].isNull());
                continue;
            }
            QVERIFY2(kPlainAmount.match(csvCell).hasMatch(), qPrintable(csvCell));
            QCOMPARE(DecimalValue(csvCell), amount);
            QVERIFY(values[j].isDouble());
            QCOMPARE(values[j].toDouble(), *amount);
            if (!excluded && j > 0) {
                sums[std::size_t(j)] += *amount;
            }
        }
    }

    if (!input.totalRow) {
        QVERIFY(!doc.contains(QStringLiteral("totais")));
    } else {
        const QJsonArray totalRow = pageRows.last().toArray();
        const QJsonArray totals = doc[QStringLiteral("totais")].toArray();
        QCOMPARE(totalRow[0].toString(), QStringLiteral("total:"));
        QCOMPARE(totals.size(), n);
        QVERIFY(totals[0].isNull());
        for (int j = 1; j < n; ++j) {
            const std::optional<double> total = MoneyValue(totalRow[j].toString());
            if (types[j] != u'v') {
                QCOMPARE(totalRow[j].toString(), QString());
                QVERIFY(totals[j].isNull());
                continue;
            }
            QVERIFY(total);
            QCOMPARE(totals[j].toDouble(), *total);
            // Summing the items the open data mark as counted gives the same total.
            QCOMPARE(std::round(sums[std::size_t(j)] * 100), std::round(*total * 100));
        }
    }

    QCOMPARE(doc[QStringLiteral("municipio")].toString(), input.municipalityName);
    QCOMPARE(doc[QStringLiteral("uf")].toString(), input.state);
    QCOMPARE(doc[QStringLiteral("relatorio")].toString(), input.title);
    QCOMPARE(doc[QStringLiteral("prefixo")].toString(), input.prefix);
    QCOMPARE(doc[QStringLiteral("ano")].toString(), input.year);
    QCOMPARE(doc[QStringLiteral("periodo")].toString(), input.period);
    QCOMPARE(doc[QStringLiteral("periodo_nome")].toString(), input.periodName);
    const QJsonObject officials = doc[QStringLiteral("responsaveis")].toObject();
    QCOMPARE(officials[QStringLiteral("prefeito")].toString(), input.prefeito);
    QCOMPARE(officials[QStringLiteral("secretario_financas")].toString(), input.secFin);
    QCOMPARE(officials[QStringLiteral("contador")].toString(), input.contador);
    QCOMPARE(officials[QStringLiteral("crc")].toString(), input.crc);
    // Stamped with the page's own time, as the index shows it.
    const QString stamp = doc[QStringLiteral("atualizado_em")].toString();
    QVERIFY2(QRegularExpression(
                 QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$"))
                 .match(stamp)
                 .hasMatch(),
             qPrintable(stamp));
    QCOMPARE(QDateTime::fromString(stamp, Qt::ISODate).toSecsSinceEpoch(),
             QFileInfo(path(".htm")).lastModified().toSecsSinceEpoch());
}

// The file's own form: byte-order mark, separators, quoting, CR LF, amounts.
void TestOpenData::csvBytes()
{
    PageInput input;
    input.fieldCount = 3;
    input.captions = {QStringLiteral("Codificação Numérica:"), QStringLiteral("Nome; sobrenome"),
                      QStringLiteral("Diferença")};
    input.fieldTypes = {Coluna(1), Coluna(2), Diferenca};
    input.codes = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    input.lines = {QStringLiteral("1\tDiz \"sim\"\t-1.234,5\t1\t"), QStringLiteral("2\tB\tx\t0\t"),
                   QStringLiteral("3\t\t5,00\t\t")};
    QCOMPARE(buildCsv(input), QByteArray("\xEF\xBB\xBF"
                                         "Codifica\xC3\xA7\xC3\xA3o Num\xC3\xA9rica;\"Nome; "
                                         "sobrenome\";Diferen\xC3\xA7"
                                         "a;Exclu\xC3\xAD"
                                         "do do total\r\n"
                                         "1;\"Diz \"\"sim\"\"\";-1234,50;Sim\r\n"
                                         "2;B;;N\xC3\xA3o\r\n"
                                         "3;;;N\xC3\xA3o\r\n"));
}

// Every kind of text that could end a field, a line, a string or an element
// early, and texts no Windows-1252 file could hold, come back out as they went
// in (an unpaired surrogate, which no UTF-8 can hold, as U+FFFD).
void TestOpenData::hostileTextsStayInTheirFields()
{
    const QString hostile = QStringLiteral("a;b\"c\"\r\nd\n<e>&amp;\u0001\u001f\u0000f \u2028"
                                           "ā€😀 \\u0041 \\\"");
    const QString lone = QString(QChar(0xD800)) + QStringLiteral("x");
    PageInput input;
    input.title = hostile;
    input.municipalityName = hostile;
    input.state = lone;
    input.year = QStringLiteral("2005");
    input.period = QStringLiteral("1");
    input.prefix = QStringLiteral("x-");
    input.position = -1;
    input.fieldCount = 3;
    input.captions = {hostile, lone, hostile};
    input.fieldTypes = {Texto, Texto, Valor};
    const QString text = QString(hostile).remove(u'\t');
    input.codes = {hostile, lone};
    input.lines = {hostile + u'\t' + text + u'\t' + text + QStringLiteral("\t0\t"),
                   lone + u'\t' + lone + QStringLiteral("\t1,00\t1\t")};
    input.prefeito = hostile;
    input.crc = lone;
    const QString cleanLone = QString(QChar::ReplacementCharacter) + QStringLiteral("x");

    ScratchDir work;
    putFile(work.file(QStringLiteral("f.csv")), buildCsv(input));
    const QByteArray json = buildJson(input, QDateTime::currentDateTime());
    putFile(work.file(QStringLiteral("f.json")), json);
    // Valid JSON either way, but a raw U+2028 ends a line in JavaScript.
    QVERIFY(json.contains("\\u2028") && !json.contains("\xE2\x80\xA8"));
    const Parsed parsed =
        parsePublished({QStringLiteral("csv"), work.file(QStringLiteral("f.csv")),
                        QStringLiteral("json"), work.file(QStringLiteral("f.json"))});
    QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));

    const QJsonArray rows = parsed.value[0].toArray();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].toArray().toVariantList(),
             QVariantList({hostile, cleanLone, hostile, QStringLiteral("Excluído do total")}));
    QCOMPARE(rows[1].toArray().toVariantList(),
             QVariantList({hostile, text, QString(), QStringLiteral("Não")}));
    QCOMPARE(rows[2].toArray().toVariantList(),
             QVariantList({cleanLone, cleanLone, QStringLiteral("1,00"), QStringLiteral("Sim")}));

    const QJsonObject doc = parsed.value[1].toObject();
    QCOMPARE(doc[QStringLiteral("relatorio")].toString(), hostile);
    QCOMPARE(doc[QStringLiteral("municipio")].toString(), hostile);
    QCOMPARE(doc[QStringLiteral("uf")].toString(), cleanLone);
    const QJsonArray items = doc[QStringLiteral("itens")].toArray();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0][QStringLiteral("codigo")].toString(), hostile);
    const QJsonArray first = items[0][QStringLiteral("valores")].toArray();
    QCOMPARE(first.size(), 3);
    QCOMPARE(first[0].toString(), hostile);
    QCOMPARE(first[1].toString(), text);
    QVERIFY(first[2].isNull());
    QCOMPARE(items[1][QStringLiteral("valores")].toArray().toVariantList(),
             QVariantList({cleanLone, cleanLone, 1.0}));
    QCOMPARE(doc[QStringLiteral("responsaveis")][QStringLiteral("prefeito")].toString(), hostile);
    QCOMPARE(doc[QStringLiteral("responsaveis")][QStringLiteral("crc")].toString(), cleanLone);
}

void TestOpenData::plainAmount_data()
{
    QTest::addColumn<QString>("money");
    QTest::addColumn<QString>("plain");
    QTest::newRow("thousands") << QStringLiteral("1.234,56") << QStringLiteral("1234,56");
    QTest::newRow("one decimal") << QStringLiteral("-10,5") << QStringLiteral("-10,50");
    QTest::newRow("whole") << QStringLiteral("7") << QStringLiteral("7,00");
    QTest::newRow("zero") << QStringLiteral("0,00") << QStringLiteral("0,00");
    QTest::newRow("negative zero") << QStringLiteral("-0,00") << QStringLiteral("0,00");
    QTest::newRow("more decimals") << QStringLiteral("0,125") << QStringLiteral("0,125");
    QTest::newRow("millions") << QStringLiteral("12.345.678,90") << QStringLiteral("12345678,90");
    QTest::newRow("leading zeros") << QStringLiteral("007,00") << QStringLiteral("7,00");
    QTest::newRow("no dots") << QStringLiteral("-1234,5") << QStringLiteral("-1234,50");
    QTest::newRow("fifteen digits")
        << QStringLiteral("1.234.567.890.123,45") << QStringLiteral("1234567890123,45");
    QTest::newRow("beyond a double's digits")
        << QStringLiteral("12.345.678.901.234,56") << QStringLiteral("12345678901234,60");
    QTest::newRow("no number") << msg::accumulationInstruction() << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestOpenData::plainAmount()
{
    QFETCH(QString, money);
    QFETCH(QString, plain);
    QCOMPARE(quelvara::plainAmount(money), plain);
    // The files take the same road, however they get there.
    PageInput input;
    input.fieldCount = 2;
    input.fieldTypes = {Texto, Valor};
    input.codes = {QStringLiteral("1")};
    input.lines = {QStringLiteral("1\t") + money + QStringLiteral("\t0\t")};
    const QByteArray csv = buildCsv(input);
    const QByteArray row = csv.mid(csv.indexOf("\r\n") + 2);
    QCOMPARE(row.split(';').value(1), plain.toUtf8());
}

void TestOpenData::yearThatIsNoYearWritesNothing()
{
    ScratchDir work;
    PageInput input;
    input.year = QStringLiteral("200");
    const FileResult result = writeOpenData(input);
    QVERIFY(!result.ok());
    QCOMPARE(result.message(), QString());
    QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

// A file that cannot be written is named; the others are written all the same.
void TestOpenData::failedFileIsReported()
{
    ScratchDir work;
    QVERIFY(QDir().mkpath(QStringLiteral("2005/compras-4-2005.csv")));
    PageInput input = kindInput(*reportKind(ReportCategory::Mensais, 7));
    input.period = QStringLiteral("4");
    const FileResult result = writeOpenData(input);
    QVERIFY(!result.ok());
    QCOMPARE(result.message(),
             QStringLiteral("Não foi possivel criar o arquivo ") +
                 QDir::toNativeSeparators(QDir::currentPath() +
                                          QStringLiteral("/2005/compras-4-2005.csv")));
    QVERIFY(QFileInfo(work.file(QStringLiteral("2005/compras-4-2005.json"))).isFile());
    QVERIFY(QFileInfo(work.file(QStringLiteral("2005/index.html"))).isFile());
    QVERIFY(QFileInfo(work.file(QStringLiteral("index.html"))).isFile());
}

// The open data go to their files in pieces: a step that fails anywhere in
// one of them says so, keeps its old file whole and leaves no temporary file,
// as a page does, and the other file is written all the same. Written with
// their page, a step of the page that fails keeps the old open data as well.
void TestOpenData::failedStepKeepsOldFile_data()
{
    QTest::addColumn<bool>("together");  // written with the page, not after it
    QTest::addColumn<int>("file");       // 0: the CSV, 1: the JSON, 2: the page
    QTest::addColumn<int>("stepNumber"); // a FileStep
    QTest::addColumn<bool>("last");      // the step's last occurrence in that file, not its first
    const std::pair<const char *, FileStep> steps[] = {
        {"create", FileStep::Create}, {"write", FileStep::Write},
        {"sync", FileStep::Sync},     {"close", FileStep::Close},
        {"rename", FileStep::Rename}, {"sync directory", FileStep::SyncDirectory},
    };
    const char *names[] = {"csv", "json", "page"};
    for (const bool together : {false, true}) {
        for (int file = 0; file < (together ? 3 : 2); ++file) {
            const char *how = together ? "with the page" : "alone";
            for (const auto &[name, step] : steps) {
                QTest::addRow("%s %s, %s", names[file], how, name)
                    << together << file << int(step) << false;
            }
            QTest::addRow("%s %s, last write", names[file], how)
                << together << file << int(FileStep::Write) << true;
        }
    }
}

void TestOpenData::failedStepKeepsOldFile()
{
    QFETCH(bool, together);
    QFETCH(int, file);
    QFETCH(int, stepNumber);
    QFETCH(bool, last);
    const auto step = FileStep(stepNumber);
    ScratchDir work;
    // Enough items for each file to go down in several pieces.
    PageInput input = kindInput(*reportKind(ReportCategory::Mensais, 0));
    for (int i = 0; i < 20000; ++i) {
        input.codes.append(QStringLiteral("9%1").arg(i, 6, 10, QLatin1Char('0')));
        input.lines.append(input.codes.constLast() +
                           QStringLiteral("\tTaxa de número %1\t1.234,56\t0\t").arg(i));
    }
    const QString paths[] = {
        besidePagePath(input.year, input.prefix, input.period, QStringLiteral(".csv")),
        besidePagePath(input.year, input.prefix, input.period, QStringLiteral(".json")),
        pageFilePath(input.year, input.prefix, input.period),
    };
    // The page is dated alike whenever it is written, so that the JSON is the same in every run.
    QVERIFY(writePageFile(input.year, input.prefix, input.period, buildPage(input)).ok());
    date(paths[2]);
    const PageRows rows(input);
    const auto write = [&] {
        return together ? writePageAndOpenData(input, false, rows) : writeOpenData(input, false);
    };
    const QByteArray old = QByteArrayLiteral("antigo");
    QList<std::pair<FileStep, QString>> steps;
    setFileStepHook([&steps](FileStep s, const QString &path) {
        steps.append({s, path});
        return datePageInPlace(s, path);
    });
    const bool cleanOk = write().ok();
    setFileStepHook({});
    QVERIFY(cleanOk);
    const QByteArray fresh[] = {fileBytes(paths[0]), fileBytes(paths[1]), fileBytes(paths[2])};

    // The files are written side by side: each step names its file.
    const QString target = QFileInfo(paths[file]).absoluteFilePath();
    QList<qsizetype> own; // where this file's steps stand among all
    qsizetype writes = 0;
    for (qsizetype i = 0; i < steps.size(); ++i) {
        if (steps.at(i).second == target) {
            own.append(i);
            writes += steps.at(i).first == FileStep::Write ? 1 : 0;
        }
    }
    QVERIFY(writes >= 4);
    qsizetype failAt = -1;
    for (const qsizetype i : own) {
        if (steps.at(i).first == step && (last || failAt < 0)) {
            failAt = i;
        }
    }
    QVERIFY(failAt >= 0);

    for (const QString &path : paths) {
        if (path != paths[2] || together) {
            putFile(path, old);
        }
    }
    int count = 0;
    setFileStepHook([&count, failAt](FileStep s, const QString &path) {
        datePageInPlace(s, path);
        return count++ == failAt ? StepOutcome{EIO, false} : StepOutcome{};
    });
    const FileResult result = write();
    setFileStepHook({});

    QVERIFY(!result.ok());
    QCOMPARE(result.message(), msg::cannotCreateFile(paths[file]));
    QCOMPARE(fileBytes(paths[file]), step == FileStep::SyncDirectory ? fresh[file] : old);
    for (int other = 0; other < 3; ++other) {
        // Beside a page that failed the open data stay old; alone, the page is left as it was.
        const bool written = other == 2 || !(together && file == 2);
        if (other != file) {
            QCOMPARE(fileBytes(paths[other]), written ? fresh[other] : old);
        }
    }
    const QStringList left = QDir(pageYearDir(input.year)).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(std::none_of(left.cbegin(), left.cend(), isTemporaryFileName),
             qPrintable(left.join(u' ')));
}

QTEST_GUILESS_MAIN(TestOpenData)
#include "test_opendata.moc"
