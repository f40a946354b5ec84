#include "registry.h"
#include "testfiles.h"
#include "textcompare.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <unistd.h>

using namespace quelvara;

namespace {

} // namespace

class TestRegistry : public QObject {
    Q_OBJECT
private slots:
    void pathLiesInDataDirectory();
    void missingFileIsEmptyRegistry();
    void directoryInPlaceIsUnreadable();
    void lockedFileIsUnreadable();
    void fields_data();
    void fields();
    void writesCrLfTabsAndSingleBytes();
    void typedFieldLosesRecordBreakers_data();
    void typedFieldLosesRecordBreakers();
    void sortOrder_data();
    void sortOrder();
    void sortIsIndependentOfInputOrder();
    void equalityIgnoresCaseOnly_data();
    void equalityIgnoresCaseOnly();
    void insertKeepsOrder();
    void writesEveryFieldWithItsTab();
};

void TestRegistry::pathLiesInDataDirectory()
{
    ScratchDir scratch;
    QCOMPARE(QDir::cleanPath(registryPath(QStringLiteral("tributos.vqd"))),
             QDir::cleanPath(scratch.file(QStringLiteral("dados/tributos.vqd"))));
}

void TestRegistry::missingFileIsEmptyRegistry()
{
    ScratchDir scratch;
    TextLines read = readRegistry(QStringLiteral("func.vqd"));
    QCOMPARE(read.status, ReadStatus::Missing);
    QVERIFY(read.lines.isEmpty());

    QVERIFY(QDir(scratch.path()).mkdir(QStringLiteral("dados")));
    read = readRegistry(QStringLiteral("func.vqd"));
    QCOMPARE(read.status, ReadStatus::Missing);
    QVERIFY(read.lines.isEmpty());
}

void TestRegistry::directoryInPlaceIsUnreadable()
{
    ScratchDir scratch;
    QVERIFY(QDir(scratch.path()).mkpath(QStringLiteral("dados/unid.vqd")));
    const TextLines read = readRegistry(QStringLiteral("unid.vqd"));
    QCOMPARE(read.status, ReadStatus::Unreadable);
    QVERIFY(read.lines.isEmpty());
}

void TestRegistry::lockedFileIsUnreadable()
{
    if (::geteuid() == 0) {
        QSKIP("root reads a file whatever its permissions");
    }
    ScratchDir scratch;
    QVERIFY(QDir(scratch.path()).mkdir(QStringLiteral("dados")));
    const QString path = scratch.file(QStringLiteral("dados/unid.vqd"));
    putFile(path, "02.01\tC\xE2mara Municipal\t\r\n");
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));

    const TextLines read = readRegistry(QStringLiteral("unid.vqd"));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(read.status, ReadStatus::Unreadable);
}

void TestRegistry::fields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    QTest::newRow("code and name") << QStringLiteral("01\tImposto Predial\t") << "01"
                                   << "Imposto Predial";
    QTest::newRow("empty name") << QStringLiteral("01\t\t") << "01"
                                << "";
    // A line edited by hand or exported from a spreadsheet may lack its last TAB.
    QTest::newRow("name not closed") << QStringLiteral("01\tImposto") << "01"
                                     << "Imposto";
    QTest::newRow("no tab") << QStringLiteral("01 Imposto") << "01 Imposto"
                            << "";
    QTest::newRow("third field not closed") << QStringLiteral("a\tb\tc") << "a"
                                            << "b";
    QTest::newRow("blank line") << QString() << ""
                                << "";
    QTest::newRow("third field ignored") << QStringLiteral("a\tb\tc\t") << "a"
                                         << "b";
    QTest::newRow("spaces kept") << QStringLiteral(" 01 \t Nome \t") << " 01 "
                                 << " Nome ";
}

void TestRegistry::fields()
{
    QFETCH(QString, line);
    QFETCH(QString, first);
    QFETCH(QString, second);
    const QStringList lines{QStringLiteral("x\ty\t"), line};
    QCOMPARE(registryColumn(lines, 1), (QStringList{QStringLiteral("x"), first}));
    QCOMPARE(registryColumn(lines, 2), (QStringList{QStringLiteral("y"), second}));
}

void TestRegistry::writesCrLfTabsAndSingleBytes()
{
    ScratchDir scratch;
    QVERIFY(QDir(scratch.path()).mkdir(QStringLiteral("dados")));
    const QStringList lines{
        makeRegistryLine(QStringLiteral("1113.05.00"), QStringLiteral("Taxa de Licença – Alvará")),
        makeRegistryLine(QStringLiteral("Associação"), QString())};
    QVERIFY(writeRegistry(QStringLiteral("tributos.vqd"), lines).ok());
    QCOMPARE(fileBytes(scratch.file(QStringLiteral("dados/tributos.vqd"))),
             QByteArray("1113.05.00\tTaxa de Licen\xE7"
                        "a \x96 Alvar\xE1\t\r\n"
                        "Associa\xE7\xE3o\t\t\r\n"));

    const TextLines read = readRegistry(QStringLiteral("tributos.vqd"));
    QCOMPARE(read.status, ReadStatus::Ok);
    QCOMPARE(read.lines, lines);
}

void TestRegistry::typedFieldLosesRecordBreakers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field");

    QTest::newRow("plain") << QStringLiteral("Imposto Predial")
                           << QStringLiteral("Imposto Predial");
    QTest::newRow("tab") << QStringLiteral("01\t02") << QStringLiteral("0102");
    QTest::newRow("line ends") << QStringLiteral("a\r\nb\rc\nd") << QStringLiteral("abcd");
    QTest::newRow("spaces and case kept") << QStringLiteral("  aB  ") << QStringLiteral("  aB  ");
    QTest::newRow("empty") << QString() << QString();
}

void TestRegistry::typedFieldLosesRecordBreakers()
{
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QCOMPARE(registryField(typed), field);
}

void TestRegistry::sortOrder_data()
{
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("case ignored") << QStringList{"beta\t\t", "Gama\t\t", "alfa\t\t", "Delta\t\t"}
                                  << QStringList{"alfa\t\t", "beta\t\t", "Delta\t\t", "Gama\t\t"};
    // The TAB closing a short code sorts before any digit, so a code comes
    // before the longer codes it starts.
    QTest::newRow("shorter code first")
        << QStringList{"010\tA\t", "01\tZ\t", "0101\tB\t", "02\tC\t"}
        << QStringList{"01\tZ\t", "010\tA\t", "0101\tB\t", "02\tC\t"};
    QTest::newRow("same code, names ordered")
        << QStringList{"01\tOutro\t", "01\timposto\t", "01\tImposto Predial\t"}
        << QStringList{"01\timposto\t", "01\tImposto Predial\t", "01\tOutro\t"};
    QTest::newRow("accented letters with their base letter")
        << QStringList{QStringLiteral("Fundo\t\t"), QStringLiteral("Ética\t\t"),
                       QStringLiteral("Escola\t\t"), QStringLiteral("Ações\t\t"),
                       QStringLiteral("Banco\t\t")}
        << QStringList{QStringLiteral("Ações\t\t"), QStringLiteral("Banco\t\t"),
                       QStringLiteral("Escola\t\t"), QStringLiteral("Ética\t\t"),
                       QStringLiteral("Fundo\t\t")};
    QTest::newRow("blank line first")
        << QStringList{"01\tA\t", "", "\t\t"} << QStringList{"", "\t\t", "01\tA\t"};
    QTest::newRow("empty") << QStringList() << QStringList();
}

void TestRegistry::sortOrder()
{
    QFETCH(QStringList, input);
    QFETCH(QStringList, sorted);
    sortRegistry(input);
    QCOMPARE(input, sorted);
}

void TestRegistry::sortIsIndependentOfInputOrder()
{
    // Lines equal but for case must still come out in one fixed order, or a
    // position chosen in the dialog could point at another line after a reload.
    QStringList lines{"01\tIMPOSTO\t", "01\timposto\t", "01\tImposto\t", "02\tTaxa\t",
                      "01\tImpostO\t"};
    QStringList first = lines;
    sortRegistry(first);
    std::sort(lines.begin(), lines.end());
    do {
        QStringList again = lines;
        sortRegistry(again);
        QCOMPARE(again, first);
    } while (std::next_permutation(lines.begin(), lines.end()));
    QCOMPARE(first.last(), QStringLiteral("02\tTaxa\t"));
}

void TestRegistry::equalityIgnoresCaseOnly_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("contained");

    QTest::newRow("same") << QStringLiteral("01\tImposto Predial\t") << true;
    QTest::newRow("other case") << QStringLiteral("01\timposto predial\t") << true;
    QTest::newRow("accented other case") << QStringLiteral("02\tTAXA DE LICENÇA\t") << true;
    QTest::newRow("other name") << QStringLiteral("01\tOutro\t") << false;
    QTest::newRow("accent differs") << QStringLiteral("02\tTaxa de Licenca\t") << false;
    QTest::newRow("trailing space") << QStringLiteral("01\tImposto Predial \t") << false;
    QTest::newRow("name as code") << QStringLiteral("Imposto Predial\t01\t") << false;
    QTest::newRow("last tab missing") << QStringLiteral("01\tIMPOSTO PREDIAL") << true;
    QTest::newRow("name missing") << QStringLiteral("01") << false;
}

void TestRegistry::equalityIgnoresCaseOnly()
{
    QFETCH(QString, line);
    QFETCH(bool, contained);
    const QStringList lines{QStringLiteral("01\tImposto Predial\t"),
                            QStringLiteral("02\tTaxa de Licença\t")};
    QCOMPARE(containsLine(lines, line), contained);
    QVERIFY(!containsLine({}, line));
    // The same registry edited by hand, without the last TABs.
    const QStringList open{QStringLiteral("01\tImposto Predial"),
                           QStringLiteral("02\tTaxa de Licença")};
    QCOMPARE(containsLine(open, line), contained);
}

void TestRegistry::writesEveryFieldWithItsTab()
{
    ScratchDir scratch;
    QVERIFY(QDir(scratch.path()).mkdir(QStringLiteral("dados")));
    QVERIFY(writeRegistry(QStringLiteral("tributos.vqd"),
                          {QStringLiteral("1112.02.00\tIPTU"), QString(), QStringLiteral("a\tb\tc"),
                           QStringLiteral("01\tTaxa\t")})
                .ok());
    QCOMPARE(fileBytes(scratch.file(QStringLiteral("dados/tributos.vqd"))),
             QByteArray("1112.02.00\tIPTU\t\r\n\r\na\tb\tc\t\r\n01\tTaxa\t\r\n"));
}

void TestRegistry::insertKeepsOrder()
{
    QStringList lines;
    const QStringList adds{"03\tC\t", "01\tA\t", "02\tb\t", "02\tB\t",
                           "01\tA\t", "00\t\t",  "10\tJ\t", "1\tI\t"};
    QStringList appended;
    for (const QString &line : adds) {
        const qsizetype at = insertSorted(lines, line);
        QCOMPARE(lines.at(at), line);
        appended.append(line);
        QStringList expected = appended;
        sortRegistry(expected);
        QCOMPARE(lines, expected);
    }
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "test_registry.moc"
