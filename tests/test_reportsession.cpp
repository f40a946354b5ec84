// Tests of the report session: the editor's rules, files and messages without
// a window. Every test runs in a fresh working directory holding a copy of the
// sample data folder; messages are compared with their exact texts.
#include "messages.h"
#include "reportsession.h"
#include "reportpaths.h"
#include "testfiles.h"
#include "textfile.h"
#include "values.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <optional>

using namespace quelvara;

Q_DECLARE_METATYPE(quelvara::ReportCategory)

namespace {

constexpr auto M = ReportCategory::Mensais;
constexpr auto B = ReportCategory::Bimestrais;
constexpr auto A = ReportCategory::Anuais;

const QString kInstruction =
    QStringLiteral("Clique no botão \"Atualizar Valores\" para calcular o acumulado.");
const QString kTaxes = QStringLiteral("trib-arrec-1-2005.vqd");

// Returns the data file of the year 2005, relative to the working directory.
QString data2005(const QString &name) { return QStringLiteral("dados/2005/") + name; }

QString noPrevious(const QString &name)
{
    return QStringLiteral("Não existe o arquivo anterior: ") + nativePath(data2005(name));
}

// Returns the messages with each data file named relative to the working directory ("dados/...")
// given its full native path, as the session names it.
QStringList fullPaths(QStringList messages)
{
    static const QRegularExpression relative(QStringLiteral("^(.* )(dados/.*)$"));
    for (QString &message : messages) {
        const QRegularExpressionMatch match = relative.match(message);
        if (match.hasMatch()) {
            message = match.captured(1) + nativePath(match.captured(2));
        }
    }
    return messages;
}

// Returns the field texts of an item, field 1 first.
FieldTexts texts(const QStringList &fields)
{
    FieldTexts result;
    for (int i = 0; i < fields.size() && i < kMaxFields; ++i) {
        result[std::size_t(i + 1)] = fields.at(i);
    }
    return result;
}

// Returns the lines a period without a file starts with: each registry entry and the defaults.
QStringList seeded(const QString &registry, const QString &defaults)
{
    QStringList lines;
    for (const QString &entry : sampleLines(registry)) {
        lines.append(entry + defaults);
    }
    return lines;
}

QStringList seededTaxes() { return seeded(QStringLiteral("tributos.vqd"), "0,00\t0,00\t\t"); }

} // namespace

class TestReportSession : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Choosing a kind, the registry, the profile.
    void chooseKindReadsTheRegistry_data();
    void chooseKindReadsTheRegistry();
    void typedTitleKeepsTheKind_data();
    void typedTitleKeepsTheKind();
    void officials_data();
    void officials();

    // Fields.
    void leaveField_data();
    void leaveField();
    void enterField_data();
    void enterField();
    void complete_data();
    void complete();
    void resetField_data();
    void resetField();

    // Loading.
    void seedsFromTheRegistry_data();
    void seedsFromTheRegistry();
    void loadMergesTheRegistry();
    void missingPreviousFileOnLoad();
    void unreadableDataFileIsNeverReplaced_data();
    void unreadableDataFileIsNeverReplaced();
    void invalidYearIsNeverAPath_data();
    void invalidYearIsNeverAPath();

    // Saving.
    void saveNewCodeExtendsRegistry();
    void saveExtendsRegistry_data();
    void saveExtendsRegistry();
    void saveReplacesCodeIgnoringCase();
    void emptyFirstField();
    void failedSaveKeepsPreviousFile();
    void yearDirectoryCannotBeCreated();
    void unreadableRegistryRefusesSaving();
    void flagFieldAfterLongerKind();
    void proposedNumber_data();
    void proposedNumber();

    // Deleting.
    void deleteInRegistryKind_data();
    void deleteInRegistryKind();
    void deleteInCnpjKind_data();
    void deleteInCnpjKind();
    void deleteWriteFailures_data();
    void deleteWriteFailures();
    void deleteWithoutItem();

    // Accumulated values and the page.
    void recalculationCreatesEarlierPeriods();
    void yearRecalculatedFromScratch();
    void recalculationAccumulatesFromDisk();
    void recalculationChangesNothing_data();
    void recalculationChangesNothing();
    void pageOfTheLoad_data();
    void pageOfTheLoad();
    void savingDoesNotRewriteThePage();

private:
    ReportSession &s() { return *session_; }
    QStringList open(ReportCategory category, int position = 0, int period = 0);
    QStringList choose(int position, int period = 0);
    QStringList select(int period, const QString &year = QStringLiteral("2005"));

    std::unique_ptr<ScratchDir> dir_;
    std::optional<ReportSession> session_;
};

void TestReportSession::init()
{
    dir_ = std::make_unique<ScratchDir>();
    QVERIFY(copySampleData(*dir_));
}

void TestReportSession::cleanup()
{
    session_.reset();
    dir_.reset();
}

// Opens a session as the editor does: municipality, officials, then a kind, its period and the
// year 2005, loaded. Returns the messages of choosing and loading.
QStringList TestReportSession::open(ReportCategory category, int position, int period)
{
    session_.emplace(category);
    s().setMunicipality(QStringLiteral("Vila Serena"), QStringLiteral("MG"));
    s().readOfficials();
    return choose(position, period);
}

// Chooses a kind of the category from its titles, then selects and loads the period.
QStringList TestReportSession::choose(int position, int period)
{
    const SessionResult chosen =
        s().chooseKind(position, reportTitles(s().category()).value(position));
    return chosen.ok ? chosen.messages + select(period) : chosen.messages;
}

// Selects a period (its position in the category's periods) and year, and loads it.
QStringList TestReportSession::select(int period, const QString &year)
{
    const QStringList &periods = categoryInfo(s().category()).periods;
    s().setPeriod(periods.isEmpty() ? -1 : period, periods.value(period));
    s().setYear(year);
    return s().load().messages;
}

// ---------------------------------------------------------------------------
// Choosing a kind, the registry, the profile

void TestReportSession::chooseKindReadsTheRegistry_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("position");
    // Of the registry file: "sample", "missing", "unreadable", "too large".
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("registry");

    const QString sample = QStringLiteral("sample");
    QTest::newRow("taxes") << M << 0 << sample << sampleLines("tributos.vqd");
    QTest::newRow("instruments: the store is only emptied") << M << 2 << sample << QStringList();
    QTest::newRow("purchases") << M << 7 << sample << sampleLines("cnpj.vqd");
    QTest::newRow("annual result") << A << 8 << sample << sampleLines("cnpj.vqd");
    QTest::newRow("bimonthly expense") << B << 5 << sample << sampleLines("grupo.vqd");
    QTest::newRow("missing registry is empty") << M << 1 << "missing" << QStringList();
    QTest::newRow("unreadable registry") << M << 4 << "unreadable" << QStringList();
    QTest::newRow("registry too large") << M << 7 << "too large" << QStringList();
}

void TestReportSession::chooseKindReadsTheRegistry()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, position);
    QFETCH(QString, state);
    QFETCH(QStringList, registry);

    QCOMPARE(open(category), QStringList());
    QVERIFY(!s().items().isEmpty()); // the first kind's items, about to be replaced
    const QString file = reportKind(category, position)->registryFile;
    if (state == QStringLiteral("missing")) {
        QVERIFY(QFile::remove(dataFile(file)));
    } else if (state == QStringLiteral("unreadable")) {
        QVERIFY(blockWithDirectory(dataFile(file)));
    } else if (state == QStringLiteral("too large")) {
        QVERIFY(QFile(dataFile(file)).resize(kMaxFileSize + 1)); // sparse: costs no disk
    }

    const SessionResult chosen = s().chooseKind(position, QString());

    const bool tooLarge = state == QStringLiteral("too large");
    const bool unreadable = tooLarge || state == QStringLiteral("unreadable");
    QCOMPARE(chosen.ok, !unreadable);
    const QString path = dataFile(file);
    QCOMPARE(chosen.messages, !unreadable ? QStringList()
                              : tooLarge  ? QStringList{msg::fileTooLarge(path)}
                                          : QStringList{QStringLiteral("Não foi possível ler o "
                                                                       "arquivo ") +
                                                        nativePath(path)});
    QCOMPARE(s().registryLoaded(), !unreadable);
    QCOMPARE(s().registry(), registry);
    QCOMPARE(s().registryFile(), file);
    QCOMPARE(s().prefix(), reportKind(category, position)->prefix);
    if (unreadable) {
        // No item of the kind before is offered under this one.
        QVERIFY(s().items().isEmpty());
        if (tooLarge) {
            QCOMPARE(QFileInfo(path).size(), kMaxFileSize + 1);
        }
        // A kind whose registry can be read makes the session whole again.
        QVERIFY(s().chooseKind(0, QString()).ok);
        QVERIFY(s().registryLoaded());
    }
}

void TestReportSession::typedTitleKeepsTheKind_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("readAgain");
    QTest::addColumn<QString>("caption1");
    QTest::addColumn<QString>("caption2");

    QTest::newRow("monthly: nothing but the prefix")
        << M << 7 << false << QStringLiteral("Nº da Compra:")
        << QStringLiteral("Secretaria ou Órgão:");
    QTest::newRow("bimonthly: registry read again, code captions back")
        << B << 2 << true << QStringLiteral("Codificação Numérica:")
        << QStringLiteral("Discriminação obs. o desdobramento:");
    // The annual kinds keep the captions of the kind before, here without a colon.
    QTest::newRow("annual: registry read again")
        << A << 7 << true << QStringLiteral("Codificação Numérica:")
        << QStringLiteral("Discriminação obs. o desdobramento");
}

void TestReportSession::typedTitleKeepsTheKind()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, position);
    QFETCH(bool, readAgain);
    QFETCH(QString, caption1);
    QFETCH(QString, caption2);

    open(category, position);
    const ReportKind *kind = reportKind(category, position);
    const QStringList before = s().registry();
    QVERIFY(writeFile(dataFile(kind->registryFile), "9\tNovo\t\r\n1\tUm\t\r\n"));

    QVERIFY(s().chooseKind(-1, QStringLiteral("Título digitado")).ok);

    QCOMPARE(s().kind(), nullptr);
    QCOMPARE(s().title(), QStringLiteral("Título digitado"));
    QCOMPARE(s().prefix(), QStringLiteral("unknkow-"));
    QCOMPARE(s().registryFile(), kind->registryFile);
    QCOMPARE(s().fieldCount(), kind->fieldCount);
    QCOMPARE(s().field(kind->fieldCount).type, kind->fields[kind->fieldCount - 1].type);
    QCOMPARE(s().registry(), (readAgain ? QStringList{"9\tNovo\t", "1\tUm\t"} : before));
    QCOMPARE(s().field(1).caption, caption1);
    QCOMPARE(s().field(2).caption, caption2);
}

void TestReportSession::officials_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("four lines") << QByteArray("Ana\r\nBento\r\nCarla\r\nMG-1/O-2\r\n")
                                << QStringList{"Ana", "Bento", "Carla", "MG-1/O-2"};
    QTest::newRow("two lines") << QByteArray("Ana\r\nBento\r\n")
                               << QStringList{"Ana", "Bento", "", ""};
    QTest::newRow("five lines, LF ends, Windows-1252")
        << QByteArray("Jo\xe3o\nBento\nCarla\nMG-1\nextra\n")
        << QStringList{QStringLiteral("João"), "Bento", "Carla", "MG-1"};
    QTest::newRow("empty") << QByteArray() << QStringList{"", "", "", ""};
    QTest::newRow("missing") << QByteArray("<missing>") << QStringList{"", "", "", ""};
}

void TestReportSession::officials()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    if (content == "<missing>") {
        QVERIFY(QFile::remove(dataFile(QStringLiteral("prefs.vqd"))));
    } else {
        QVERIFY(writeFile(dataFile(QStringLiteral("prefs.vqd")), content));
    }
    QCOMPARE(open(M), QStringList());
    const Profile &p = s().profile();
    QCOMPARE((QStringList{p.prefeito, p.secFin, p.contador, p.crc}), expected);
    QCOMPARE(p.municipality(), QStringLiteral("Vila Serena - MG"));
}

// ---------------------------------------------------------------------------
// Fields

void TestReportSession::leaveField_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shaped");

    // Money: every amount field, whatever its number.
    QTest::newRow("amount") << M << 0 << 3 << "1234,5" << "1.234,50";
    QTest::newRow("accumulated typed") << M << 0 << 4 << "7" << "7,00";
    QTest::newRow("budgeted") << B << 1 << 3 << "1000" << "1.000,00";
    QTest::newRow("accumulated 7") << B << 1 << 7 << "0,5" << "0,50";
    QTest::newRow("amount in field 1") << A << 8 << 1 << "12" << "12,00";
    QTest::newRow("amount in field 7") << M << 2 << 7 << "1500" << "1.500,00";
    QTest::newRow("unit price") << M << 7 << 8 << "3" << "3,00";
    QTest::newRow("typed total") << M << 7 << 10 << "1500" << "1.500,00";
    QTest::newRow("quantity stays") << M << 7 << 9 << "1500" << "1500";
    QTest::newRow("difference typed") << A << 6 << 5 << "-3" << "-3,00";
    // Dates.
    QTest::newRow("date digits") << M << 6 << 5 << "31122005" << "31/12/2005";
    QTest::newRow("date with slashes") << M << 6 << 6 << "31/12/2005" << "31/12/2005";
    QTest::newRow("date in field 6") << M << 5 << 6 << "01022005" << "01/02/2005";
    QTest::newRow("date in field 8") << M << 2 << 8 << "01022005" << "01/02/2005";
    // CNPJ columns only.
    QTest::newRow("cnpj of supplier") << M << 7 << 6 << "11222333000181" << "11.222.333/0001-81";
    QTest::newRow("cnpj of unit") << M << 7 << 4 << "11222333000181" << "11.222.333/0001-81";
    QTest::newRow("cnpj of contractor") << M << 6 << 3 << "11222333000181"
                                        << "11.222.333/0001-81";
    QTest::newRow("name column") << M << 7 << 3 << "11222333000181" << "11222333000181";
    QTest::newRow("code column") << M << 0 << 1 << "1234" << "1234";
    QTest::newRow("free text") << M << 2 << 1 << "1234" << "1234";
    // Pasted line breaks and tabs would split the record.
    QTest::newRow("breaks in a lookup field") << M << 0 << 1 << "11\t12\n13" << "111213";
    QTest::newRow("breaks in an amount") << M << 0 << 3 << "1\t000\r\n" << "1.000,00";
    QTest::newRow("only breaks") << M << 0 << 4 << "\n\t\r" << "";
}

void TestReportSession::leaveField()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, kind);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, shaped);

    ReportSession session(category);
    QVERIFY(session.chooseKind(kind, QString()).ok);
    QCOMPARE(session.leaveField(field, typed), shaped);
}

void TestReportSession::enterField_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("period");
    QTest::addColumn<QString>("firstPeriodLine"); // written to period 1's file when not empty
    QTest::addColumn<QStringList>("fields");      // field 1 first
    QTest::addColumn<int>("entered");
    QTest::addColumn<QString>("expected"); // "<none>": the field keeps its text
    QTest::addColumn<QStringList>("messages");

    const QString none = QStringLiteral("<none>");
    const QStringList purchase = {"1", "", "", "", "", "", "", "1.500,00", "3"};
    QTest::newRow("product") << M << 7 << 0 << QString() << purchase << 10 << "4.500,00"
                             << QStringList();
    QTest::newRow("quantity no number")
        << M << 7 << 0 << QString() << QStringList{"1", "", "", "", "", "", "", "1,00", "tres"}
        << 10 << none << QStringList();
    QTest::newRow("difference") << A << 6 << 0 << QString()
                                << QStringList{"1", "", "1.000,00", "250,50"} << 5 << "749,50"
                                << QStringList();
    QTest::newRow("negative difference") << A << 7 << 0 << QString()
                                         << QStringList{"1", "", "10,00", "12,50"} << 5 << "-2,50"
                                         << QStringList();
    QTest::newRow("a field that is not computed")
        << M << 7 << 0 << QString() << purchase << 9 << none << QStringList();

    // Accumulated: the field before plus the same field of the previous period.
    const QString tax = sampleLines("tributos.vqd").at(0);
    const QString taxCode = GetField(tax, 1);
    const QString taxLine = tax + QStringLiteral("1.000,00\t2.000,25\t0\t");
    const QString unit = sampleLines("unid.vqd").at(0);
    const QString unitLine = unit + QStringLiteral("500,00\t100,00\t1.000,00\t30,00\t300,00\t0\t");
    QTest::newRow("first period: the amount itself")
        << M << 0 << 0 << taxLine << QStringList{taxCode, "", "abc"} << 4 << "abc"
        << QStringList();
    QTest::newRow("monthly sum") << M << 0 << 1 << taxLine
                                 << QStringList{taxCode, "", "1.000,50"} << 4 << "3.000,75"
                                 << QStringList();
    QTest::newRow("item new in this period") << M << 0 << 1 << taxLine
                                             << QStringList{"9999", "", "12,00"} << 4 << "12,00"
                                             << QStringList();
    QTest::newRow("empty amount")
        << M << 0 << 1 << taxLine << QStringList{taxCode, "", ""} << 4 << kInstruction
        << QStringList{QStringLiteral("O valor anterior nao eh double: 2000,25 + ")};
    QTest::newRow("amount that is no number")
        << M << 0 << 1 << taxLine << QStringList{taxCode, "", "abc"} << 4 << kInstruction
        << QStringList{QStringLiteral("O valor anterior nao eh double: 2000,25 + abc")};
    QTest::newRow("previous period missing")
        << M << 0 << 2 << taxLine << QStringList{taxCode, "", "1,00"} << 4 << kInstruction
        << QStringList{"Não existe o arquivo anterior: dados/2005/trib-arrec-2-2005.vqd"};
    QTest::newRow("expense committed: field 5 from 4 and the previous 5")
        << B << 1 << 1 << unitLine << QStringList{GetField(unit, 1), "", "", "50,00", "", "7,00"}
        << 5 << "1.050,00" << QStringList();
    QTest::newRow("expense settled: field 7 from 6 and the previous 7")
        << B << 1 << 1 << unitLine << QStringList{GetField(unit, 1), "", "", "50,00", "", "7,00"}
        << 7 << "307,00" << QStringList();
}

void TestReportSession::enterField()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, kind);
    QFETCH(int, period);
    QFETCH(QString, firstPeriodLine);
    QFETCH(QStringList, fields);
    QFETCH(int, entered);
    QFETCH(QString, expected);
    QFETCH(QStringList, messages);

    const ReportKind *k = reportKind(category, kind);
    if (!firstPeriodLine.isEmpty()) {
        QVERIFY(writeFile(data2005(k->prefix + QStringLiteral("1-2005.vqd")),
                          crlfBytes({firstPeriodLine})));
    }
    open(category, kind, period);

    SessionResult result;
    const std::optional<QString> text = s().enterField(entered, texts(fields), result);
    QCOMPARE(text.value_or(QStringLiteral("<none>")), expected);
    QCOMPARE(result.messages, fullPaths(messages));
}

void TestReportSession::complete_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("partner"); // 0: nothing is completed
    QTest::addColumn<QString>("partnerText");

    QTest::newRow("code gives name") << 0 << 1 << "101" << 2 << "IPTU";
    QTest::newRow("name gives code, case ignored") << 0 << 2 << "iptu" << 1 << "101";
    QTest::newRow("the line holding the text") << 0 << 1 << "205" << 2 << "ITBI";
    QTest::newRow("unknown code") << 0 << 1 << "999" << 0 << "";
    QTest::newRow("code gives a last name without its TAB") << 0 << 1 << "300" << 2 << "ITR";
    QTest::newRow("a last name without its TAB gives code") << 0 << 2 << "itr" << 1 << "300";
    QTest::newRow("a money field looks nothing up") << 0 << 3 << "205" << 0 << "";
    QTest::newRow("contractor gives cnpj") << 6 << 2 << "beta sa" << 3 << "22.222.222/0001-22";
    QTest::newRow("cnpj gives contractor") << 6 << 3 << "11.111.111/0001-11" << 2 << "Alfa Ltda";
    QTest::newRow("unit gives cnpj") << 7 << 3 << "Alfa Ltda" << 4 << "11.111.111/0001-11";
    QTest::newRow("supplier cnpj gives supplier") << 7 << 6 << "22.222.222/0001-22" << 5
                                                  << "Beta SA";
}

void TestReportSession::complete()
{
    QFETCH(int, kind);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(int, partner);
    QFETCH(QString, partnerText);

    QVERIFY(writeFile(dataFile(QStringLiteral("tributos.vqd")),
                      "090\tISS\t\r\n101\tIPTU\t\r\n205\tITBI\t\r\n300\tITR\r\n"));
    QVERIFY(writeFile(dataFile(QStringLiteral("cnpj.vqd")),
                      "Alfa Ltda\t11.111.111/0001-11\t\r\nBeta SA\t22.222.222/0001-22\t\r\n"));
    ReportSession session(M);
    QVERIFY(session.chooseKind(kind, QString()).ok);
    const std::optional<Completion> completion = session.complete(field, typed);
    QCOMPARE(completion.has_value(), partner != 0);
    if (completion) {
        QCOMPARE(completion->field, partner);
        QCOMPARE(completion->text, partnerText);
    }
}

void TestReportSession::resetField_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("expected"); // "<none>": the field keeps its text
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("lookup") << M << 0 << 0 << 1 << "" << QStringList();
    QTest::newRow("money") << M << 0 << 0 << 3 << "0,00" << QStringList();
    QTest::newRow("accumulated in the first period") << M << 0 << 0 << 4 << "0,00"
                                                     << QStringList();
    QTest::newRow("accumulated without the previous file")
        << M << 0 << 2 << 4 << kInstruction
        << QStringList{"Não existe o arquivo anterior: dados/2005/trib-arrec-2-2005.vqd"};
    QTest::newRow("date") << M << 6 << 0 << 5 << "__/__/____" << QStringList();
    QTest::newRow("budgeted") << B << 1 << 0 << 3 << "0,00" << QStringList();
    QTest::newRow("money in field 1") << A << 8 << 0 << 1 << "0,00" << QStringList();
    QTest::newRow("no data directory") << M << 0 << 0 << 3 << "<none>" << QStringList();
}

void TestReportSession::resetField()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, kind);
    QFETCH(int, period);
    QFETCH(int, field);
    QFETCH(QString, expected);
    QFETCH(QStringList, messages);

    if (expected == QStringLiteral("<none>")) {
        QVERIFY(QDir(dataDir()).removeRecursively());
    }
    open(category, kind, period);
    SessionResult result;
    QCOMPARE(s().resetField(field, QStringLiteral("1112.02.00"), result)
                 .value_or(QStringLiteral("<none>")),
             expected);
    QCOMPARE(result.messages, fullPaths(messages));
}

// ---------------------------------------------------------------------------
// Loading

void TestReportSession::seedsFromTheRegistry_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("taxes") << M << 0 << seededTaxes();
    QTest::newRow("bimonthly expense")
        << B << 1 << seeded("unid.vqd", "0,00\t0,00\t0,00\t0,00\t0,00\t\t");
    QTest::newRow("annual revenue") << A << 0 << seeded("rec.vqd", "0,00\t\t");
    QTest::newRow("balance") << A << 7 << seeded("desp.vqd", "0,00\t0,00\t0,00\t\t");
    QTest::newRow("contracts: nothing") << M << 6 << QStringList();
    QTest::newRow("annual result: nothing") << A << 8 << QStringList();
}

void TestReportSession::seedsFromTheRegistry()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, kind);
    QFETCH(QStringList, lines);

    QCOMPARE(open(category, kind), QStringList());
    QCOMPARE(s().items().lines(), lines);
    // A load writes no data file.
    QVERIFY(!QFileInfo::exists(dataYearDir(QStringLiteral("2005"))));
}

void TestReportSession::loadMergesTheRegistry()
{
    QVERIFY(writeFile(dataFile(QStringLiteral("tributos.vqd")),
                      "101\tIPTU\t\r\n102\tISS\t\r\n103\tTaxa de Lixo\t\r\n"));
    QVERIFY(writeFile(data2005(kTaxes), "101\tIPTU\t100,00\t100,00\t0\t\r\n"
                                        "102\tISS\t50,00\t70,00\t1\t\r\n"));
    // A renamed item with a flag, an item outside the registry, a missing
    // item, and garbage where the accumulated amount belongs.
    QVERIFY(writeFile(data2005(QStringLiteral("trib-arrec-2-2005.vqd")),
                      "900\tAvulso\t7,00\t999,99\t0\t\r\n"
                      "102\tISS antigo\t5,00\tlixo\t1\t\r\n"));

    QCOMPARE(open(M, 0, 1), QStringList());

    QCOMPARE(s().items().lines(), (QStringList{"101\tIPTU\t0,00\t100,00\t0\t",
                                               "102\tISS\t5,00\t75,00\t1\t",
                                               "103\tTaxa de Lixo\t0,00\t0,00\t0\t",
                                               "900\tAvulso\t7,00\t999,99\t0\t"}));
    QCOMPARE(s().items().codes(), (QStringList{"101", "102", "103", "900"}));
    QVERIFY(s().item(1).second);
    QVERIFY(!s().item(0).second);
}

void TestReportSession::missingPreviousFileOnLoad()
{
    // March without February: every accumulated field says so, and holds the instruction.
    const QStringList messages = open(M, 0, 2);
    QVERIFY(!messages.isEmpty());
    QCOMPARE(QSet<QString>(messages.begin(), messages.end()),
             QSet<QString>{noPrevious(QStringLiteral("trib-arrec-2-2005.vqd"))});
    QCOMPARE(s().items().size(), sampleLines("tributos.vqd").size());
    for (const QString &line : s().items().lines()) {
        QCOMPARE(GetField(line, 4), kInstruction);
    }
    QVERIFY(!QFileInfo::exists(data2005(QStringLiteral("trib-arrec-3-2005.vqd"))));
}

void TestReportSession::unreadableDataFileIsNeverReplaced_data()
{
    QTest::addColumn<bool>("tooLarge"); // otherwise a directory in its place
    QTest::newRow("a directory") << false;
    QTest::newRow("too large") << true;
}

void TestReportSession::unreadableDataFileIsNeverReplaced()
{
    QFETCH(bool, tooLarge);
    const QString path = data2005(kTaxes);
    if (tooLarge) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(kMaxFileSize + 1)); // sparse: costs no disk
        huge.close();
    } else {
        QVERIFY(QDir().mkpath(path));
    }

    QCOMPARE(open(M), QStringList{tooLarge ? msg::fileTooLarge(path)
                                           : QStringLiteral("Não foi possível ler o arquivo ") +
                                                 nativePath(path)});
    // The registry's items are offered, but none of them can replace the file.
    QCOMPARE(s().items().lines(), seeded(QStringLiteral("tributos.vqd"), "0,00\t0,00\t0\t"));
    const QStringList refused{QStringLiteral("O arquivo não foi lido e não será alterado: ") +
                              nativePath(path)};
    const SessionResult saved = s().saveItem(texts({"1112.02.00", "IPTU", "1,00", "1,00"}), false);
    QVERIFY(!saved.ok);
    QCOMPARE(saved.messages, refused);
    QCOMPARE(s().deleteItem(3, false).messages, refused);
    QCOMPARE(s().writeDataFile().messages, refused);
    if (tooLarge) {
        QCOMPARE(QFileInfo(path).size(), kMaxFileSize + 1);
    } else {
        QVERIFY(QFileInfo(path).isDir());
    }

    // Another period loads and saves as usual.
    QCOMPARE(select(1), QStringList());
    QVERIFY(s().saveItem(texts({"1112.02.00", "IPTU", "1,00", "1,00"}), false).ok);
    QVERIFY(QFileInfo(data2005(QStringLiteral("trib-arrec-2-2005.vqd"))).isFile());
}

void TestReportSession::invalidYearIsNeverAPath_data()
{
    QTest::addColumn<QString>("year");
    QTest::newRow("parent directory") << "../x";
    QTest::newRow("sub-directory") << "a/b";
    QTest::newRow("partial") << "20";
    QTest::newRow("five digits") << "20055";
    QTest::newRow("empty") << "";
}

void TestReportSession::invalidYearIsNeverAPath()
{
    QFETCH(QString, year);
    open(M);
    const QMap<QString, QByteArray> before = snapshot(QStringLiteral(".."));

    QCOMPARE(select(0, year), QStringList());
    QVERIFY(s().items().isEmpty());
    QCOMPARE(s().pagePath(), QString());

    const SessionResult saved = s().addItem(texts({"1112.02.00", "IPTU", "1,00", "1,00"}), false);
    QVERIFY(!saved.ok);
    QCOMPARE(saved.messages,
             QStringList{QStringLiteral("Ano inválido: \"") + year +
                         QStringLiteral("\". Informe o ano com quatro dígitos para salvar o item.")});
    QVERIFY(s().items().isEmpty());
    QCOMPARE(s().deleteItem(-1, false).messages,
             QStringList{QStringLiteral("Selecione um item ao lado.")});
    QCOMPARE(s().writeDataFile().messages, QStringList());
    const SessionResult page = s().writePage();
    QVERIFY(!page.ok);
    QCOMPARE(page.messages, QStringList());
    // A later period accumulates nothing under it, and says nothing while it is typed.
    QCOMPARE(select(2, year), QStringList());
    SessionResult told;
    QCOMPARE(s().accumulatedValue(QStringLiteral("1,00"), 4, QStringLiteral("1112.02.00"), told),
             msg::accumulationInstruction());
    QCOMPARE(told.messages, QStringList());
    QCOMPARE(snapshot(QStringLiteral("..")), before);
}

// ---------------------------------------------------------------------------
// Saving

void TestReportSession::saveNewCodeExtendsRegistry()
{
    open(M);
    const SessionResult saved =
        s().addItem(texts({"1119.99.00", "Taxa Nova", "2,00", "2,00"}), false);
    QVERIFY(saved.ok);
    QCOMPARE(saved.messages, QStringList());

    QStringList lines = seededTaxes();
    lines.insert(5, QStringLiteral("1119.99.00\tTaxa Nova\t2,00\t2,00\t0\t"));
    QCOMPARE(fileBytes(data2005(kTaxes)), crlfBytes(lines));
    QStringList registry = sampleLines("tributos.vqd");
    registry.insert(5, QStringLiteral("1119.99.00\tTaxa Nova\t"));
    QCOMPARE(fileBytes(dataFile(QStringLiteral("tributos.vqd"))), crlfBytes(registry));
    QCOMPARE(s().registry(), registry);
    QCOMPARE(s().pickList(2).at(5), QStringLiteral("Taxa Nova"));

    // Another period of the kind shows the new code with default values.
    QCOMPARE(select(1), QStringList());
    QCOMPARE(s().items().line(5), QStringLiteral("1119.99.00\tTaxa Nova\t0,00\t2,00\t\t"));
}

void TestReportSession::saveExtendsRegistry_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("added"); // to the registry, each at its sorted place:
    QTest::addColumn<QList<int>>("at");

    const QStringList purchase{"000001",
                               "Saúde",
                               "Hospital Municipal",
                               "11.111.111/0001-11",
                               "Zeladoria Serena Ltda",
                               "22.222.222/0001-22",
                               "Luvas",
                               "2,00",
                               "3",
                               "6,00"};
    QTest::newRow("purchases: the unit and the supplier")
        << M << 7 << purchase << "compras-1-2005.vqd"
        << QStringList{"Hospital Municipal\t11.111.111/0001-11\t",
                       "Zeladoria Serena Ltda\t22.222.222/0001-22\t"}
        << QList<int>{7, 12};
    QStringList known = purchase;
    known[2] = QStringLiteral("PAPELARIA CENTRAL ME"); // registered, in another case
    known[4] = QString();
    QTest::newRow("purchases: known and empty names add nothing")
        << M << 7 << known << "compras-1-2005.vqd" << QStringList() << QList<int>();
    QTest::newRow("contracts: the contractor")
        << M << 6 << QStringList{"01/2005", "Obras Ltda", "33.333.333/0001-33"}
        << "contratos-e-seus-aditivos-1-2005.vqd"
        << QStringList{"Obras Ltda\t33.333.333/0001-33\t"} << QList<int>{9};
    QTest::newRow("contracts: no contractor")
        << M << 6 << QStringList{"02/2005", "", "33.333.333/0001-33"}
        << "contratos-e-seus-aditivos-1-2005.vqd" << QStringList() << QList<int>();
    QTest::newRow("instruments: the cnpj registry is left alone")
        << M << 2 << QStringList{"A1", "Saúde", "Estado"} << "rec-repass-inst-cel-1-2005.vqd"
        << QStringList() << QList<int>();
    QTest::newRow("annual result: neither")
        << A << 8 << QStringList{"1,00", "2,00", "3,00"} << "bal-orc-resultado-nominal-0-2005.vqd"
        << QStringList() << QList<int>();
    QTest::newRow("annual revenue: period zero")
        << A << 0 << QStringList{"9", "Nova receita", "9,00"} << "orc-anual-rec-prevista-0-2005.vqd"
        << QStringList{"9\tNova receita\t"} << QList<int>{23};
    QTest::newRow("bimonthly: code and name")
        << B << 5 << QStringList{"7", "Grupo novo"} << "exec-orc-grupo-de-despesa-1-2005.vqd"
        << QStringList{"7\tGrupo novo\t"} << QList<int>{6};
}

void TestReportSession::saveExtendsRegistry()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, kind);
    QFETCH(QStringList, fields);
    QFETCH(QString, file);
    QFETCH(QStringList, added);
    QFETCH(QList<int>, at);

    open(category, kind);
    const QString registryFile = reportKind(category, kind)->registryFile;
    const int before = s().items().size();
    QVERIFY(s().saveItem(texts(fields), true).ok);

    QStringList stored = fields;
    while (stored.size() < s().storedFieldCount()) {
        stored.append(QString());
    }
    const QString line = stored.join(u'\t') + QStringLiteral("\t1\t");
    QCOMPARE(s().itemLine(texts(fields), true), line);
    const QStringList lines = readLines(data2005(file)).lines;
    QCOMPARE(lines.size(), before + 1);
    QVERIFY(lines.contains(line));

    QStringList registry = sampleLines(registryFile);
    for (int i = 0; i < added.size(); ++i) {
        registry.insert(at.at(i), added.at(i));
    }
    QCOMPARE(fileBytes(dataFile(registryFile)), crlfBytes(registry));
    QCOMPARE(s().registry(), kind == 2 ? QStringList() : registry);
}

void TestReportSession::saveReplacesCodeIgnoringCase()
{
    open(M);
    QVERIFY(s().saveItem(texts({"ABC", "Upper", "1,00", "1,00"}), false).ok);
    QVERIFY(s().saveItem(texts({"abc", "Lower", "2,00", "2,00"}), false).ok);

    QCOMPARE(s().items().size(), 15);
    QCOMPARE(s().items().code(14), QStringLiteral("abc"));
    QCOMPARE(s().items().line(14), QStringLiteral("abc\tLower\t2,00\t2,00\t0\t"));
    // The registry got the first spelling only: the second is the same code.
    QCOMPARE(s().registry().filter(QStringLiteral("Upper")).size(), 1);
    QCOMPARE(s().registry().filter(QStringLiteral("Lower")).size(), 0);
}

void TestReportSession::emptyFirstField()
{
    open(M);
    const FieldTexts item = texts({"", "Sem código", "3,00"});
    const SessionResult saved = s().saveItem(item, false);
    QVERIFY(!saved.ok);
    QCOMPARE(saved.messages, QStringList());
    const SessionResult added = s().addItem(item, false);
    QVERIFY(!added.ok);
    QCOMPARE(added.messages, QStringList{QStringLiteral("O primeiro campo não pode estar em branco.")});
    QCOMPARE(s().items().lines(), seededTaxes());
    QVERIFY(!QFileInfo::exists(dataYearDir(QStringLiteral("2005"))));
}

void TestReportSession::failedSaveKeepsPreviousFile()
{
    open(M);
    QVERIFY(s().saveItem(texts({"1112.02.00", "IPTU", "1,00", "1,00"}), false).ok);
    const QByteArray saved = fileBytes(data2005(kTaxes));

    // A text the code page cannot hold makes the write fail.
    const SessionResult failed =
        s().saveItem(texts({"1112.04.31", "Imposto Ω", "2,00", "2,00"}), false);
    QCOMPARE(failed.messages, QStringList{QStringLiteral("Não foi possivel criar o arquivo ") +
                                          nativePath(data2005(kTaxes))});
    QCOMPARE(fileBytes(data2005(kTaxes)), saved);
    QCOMPARE(QDir(dataYearDir(QStringLiteral("2005"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{kTaxes});
}

void TestReportSession::yearDirectoryCannotBeCreated()
{
    QVERIFY(writeFile(dataYearDir(QStringLiteral("2005")), "not a directory"));
    open(M);
    const SessionResult saved = s().saveItem(texts({"1112.02.00", "IPTU", "1,00", "1,00"}), false);
    QCOMPARE(saved.messages, QStringList{QStringLiteral("Não foi possivel criar o diretório ") +
                                         nativePath(dataYearDir(QStringLiteral("2005")))});
    // The list holds the item all the same.
    QCOMPARE(s().items().line(0), QStringLiteral("1112.02.00\tIPTU\t1,00\t1,00\t0\t"));
}

void TestReportSession::unreadableRegistryRefusesSaving()
{
    const QString registry = dataFile(QStringLiteral("tributos.vqd"));
    QVERIFY(blockWithDirectory(registry));
    QCOMPARE(open(M).size(), 1);

    const SessionResult saved = s().saveItem(texts({"1112.02.00", "IPTU", "1,00", "1,00"}), false);
    QVERIFY(!saved.ok);
    QCOMPARE(saved.messages,
             QStringList{QStringLiteral("O cadastro não foi lido e nada será salvo neste "
                                        "relatório: ") +
                         nativePath(registry)});
    QCOMPARE(s().deleteItem(-1, true).messages,
             QStringList{QStringLiteral("Selecione um item ao lado.")});
    QVERIFY(!QFileInfo::exists(dataYearDir(QStringLiteral("2005"))));
    QVERIFY(QFileInfo(registry).isDir());
}

void TestReportSession::flagFieldAfterLongerKind()
{
    open(B, 1); // expenses: field 5 accumulated
    QCOMPARE(s().field(5).type, int(Acumulado));
    choose(0); // revenue: four fields, field 5 is the flag
    for (int i = 5; i <= kMaxFields; ++i) {
        QCOMPARE(s().field(i).type, int(Texto));
        QVERIFY(!s().field(i).accumulates());
    }
    const QString entry = sampleLines("rec.vqd").first();
    const QString code = GetField(entry, 1);
    QVERIFY(s().saveItem(texts({code, GetField(entry, 2), "10,00", "10,00"}), true).ok);
    QCOMPARE(select(1), QStringList());
    QCOMPARE(select(0), QStringList());

    const int row = s().items().indexOf(code);
    QCOMPARE(s().items().line(row), entry + QStringLiteral("10,00\t10,00\t1\t"));
    QCOMPARE(s().item(row), std::make_pair(texts({code, GetField(entry, 2), "10,00", "10,00"}),
                                           true));
}

void TestReportSession::proposedNumber_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("expected"); // "<none>": no number is proposed

    QTest::newRow("empty list") << 7 << QStringList() << "000001";
    QTest::newRow("a number in use is skipped")
        << 7 << QStringList{"000002", "000003", "1"} << "000004";
    QTest::newRow("contracts number nothing") << 6 << QStringList{"000001"} << "<none>";
}

void TestReportSession::proposedNumber()
{
    QFETCH(int, kind);
    QFETCH(QStringList, codes);
    QFETCH(QString, expected);

    QStringList lines;
    for (const QString &code : codes) {
        lines.append(code + QStringLiteral("\tx\t"));
    }
    const QString file = reportKind(M, kind)->prefix + QStringLiteral("1-2005.vqd");
    QVERIFY(writeFile(data2005(file), crlfBytes(lines)));
    open(M, kind);
    QCOMPARE(s().proposedNumber().value_or(QStringLiteral("<none>")), expected);
}

// ---------------------------------------------------------------------------
// Deleting

void TestReportSession::deleteInRegistryKind_data()
{
    QTest::addColumn<bool>("alsoFromRegistry");
    QTest::newRow("kept in the registry: the item stays, reset") << false;
    QTest::newRow("removed from the registry") << true;
}

void TestReportSession::deleteInRegistryKind()
{
    QFETCH(bool, alsoFromRegistry);
    open(M);
    const QStringList entry = sampleLines("tributos.vqd").at(1).split(u'\t');
    QVERIFY(s().saveItem(texts({entry[0], entry[1], "9,00", "9,00"}), true).ok);
    QVERIFY(s().asksRegistryDeletion(1));

    const SessionResult deleted = s().deleteItem(1, alsoFromRegistry);
    QCOMPARE(deleted.messages, QStringList());

    QStringList lines = seededTaxes();
    QStringList registry = sampleLines("tributos.vqd");
    if (alsoFromRegistry) {
        lines.removeAt(1);
        registry.removeAt(1);
    } else {
        lines[1] = entry[0] + u'\t' + entry[1] + QStringLiteral("\t0,00\t0,00\t"); // no flag field
    }
    QCOMPARE(fileBytes(data2005(kTaxes)), crlfBytes(lines));
    QCOMPARE(fileBytes(dataFile(QStringLiteral("tributos.vqd"))), crlfBytes(registry));
    QCOMPARE(s().items().lines(), lines);
    QCOMPARE(s().registry(), registry);
}

void TestReportSession::deleteInCnpjKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("code");
    QTest::newRow("instruments: the registry file is not theirs")
        << 2 << "rec-repass-inst-cel-1-2005.vqd" << "A1";
    // Even a number that is a name of the registry never touches it.
    QTest::newRow("contracts: a number that is a registry name")
        << 6 << "contratos-e-seus-aditivos-1-2005.vqd" << "APAE de Vila Serena";
}

void TestReportSession::deleteInCnpjKind()
{
    QFETCH(int, kind);
    QFETCH(QString, file);
    QFETCH(QString, code);
    open(M, kind);
    // No contractor: saving adds nothing to the registry.
    const QStringList a{code, "", "Estado"};
    const QStringList b{"B2", "", "União"};
    QVERIFY(s().saveItem(texts(b), false).ok);
    QVERIFY(s().saveItem(texts(a), false).ok);
    const int row = s().items().indexOf(code);
    QVERIFY(row >= 0);
    QVERIFY(!s().asksRegistryDeletion(row));

    QCOMPARE(s().deleteItem(row, true).messages, QStringList());
    QCOMPARE(s().items().codes(), QStringList{"B2"});
    QCOMPARE(readLines(data2005(file)).lines, QStringList{s().itemLine(texts(b), false)});
    // The last item gone: an empty file.
    QCOMPARE(s().deleteItem(0, true).messages, QStringList());
    QCOMPARE(fileBytes(data2005(file)), QByteArray());
    QCOMPARE(fileBytes(dataFile(QStringLiteral("cnpj.vqd"))), sampleBytes("cnpj.vqd"));
}

void TestReportSession::deleteWriteFailures_data()
{
    QTest::addColumn<QString>("blocked"); // made a directory after the period is loaded
    QTest::addColumn<QString>("message");
    QTest::newRow("registry") << "dados/tributos.vqd"
                              << "Erro: Não foi possivel salvar o cadastro.";
    QTest::newRow("data file") << "dados/2005/trib-arrec-1-2005.vqd"
                               << "Não foi possivel alterar o arquivo dados/2005/trib-arrec-1-2005.vqd";
}

// A deletion that cannot be written says so, and leaves the list as deleted.
void TestReportSession::deleteWriteFailures()
{
    QFETCH(QString, blocked);
    QFETCH(QString, message);
    open(M);
    QVERIFY(s().saveItem(texts({"1112.02.00", "IPTU", "1,00", "1,00"}), false).ok);
    QVERIFY(blockWithDirectory(blocked));

    QCOMPARE(s().deleteItem(0, true).messages, fullPaths({message}));
    QVERIFY(!s().items().contains(QStringLiteral("1112.02.00")));
}

void TestReportSession::deleteWithoutItem()
{
    open(M);
    QVERIFY(s().saveItem(texts({"1112.02.00", "IPTU", "1,00", "1,00"}), false).ok);
    const QMap<QString, QByteArray> before = snapshot(dataDir());

    QCOMPARE(s().deleteItem(-1, true).messages,
             QStringList{QStringLiteral("Selecione um item ao lado.")});
    QCOMPARE(s().deleteItem(s().items().size(), true).messages,
             QStringList{QStringLiteral("Selecione um item ao lado.")});
    // Both files are written as they are.
    QCOMPARE(snapshot(dataDir()), before);
    QCOMPARE(s().items().size(), 14);
}

// ---------------------------------------------------------------------------
// Accumulated values and the page

void TestReportSession::recalculationCreatesEarlierPeriods()
{
    const QStringList registry = sampleLines("tributos.vqd");
    QVERIFY(writeFile(data2005(QStringLiteral("trib-arrec-3-2005.vqd")),
                      crlfBytes({registry.at(0) + QStringLiteral("300,00\t") + kInstruction +
                                 QStringLiteral("\t0\t")})));
    open(M, 0, 2);

    const SessionResult recalculated = s().recalculateYear();
    QVERIFY(recalculated.ok);
    QCOMPARE(recalculated.messages, QStringList());
    // Periods 1 and 2 are made from the registry, as their loads show them.
    QCOMPARE(fileBytes(data2005(kTaxes)), crlfBytes(seededTaxes()));
    QCOMPARE(fileBytes(data2005(QStringLiteral("trib-arrec-2-2005.vqd"))),
             crlfBytes(seededTaxes()));
    // Period 3 accumulates from them; items missing from its file join it.
    QStringList third = seeded(QStringLiteral("tributos.vqd"), "0,00\t0,00\t0\t");
    third[0] = registry.at(0) + QStringLiteral("300,00\t300,00\t0\t");
    QCOMPARE(fileBytes(data2005(QStringLiteral("trib-arrec-3-2005.vqd"))), crlfBytes(third));

    // The session is back in March, and each page was written under its own month.
    QCOMPARE(s().items().lines(), third);
    QCOMPARE(s().period(), QStringLiteral("3"));
    QCOMPARE(s().periodName(), QStringLiteral("Março"));
    const QStringList months = {QStringLiteral("Janeiro"), QStringLiteral("Fevereiro"),
                                QStringLiteral("Março")};
    for (int p = 1; p <= 3; ++p) {
        const QString page = decodeCp1252(fileBytes(QStringLiteral("2005/trib-arrec-%1-2005.htm").arg(p)));
        for (int m = 1; m <= 3; ++m) {
            QCOMPARE(page.contains(QStringLiteral("2005 - ") + months.at(m - 1)), m == p);
        }
    }
}

// February's file cannot be read, so it is not written either: March adds
// to February as it stands on disk, as opening March does, not to the list
// February was shown with, which carries January's amount.
void TestReportSession::recalculationAccumulatesFromDisk()
{
    const QString iptu = sampleLines("tributos.vqd").at(0);
    QVERIFY(writeFile(data2005(kTaxes),
                      crlfBytes({iptu + QStringLiteral("100,00\t100,00\t0\t")})));
    QVERIFY(QDir().mkpath(data2005(QStringLiteral("trib-arrec-2-2005.vqd"))));
    QVERIFY(writeFile(data2005(QStringLiteral("trib-arrec-3-2005.vqd")),
                      crlfBytes({iptu + QStringLiteral("300,00\t") + kInstruction +
                                 QStringLiteral("\t0\t")})));
    open(M, 0, 2);
    s().recalculateYear();
    QCOMPARE(s().items().lines().at(0), iptu + QStringLiteral("300,00\t300,00\t0\t"));
}

void TestReportSession::yearRecalculatedFromScratch()
{
    QVERIFY(writeFile(dataFile(QStringLiteral("tributos.vqd")),
                      "101\tIPTU\t\r\n102\tISS\t\r\n103\tTaxa de Lixo\t\r\n"));
    // Stale, hand-made and half-filled periods: a renamed item, an item
    // outside the registry, missing items, garbage and the instruction text
    // where accumulated amounts belong, a missing flag.
    QVERIFY(writeFile(data2005(kTaxes), "101\tIPTU\t100,00\tlixo\t0\t\r\n"
                                        "102\tISS\t50,00\t50,00\t1\t\r\n"
                                        "900\tAvulso\t5,00\t5,00\t0\t\r\n"));
    QVERIFY(writeFile(data2005(QStringLiteral("trib-arrec-2-2005.vqd")),
                      "101\tIPTU antigo\t200,00\t\t0\t\r\n"
                      "900\tAvulso\t7,00\t999,99\t0\t\r\n"));
    QVERIFY(writeFile(data2005(QStringLiteral("trib-arrec-3-2005.vqd")),
                      crlfBytes({QStringLiteral("101\tIPTU\t1.000,50\t") + kInstruction +
                                     QStringLiteral("\t0\t"),
                                 QStringLiteral("102\tISS\t25,00\t0,00\t0\t"),
                                 QStringLiteral("103\tTaxa de Lixo\t10,00\tx\t")})));
    // Before the recalculation March adds to February's empty figure.
    QCOMPARE(open(M, 0, 2),
             QStringList{QStringLiteral("O valor anterior nao eh double:  + 1000,50")});

    const SessionResult recalculated = s().recalculateYear();
    QVERIFY(recalculated.ok);
    QCOMPARE(recalculated.messages, QStringList());
    QCOMPARE(fileBytes(data2005(kTaxes)), crlfBytes({"101\tIPTU\t100,00\t100,00\t0\t",
                                                     "102\tISS\t50,00\t50,00\t1\t",
                                                     "103\tTaxa de Lixo\t0,00\t0,00\t0\t",
                                                     "900\tAvulso\t5,00\t5,00\t0\t"}));
    QCOMPARE(fileBytes(data2005(QStringLiteral("trib-arrec-2-2005.vqd"))),
             crlfBytes({"101\tIPTU\t200,00\t300,00\t0\t", "102\tISS\t0,00\t50,00\t0\t",
                        "103\tTaxa de Lixo\t0,00\t0,00\t0\t", "900\tAvulso\t7,00\t999,99\t0\t"}));
    const QStringList march = {"101\tIPTU\t1.000,50\t1.300,50\t0\t", "102\tISS\t25,00\t75,00\t0\t",
                               "103\tTaxa de Lixo\t10,00\t10,00\t\t"};
    QCOMPARE(fileBytes(data2005(QStringLiteral("trib-arrec-3-2005.vqd"))), crlfBytes(march));
    QCOMPARE(s().items().lines(), march);
    QVERIFY(!QFileInfo::exists(data2005(QStringLiteral("trib-arrec-4-2005.vqd"))));

    // A second run finds everything in step and changes no byte.
    const QMap<QString, QByteArray> before = timeless(dir_->path());
    QCOMPARE(s().recalculateYear().messages, QStringList());
    QCOMPARE(timeless(dir_->path()), before);
}

void TestReportSession::recalculationChangesNothing_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<QString>("file");
    QTest::newRow("first month") << M << "trib-arrec-1-2005.vqd";
    QTest::newRow("annual kind") << A << "orc-anual-rec-prevista-0-2005.vqd";
}

void TestReportSession::recalculationChangesNothing()
{
    QFETCH(ReportCategory, category);
    QFETCH(QString, file);
    // A stale line that any load and write would change.
    QVERIFY(writeFile(data2005(file), "1\tantigo\tlixo\tlixo\t\r\n"));
    open(category);
    const QMap<QString, QByteArray> before = snapshot(dir_->path());
    const QStringList lines = s().items().lines();

    const SessionResult recalculated = s().recalculateYear();
    QVERIFY(!recalculated.ok);
    QCOMPARE(recalculated.messages, QStringList());
    QCOMPARE(snapshot(dir_->path()), before);
    QCOMPARE(s().items().lines(), lines);
}

void TestReportSession::pageOfTheLoad_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("period");
    QTest::addColumn<QStringList>("lines"); // of the data file
    QTest::addColumn<QString>("page");

    // No tax registry and an empty February: March shows just its file.
    QTest::newRow("monthly taxes: an excluded item, an item without a name")
        << M << 0 << 2
        << QStringList{"1112.02.00\tIPTU\t1.500,00\t3.000,00\t0\t",
                       "1113.05.00\tObras <Fase 2> & reforma\t234,25\t500,25\t0\t",
                       "9998\t\t50,00\t50,00\t0\t", "9999\tExcluído\t100,00\t100,00\t1\t"}
        << "trib-arrec-3-2005.htm";
    QTest::newRow("annual result: no total row")
        << A << 8 << 0 << QStringList{"1.000,00\t2.000,00\t3.000,00\t0\t"}
        << "bal-orc-resultado-nominal-0-2005.htm";
    QTest::newRow("purchases: ten fields")
        << M << 7 << 3
        << QStringList{"001\tSaúde\tHospital Municipal\t11.222.333/0001-81\tPapelaria "
                       "Central\t44.555.666/0001-99\tPapel A4\t25,00\t10\t250,00\t0\t",
                       "002\tEducação\tEscola Rural\t11.222.333/0002-62\tPapelaria "
                       "Central\t44.555.666/0001-99\tCaneta\t1,50\t100\t150,00\t1\t",
                       "003\t\tObras\t\t\t\t\t9.999,00\t1\t9.999,00\t0\t"}
        << "compras-4-2005.htm";
}

void TestReportSession::pageOfTheLoad()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, kind);
    QFETCH(int, period);
    QFETCH(QStringList, lines);
    QFETCH(QString, page);

    const QString prefix = reportKind(category, kind)->prefix;
    const QString number = category == A ? QStringLiteral("0") : QString::number(period + 1);
    QVERIFY(writeFile(data2005(prefix + number + QStringLiteral("-2005.vqd")), crlfBytes(lines)));
    QVERIFY(QFile::remove(dataFile(QStringLiteral("tributos.vqd"))));
    if (period > 0) {
        QVERIFY(writeFile(data2005(prefix + QString::number(period) + QStringLiteral("-2005.vqd")),
                          QByteArray()));
    }

    QCOMPARE(open(category, kind, period), QStringList());
    QCOMPARE(s().pagePath(), pageFilePath(QStringLiteral("2005"), prefix, number));
    QUELVARA_COMPARE_GOLDEN(fileBytes(s().pagePath()), page);
}

void TestReportSession::savingDoesNotRewriteThePage()
{
    open(M);
    const QString page = s().pagePath();
    const QByteArray before = fileBytes(page);
    QVERIFY(before.contains("1112.02.00"));
    QVERIFY(s().addItem(texts({"1119.99.00", "Taxa Nova", "2,00", "2,00"}), false).ok);
    QCOMPARE(fileBytes(page), before);
    QVERIFY(s().writePage().ok);
    QVERIFY(fileBytes(page).contains("<td> &nbsp;1119.99.00</td>"));
}

QTEST_GUILESS_MAIN(TestReportSession)
#include "test_reportsession.moc"
