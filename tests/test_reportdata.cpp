#include "catalogue.h"
#include "reportdata.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quelvara;

Q_DECLARE_METATYPE(quelvara::ReportCategory)

namespace {

// Field types as the editor holds them: index 0 unused, the rest given.
FieldTypes typesOf(std::initializer_list<int> fields)
{
    FieldTypes types{};
    int i = 1;
    for (const int type : fields) {
        types[std::size_t(i++)] = type;
    }
    return types;
}

// Monthly taxes: code, name, amount of the month, accumulated.
const FieldTypes kTaxTypes = typesOf({Coluna(1), Coluna(2), Valor, Acumulado});

// Records every accumulation asked for and answers with a text that names it.
struct Accumulator {
    QStringList calls;

    AccumulateFn fn()
    {
        return [this](const QString &value, int k, const QString &code) {
            calls.append(QStringLiteral("%1|%2|%3").arg(value).arg(k).arg(code));
            return QStringLiteral("acc(%1,%2)").arg(value).arg(k);
        };
    }
};

} // namespace

class TestReportData : public QObject {
    Q_OBJECT

private slots:
    void defaults_data();
    void defaults();
    void registryLine();
    void registryLineIgnoresStaleTypes();
    void registryLineFromIrregularEntry();
    void unclosedRegistryLineKeepsItsName();
    void seedingHasNoFlag();
    void mergeRegistryNamesWin();
    void mergeAddsNewRegistryCodes();
    void mergeKeepsOtherLines();
    void mergeRecomputesAccumulated();
    void mergeCopiesTheFlag_data();
    void mergeCopiesTheFlag();
    void mergeMatchesCodesIgnoringCase_data();
    void mergeMatchesCodesIgnoringCase();
    void mergeWithRegistryCodeTwice();
    void mergeInStepPairsAsByCode_data();
    void mergeInStepPairsAsByCode();
    void staleFieldTypesAreNeverRead();
    void loadMissingFileOfRegistryKind();
    void loadMissingFileOfCnpjKind();
    void loadExistingFile();
    void loadUnreadableFile();
    void composeLine_data();
    void composeLine();
    void extendRegistry_data();
    void extendRegistry();
    void extendKeepsUnsortedRegistrySorted();
    void registryIndexOf();
    void nextPurchaseNumber_data();
    void nextPurchaseNumber();
};

void TestReportData::defaults_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");

    QTest::newRow("Texto") << int(Texto) << "";
    QTest::newRow("Coluna 1") << Coluna(1) << "";
    QTest::newRow("Coluna 2") << Coluna(2) << "";
    QTest::newRow("Valor") << int(Valor) << "0,00";
    QTest::newRow("Diferenca") << int(Diferenca) << "0,00";
    QTest::newRow("Orcado") << int(Orcado) << "0,00";
    QTest::newRow("ValorTotal") << int(ValorTotal) << "0,00";
    QTest::newRow("Data") << int(Data) << "__/__/____";
}

void TestReportData::defaults()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QCOMPARE(defaultFieldText(type), text);
}

void TestReportData::registryLine()
{
    Accumulator acc;
    const QString entry = QStringLiteral("1112.02.00\tIPTU\t");
    QCOMPARE(registryItemLine(entry, kTaxTypes, 4, false, acc.fn()),
             QStringLiteral("1112.02.00\tIPTU\t0,00\tacc(0,00,4)\t"));
    QCOMPARE(registryItemLine(entry, kTaxTypes, 4, true, acc.fn()),
             QStringLiteral("1112.02.00\tIPTU\t0,00\tacc(0,00,4)\t0\t"));
    QCOMPARE(acc.calls, (QStringList{"0,00|4|1112.02.00", "0,00|4|1112.02.00"}));

    // Bimonthly expenses: every default type in one line.
    const FieldTypes expense =
        typesOf({Coluna(1), Coluna(2), Orcado, Valor, Acumulado, Valor, Acumulado});
    QCOMPARE(registryItemLine("02.01\tCâmara\t", expense, 7, false, acc.fn()),
             QStringLiteral("02.01\tCâmara\t0,00\t0,00\tacc(0,00,5)\t0,00\tacc(0,00,7)\t"));
    const FieldTypes dates = typesOf({Coluna(1), Coluna(2), Texto, Data});
    QCOMPARE(registryItemLine("1\tx\t", dates, 4, false, acc.fn()),
             QStringLiteral("1\tx\t\t__/__/____\t"));
}

void TestReportData::registryLineIgnoresStaleTypes()
{
    // Entries beyond the field count are left over from the kind shown before.
    FieldTypes types = kTaxTypes;
    types[5] = Acumulado;
    types[6] = Data;
    Accumulator acc;
    QCOMPARE(registryItemLine("1\tx\t", types, 4, true, acc.fn()),
             QStringLiteral("1\tx\t0,00\tacc(0,00,4)\t0\t"));
    QCOMPARE(acc.calls, QStringList{"0,00|4|1"});
}

void TestReportData::registryLineFromIrregularEntry()
{
    // Code and name are the first two fields, whatever else the entry holds.
    const FieldTypes types = typesOf({Coluna(1), Coluna(2), Valor});
    QCOMPARE(registryItemLine("1\tx\textra\t", types, 3, true, {}),
             QStringLiteral("1\tx\t0,00\t0\t"));
    QCOMPARE(registryItemLine("1\tx\t\t", types, 3, true, {}), QStringLiteral("1\tx\t0,00\t0\t"));
    // A last field without its TAB (a registry edited by hand) keeps its text.
    QCOMPARE(registryItemLine("1\tx", types, 3, false, {}), QStringLiteral("1\tx\t0,00\t"));
    QCOMPARE(registryItemLine("1", types, 3, false, {}), QStringLiteral("1\t\t0,00\t"));
}

void TestReportData::unclosedRegistryLineKeepsItsName()
{
    // The name reaches the items, so the page and its totals show them.
    const QStringList registry{"1112.02.00\tIPTU", "1113.05.00\tTaxa de Licença\t"};
    QCOMPARE(seedFromRegistry(registry, kTaxTypes, 4, {}).first(),
             QStringLiteral("1112.02.00\tIPTU\t0,00\t0,00\t"));
    const ItemList merged =
        mergeRegistry({"1112.02.00\t\t5,00\t9,00\t0\t"}, registry, kTaxTypes, 4, {});
    QCOMPARE(merged.lines(), (QStringList{"1112.02.00\tIPTU\t5,00\t9,00\t0\t",
                                          "1113.05.00\tTaxa de Licença\t0,00\t0,00\t0\t"}));
    // Its code is known: saving an item of it adds no second entry.
    QStringList extended = registry;
    QVERIFY(quelvara::extendRegistry(extended, ReportCategory::Mensais, 0, {"1112.02.00", "IPTU"}));
    QCOMPARE(extended, registry);
}

void TestReportData::seedingHasNoFlag()
{
    Accumulator acc;
    const QStringList seeded = seedFromRegistry({"b\tBee\t", "a\tAy\t"}, kTaxTypes, 4, acc.fn());
    QCOMPARE(seeded, (QStringList{"b\tBee\t0,00\tacc(0,00,4)\t", "a\tAy\t0,00\tacc(0,00,4)\t"}));
    QCOMPARE(acc.calls, (QStringList{"0,00|4|b", "0,00|4|a"}));
}

void TestReportData::mergeRegistryNamesWin()
{
    const ItemList items =
        mergeRegistry({"101\tOld name\t5,00\t9,00\t1\t"}, {"101\tNew name\t"}, kTaxTypes, 4, {});
    QCOMPARE(items.lines(), QStringList{"101\tNew name\t5,00\t9,00\t1\t"});
}

void TestReportData::mergeAddsNewRegistryCodes()
{
    Accumulator acc;
    const ItemList items = mergeRegistry(
        {"200\tB\t1,00\t1,00\t0\t"}, {"300\tC\t", "100\tA\t", "200\tB\t"}, kTaxTypes, 4, acc.fn());
    QCOMPARE(items.codes(), (QStringList{"100", "200", "300"}));
    QCOMPARE(items.line(0), QStringLiteral("100\tA\t0,00\tacc(0,00,4)\t0\t"));
    QCOMPARE(items.line(2), QStringLiteral("300\tC\t0,00\tacc(0,00,4)\t0\t"));
    QCOMPARE(items.line(1), QStringLiteral("200\tB\t1,00\tacc(1,00,4)\t0\t"));
    // Registry order, once per registry item.
    QCOMPARE(acc.calls, (QStringList{"0,00|4|300", "0,00|4|100", "1,00|4|200"}));
}

void TestReportData::mergeKeepsOtherLines()
{
    Accumulator acc;
    const QStringList lines{"zz\tTyped by hand\t7,00\t\t1\t", "odd line without tab",
                            "101\tIPTU\t1,00\t1,00\t0\t"};
    const ItemList items = mergeRegistry(lines, {"101\tIPTU\t"}, kTaxTypes, 4, acc.fn());
    QCOMPARE(items.size(), 3);
    QCOMPARE(items.codes(), (QStringList{"", "101", "zz"}));
    QCOMPARE(items.line(0), QStringLiteral("odd line without tab"));
    QCOMPARE(items.line(2), QStringLiteral("zz\tTyped by hand\t7,00\t\t1\t"));
    QCOMPARE(acc.calls, QStringList{"1,00|4|101"}); // only registry items are computed
}

void TestReportData::mergeRecomputesAccumulated()
{
    // Bimonthly expenses: fields 5 and 7 each from the field before them.
    const FieldTypes expense =
        typesOf({Coluna(1), Coluna(2), Orcado, Valor, Acumulado, Valor, Acumulado});
    Accumulator acc;
    const ItemList items = mergeRegistry({"02.01\tX\t10,00\t2,00\tstale\t3,00\tstale\t1\t"},
                                         {"02.01\tCâmara\t"}, expense, 7, acc.fn());
    QCOMPARE(items.lines(),
             QStringList{QStringLiteral(
                 "02.01\tCâmara\t10,00\t2,00\tacc(2,00,5)\t3,00\tacc(3,00,7)\t1\t")});
    QCOMPARE(acc.calls, (QStringList{"2,00|5|02.01", "3,00|7|02.01"}));

    // The widest record: its last field accumulated, its flag past every field type.
    const FieldTypes widest =
        typesOf({Coluna(1), Coluna(2), Valor, Valor, Valor, Valor, Valor, Valor, Valor, Acumulado});
    QCOMPARE(mergeRegistry({"9\tx\t1\t2\t3\t4\t5\t6\t7\tstale\t1\t"}, {"9\tN\t"}, widest,
                           kMaxFields, acc.fn())
                 .lines(),
             QStringList{QStringLiteral("9\tN\t1\t2\t3\t4\t5\t6\t7\tacc(7,10)\t1\t")});
}

void TestReportData::mergeCopiesTheFlag_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("merged");

    QTest::newRow("checked") << "1\tx\t1,00\t1,00\t1\t"
                             << "1\tR\t1,00\tacc(1,00,4)\t1\t";
    QTest::newRow("unchecked") << "1\tx\t1,00\t1,00\t0\t"
                               << "1\tR\t1,00\tacc(1,00,4)\t0\t";
    QTest::newRow("empty") << "1\tx\t1,00\t1,00\t\t"
                           << "1\tR\t1,00\tacc(1,00,4)\t\t";
    QTest::newRow("absent") << "1\tx\t1,00\t1,00\t"
                            << "1\tR\t1,00\tacc(1,00,4)\t\t";
    QTest::newRow("short line") << "1\t"
                                << "1\tR\t\tacc(,4)\t\t";
}

void TestReportData::mergeCopiesTheFlag()
{
    QFETCH(QString, line);
    QFETCH(QString, merged);
    Accumulator acc;
    QCOMPARE(mergeRegistry({line}, {"1\tR\t"}, kTaxTypes, 4, acc.fn()).lines(),
             QStringList{merged});
}

void TestReportData::mergeMatchesCodesIgnoringCase_data()
{
    // Either side may hold the capitals, plain or accented.
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("registered");
    QTest::newRow("registry in capitals") << "abc"
                                          << "ABC";
    QTest::newRow("file in capitals") << "ABC"
                                      << "abc";
    QTest::newRow("file with an accented capital") << "ÁBC"
                                                   << "ábc";
}

void TestReportData::mergeMatchesCodesIgnoringCase()
{
    QFETCH(QString, read);
    QFETCH(QString, registered);
    const ItemList items = mergeRegistry({read + "\told\t2,00\t2,00\t1\t", "b\tB\t\t\t0\t"},
                                         {registered + "\tNew\t"}, kTaxTypes, 4, {});
    QCOMPARE(items.codes(), (QStringList{registered, "b"}));
    QCOMPARE(items.line(0), registered + "\tNew\t2,00\t2,00\t1\t");
}

void TestReportData::mergeWithRegistryCodeTwice()
{
    // The second registry line finds the line the first one built: one item,
    // named by the later line, its values kept.
    const ItemList items =
        mergeRegistry({"1\told\t5,00\t5,00\t1\t"}, {"1\tFirst\t", "1\tSecond\t"}, kTaxTypes, 4, {});
    QCOMPARE(items.lines(), QStringList{"1\tSecond\t5,00\t5,00\t1\t"});
}

void TestReportData::mergeInStepPairsAsByCode_data()
{
    QTest::addColumn<QStringList>("readCodes");
    QTest::addColumn<QStringList>("registryCodes");
    const QStringList codes[] = {{"1", "2", "3"}, {"b", "a", "c"}, {"1", "1", "2"},
                                 {"A", "b", "a"}, {"ÁB", "áb"},    {"2", "1"},
                                 {"a", "B"},      {"1", "2", "2"}};
    const QStringList registered[] = {codes[0], codes[1],   codes[2],   codes[3],
                                      codes[4], {"1", "2"}, {"A", "b"}, {"1", "1", "2"}};
    const char *names[] = {"in step",
                           "in step, out of order",
                           "in step, a code twice",
                           "in step, a code in two cases",
                           "in step, accented capitals",
                           "the same codes in another order",
                           "the same codes in other cases",
                           "a code twice in each, at other places"};
    for (int i = 0; i < 8; ++i) {
        QTest::newRow(names[i]) << codes[i] << registered[i];
    }
}

void TestReportData::mergeInStepPairsAsByCode()
{
    // The same lines with one more, not registered, are always paired with
    // the registry by looking their codes up.
    QFETCH(QStringList, readCodes);
    QFETCH(QStringList, registryCodes);
    QStringList read;
    QStringList registry;
    for (qsizetype i = 0; i < readCodes.size(); ++i) {
        read.append(readCodes[i] +
                    QStringLiteral("\tread %1\t%1,00\t%1,00\t%2\t").arg(i + 1).arg(i % 2));
        registry.append(registryCodes[i] + QStringLiteral("\tentry %1\t").arg(i + 1));
    }
    Accumulator asRead;
    Accumulator byCode;
    const ItemList merged = mergeRegistry(read, registry, kTaxTypes, 4, asRead.fn());
    ItemList expected = mergeRegistry(read + QStringList{"zz\tnot registered\t\t\t0\t"}, registry,
                                      kTaxTypes, 4, byCode.fn());
    expected.removeAt(expected.indexOf("zz"));
    QCOMPARE(merged.lines(), expected.lines());
    QCOMPARE(asRead.calls, byCode.calls);
}

void TestReportData::staleFieldTypesAreNeverRead()
{
    // The revenue kind (four fields) shown after a bimonthly expense kind:
    // field 5 still says Acumulado, but it is the flag of the revenue lines.
    FieldTypes types = typesOf({Coluna(1), Coluna(2), Orcado, Valor, Acumulado, Valor, Acumulado});
    types[3] = Valor;
    types[4] = Acumulado;
    Accumulator acc;
    const ItemList items = mergeRegistry({"1\tx\t3,00\t4,00\t1\t", "2\ty\t3,00\t4,00\t0\t"},
                                         {"1\tR1\t", "2\tR2\t", "3\tR3\t"}, types, 4, acc.fn());
    QCOMPARE(items.lines(),
             (QStringList{"1\tR1\t3,00\tacc(3,00,4)\t1\t", "2\tR2\t3,00\tacc(3,00,4)\t0\t",
                          "3\tR3\t0,00\tacc(0,00,4)\t0\t"}));
    for (const QString &call : acc.calls) {
        QCOMPARE(call.section(u'|', 1, 1), QStringLiteral("4"));
    }
}

void TestReportData::loadMissingFileOfRegistryKind()
{
    QTemporaryDir dir;
    Accumulator acc;
    const LoadedItems loaded = loadItemList(dir.filePath("none.vqd"), {"20\tB\t", "10\tA\t"},
                                            kTaxTypes, 4, true, acc.fn());
    QCOMPARE(loaded.status, ReadStatus::Missing);
    // Seeded without a flag, then merged: the flag field stays empty.
    QCOMPARE(loaded.items.lines(),
             (QStringList{"10\tA\t0,00\tacc(0,00,4)\t\t", "20\tB\t0,00\tacc(0,00,4)\t\t"}));
    // Each registry item is accumulated twice: once seeded, once merged.
    QCOMPARE(acc.calls, (QStringList{"0,00|4|20", "0,00|4|10", "0,00|4|20", "0,00|4|10"}));
    QVERIFY(!QFile::exists(dir.filePath("none.vqd")));
}

void TestReportData::loadMissingFileOfCnpjKind()
{
    QTemporaryDir dir;
    const LoadedItems loaded =
        loadItemList(dir.filePath("none.vqd"), {"APAE\t45.645.645/0001-10\t"},
                     typesOf({Texto, Texto, Coluna(1)}), 10, false, {});
    QCOMPARE(loaded.status, ReadStatus::Missing);
    QVERIFY(loaded.items.isEmpty());
}

void TestReportData::loadExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("compras-3-2005.vqd");
    const QStringList stored{"000002\tb\t", "000001\ta\t"};
    QVERIFY(writeLines(path, stored).ok());

    // A CNPJ kind takes the file as it is, in order.
    const LoadedItems cnpj = loadItemList(path, {"000003\tz\t"}, {}, 10, false, {});
    QCOMPARE(cnpj.status, ReadStatus::Ok);
    QCOMPARE(cnpj.items.lines(), (QStringList{"000001\ta\t", "000002\tb\t"}));

    // A registry kind completes it from the registry.
    const LoadedItems merged =
        loadItemList(path, {"000003\tz\t"}, typesOf({Coluna(1), Coluna(2), Valor}), 3, true, {});
    QCOMPARE(merged.items.lines(),
             (QStringList{"000001\ta\t", "000002\tb\t", "000003\tz\t0,00\t0\t"}));
}

void TestReportData::loadUnreadableFile()
{
    QTemporaryDir dir;
    // A directory where the file should be: it exists but cannot be read.
    const QString path = dir.filePath("trib-arrec-1-2005.vqd");
    QVERIFY(QDir().mkpath(path));
    const LoadedItems loaded = loadItemList(path, {"1\tA\t"}, kTaxTypes, 4, true, {});
    QCOMPARE(loaded.status, ReadStatus::Unreadable);
    QCOMPARE(loaded.items.lines(), QStringList{"1\tA\t0,00\t0,00\t0\t"});
}

void TestReportData::composeLine_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("excluded");
    QTest::addColumn<QString>("line");

    QTest::newRow("monthly tax") << QStringList{"1112.02.00", "IPTU", "1.500,00", "4.500,00"}
                                 << false << "1112.02.00\tIPTU\t1.500,00\t4.500,00\t0\t";
    QTest::newRow("excluded") << QStringList{"1", "x", "2,00"} << true << "1\tx\t2,00\t1\t";
    QTest::newRow("empty fields") << QStringList{"1", "", ""} << false << "1\t\t\t0\t";
    QTest::newRow("breaks cannot split the record")
        << QStringList{"1", "a\tb", "c\r\nd"} << false << "1\tab\tcd\t0\t";
}

void TestReportData::composeLine()
{
    QFETCH(QStringList, fields);
    QFETCH(bool, excluded);
    QFETCH(QString, line);
    QCOMPARE(quelvara::composeLine(fields, excluded), line);
}

void TestReportData::extendRegistry_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("registry");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("written");

    const auto M = ReportCategory::Mensais;
    const auto B = ReportCategory::Bimestrais;
    const auto A = ReportCategory::Anuais;
    const QStringList taxes{"1112.02.00\tIPTU\t", "1113.05.01\tISS\t"};

    for (const int position : {0, 1, 3, 4}) {
        QTest::addRow("monthly %d new code", position)
            << M << position << QStringList{"1112.04.31", "IRRF", "1,00", "1,00"} << taxes
            << QStringList{"1112.02.00\tIPTU\t", "1112.04.31\tIRRF\t", "1113.05.01\tISS\t"} << true;
    }
    QTest::newRow("monthly known code in other case")
        << M << 0 << QStringList{"abc", "Other", "1,00", "1,00"} << QStringList{"ABC\tName\t"}
        << QStringList{"ABC\tName\t"} << true;
    QTest::newRow("monthly 2 never")
        << M << 2 << QStringList{"9", "x", "y"} << QStringList{} << QStringList{} << false;
    QTest::newRow("monthly 5 never")
        << M << 5 << QStringList{"9", "x", "y"} << QStringList{} << QStringList{} << false;

    const QStringList firms{"APAE\t45.645.645/0001-10\t"};
    QTest::newRow("contracts new contractor")
        << M << 6 << QStringList{"12/2005", "Posto Ltda", "32.132.132/0001-63"} << firms
        << QStringList{"APAE\t45.645.645/0001-10\t", "Posto Ltda\t32.132.132/0001-63\t"} << true;
    QTest::newRow("contracts empty contractor")
        << M << 6 << QStringList{"12/2005", "", "32.132.132/0001-63"} << firms << firms << true;
    QTest::newRow("contracts known contractor")
        << M << 6 << QStringList{"12/2005", "apae", "1"} << firms << firms << true;

    const QStringList purchase{
        "000001", "Saúde", "Hospital", "11.111.111/0001-11", "Posto Ltda", "32.132.132/0001-63"};
    QTest::newRow("purchases both new")
        << M << 7 << purchase << firms
        << QStringList{"APAE\t45.645.645/0001-10\t", "Hospital\t11.111.111/0001-11\t",
                       "Posto Ltda\t32.132.132/0001-63\t"}
        << true;
    QTest::newRow("purchases same new firm twice checks the registry before the save")
        << M << 7 << QStringList{"000001",     "Saúde",
                                 "Posto Ltda", "32.132.132/0001-63",
                                 "Posto Ltda", "32.132.132/0001-63"}
        << firms
        << QStringList{"APAE\t45.645.645/0001-10\t", "Posto Ltda\t32.132.132/0001-63\t",
                       "Posto Ltda\t32.132.132/0001-63\t"}
        << true;
    QTest::newRow("purchases unit empty, supplier known")
        << M << 7 << QStringList{"000001", "Saúde", "", "", "APAE", "x"} << firms << firms << true;
    QTest::newRow("purchases unit known, supplier new")
        << M << 7 << QStringList{"000001", "Saúde", "APAE", "x", "Novo", "1"} << firms
        << QStringList{"APAE\t45.645.645/0001-10\t", "Novo\t1\t"} << true;

    for (int position = 0; position < 6; ++position) {
        QTest::addRow("bimonthly %d", position)
            << B << position << QStringList{"02.02", "Secretaria", "0,00"}
            << QStringList{"02.01\tCâmara\t"}
            << QStringList{"02.01\tCâmara\t", "02.02\tSecretaria\t"} << true;
    }
    for (int position = 0; position < 8; ++position) {
        QTest::addRow("annual %d", position)
            << A << position << QStringList{"1", "Um", "0,00"} << QStringList{"2\tDois\t"}
            << QStringList{"1\tUm\t", "2\tDois\t"} << true;
    }
    QTest::newRow("annual 8 never")
        << A << 8 << QStringList{"1,00", "2,00", "3,00"} << QStringList{"b\t", "a\t"}
        << QStringList{"b\t", "a\t"} << false;
}

void TestReportData::extendRegistry()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, position);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, registry);
    QFETCH(QStringList, expected);
    QFETCH(bool, written);

    QCOMPARE(quelvara::extendRegistry(registry, category, position, fields), written);
    QCOMPARE(registry, expected);
}

void TestReportData::extendKeepsUnsortedRegistrySorted()
{
    // A registry read in file order that is not sorted comes out sorted.
    QStringList registry{"c\tC\t", "A\ta\t", "b\tB\t"};
    QVERIFY(quelvara::extendRegistry(registry, ReportCategory::Mensais, 0, {"B2", "x"}));
    QCOMPARE(registry, (QStringList{"A\ta\t", "b\tB\t", "B2\tx\t", "c\tC\t"}));
    QVERIFY(quelvara::extendRegistry(registry, ReportCategory::Mensais, 0, {"a", "y"}));
    QCOMPARE(registry, (QStringList{"A\ta\t", "b\tB\t", "B2\tx\t", "c\tC\t"}));
}

void TestReportData::registryIndexOf()
{
    const QStringList registry{"101\tIPTU\t", "abc\tone\t", "ABC\ttwo\t", "no tab"};
    QCOMPARE(quelvara::registryIndexOf(registry, "ABC"), 1);
    QCOMPARE(quelvara::registryIndexOf(registry, "101"), 0);
    QCOMPARE(quelvara::registryIndexOf(registry, "10"), -1);
    QCOMPARE(quelvara::registryIndexOf(registry, "IPTU"), -1);
    QCOMPARE(quelvara::registryIndexOf(registry, "no tab"), 3);
    QCOMPARE(quelvara::registryIndexOf(registry, ""), -1);
}

void TestReportData::nextPurchaseNumber_data()
{
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("next");

    QTest::newRow("after the last") << QStringList{"000001", "000003"} << "000004";
    QTest::newRow("empty list") << QStringList{} << "000001";
    QTest::newRow("last not a number") << QStringList{"abc", "xyz"} << "000003";
    QTest::newRow("count taken") << QStringList{"000004", "x", "y"} << "000005";
    QTest::newRow("count and above taken")
        << QStringList{"000004", "000005", "000006", "zz"} << "000007";
    QTest::newRow("plain numbers") << QStringList{"41"} << "000042";
    QTest::newRow("more than six digits") << QStringList{"1234567"} << "1234568";
    QTest::newRow("unpadded codes") << QStringList{"2", "3", "5"} << "000006";
    QTest::newRow("padded twin of the count is taken")
        << QStringList{"000003", "000004", "a"} << "000005";
    QTest::newRow("decimal is not an integer") << QStringList{"1,5"} << "000002";
    QTest::newRow("negative") << QStringList{"-5"} << "-00004";
}

void TestReportData::nextPurchaseNumber()
{
    QFETCH(QStringList, codes);
    QFETCH(QString, next);
    ItemList items;
    for (const QString &code : codes) {
        items.put(code, code + u'\t');
    }
    QCOMPARE(quelvara::nextPurchaseNumber(items), next);
}

QTEST_GUILESS_MAIN(TestReportData)
#include "test_reportdata.moc"
