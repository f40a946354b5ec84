#include "profile.h"
#include "testfiles.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quelvara;

namespace {

} // namespace

class TestProfile : public QObject {
    Q_OBJECT
private slots:
    void municipalityFileBytes_data();
    void municipalityFileBytes();
    void officialsFileBytes_data();
    void officialsFileBytes();
    void writeCreatesDataDirectoryOneLevel();
    void writeReplacesWholeFile();
    void writeFailsQuietlyWhenDataIsAFile();
    void municipalityFromFirstLine_data();
    void municipalityFromFirstLine();
    void officialsFromLines_data();
    void officialsFromLines();
    void readLineEnds_data();
    void readLineEnds();
    void readMissingOrUnreadableGivesNoLine();
    void roundTrip();
    void cleanTexts_data();
    void cleanTexts();
};

void TestProfile::municipalityFileBytes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("defaults") << QStringLiteral("Prefeitura Municipal de") << QStringLiteral("UF")
                              << QByteArray("Prefeitura Municipal de\tUF\t\r\n");
    QTest::newRow("accents") << QStringLiteral("Prefeitura Municipal de São João")
                             << QStringLiteral("MG")
                             << QByteArray("Prefeitura Municipal de S\xE3o Jo\xE3o\tMG\t\r\n");
    QTest::newRow("euro and quotes") << QStringLiteral("Vila “€”") << QStringLiteral("XX")
                                     << QByteArray("Vila \x93\x80\x94\tXX\t\r\n");
    QTest::newRow("empty") << QString() << QString() << QByteArray("\t\t\r\n");
    QTest::newRow("typed state") << QStringLiteral("Cidade") << QStringLiteral("Minas")
                                 << QByteArray("Cidade\tMinas\t\r\n");
}

void TestProfile::municipalityFileBytes()
{
    QFETCH(QString, name);
    QFETCH(QString, state);
    QFETCH(QByteArray, bytes);
    ScratchDir dir;
    QVERIFY(writeProfileFile(kMunicipalityFile, municipalityLines(name, state)).ok());
    QCOMPARE(fileBytes(dir.file(QStringLiteral("dados/prefeitura.vqd"))), bytes);
}

void TestProfile::officialsFileBytes_data()
{
    QTest::addColumn<QStringList>("officials");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("all four") << QStringList{QStringLiteral("Ana"), QStringLiteral("Bia"),
                                             QStringLiteral("Caio"), QStringLiteral("12.345/O")}
                              << QByteArray("Ana\r\nBia\r\nCaio\r\n12.345/O\r\n");
    QTest::newRow("only the mayor") << QStringList{QStringLiteral("José Antônio")}
                                    << QByteArray("Jos\xE9 Ant\xF4nio\r\n\r\n\r\n\r\n");
    QTest::newRow("all empty") << QStringList{QString(), QString(), QString(), QString()}
                               << QByteArray("\r\n\r\n\r\n\r\n");
    QTest::newRow("tab kept") << QStringList{QStringLiteral("a\tb"), QString(), QString(),
                                             QStringLiteral("c")}
                              << QByteArray("a\tb\r\n\r\n\r\nc\r\n");
}

void TestProfile::officialsFileBytes()
{
    QFETCH(QStringList, officials);
    QFETCH(QByteArray, bytes);
    ScratchDir dir;
    QVERIFY(writeProfileFile(kOfficialsFile, officialsLines(officials)).ok());
    QCOMPARE(fileBytes(dir.file(QStringLiteral("dados/prefs.vqd"))), bytes);
}

void TestProfile::writeCreatesDataDirectoryOneLevel()
{
    ScratchDir dir;
    QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("dados"))));
    QVERIFY(writeProfileFile(kOfficialsFile, officialsLines({QStringLiteral("x")})).ok());
    QVERIFY(QFileInfo(dir.file(QStringLiteral("dados"))).isDir());
    // Nothing else appears beside the file (no temporary left behind).
    QCOMPARE(QDir(dir.file(QStringLiteral("dados"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("prefs.vqd")});
}

void TestProfile::writeReplacesWholeFile()
{
    ScratchDir dir;
    putFile(dir.file(QStringLiteral("dados/prefeitura.vqd")),
            "A much longer old name\tSP\t\r\nsecond line\r\n");
    QVERIFY(writeProfileFile(kMunicipalityFile,
                             municipalityLines(QStringLiteral("B"), QStringLiteral("RJ"))).ok());
    QCOMPARE(fileBytes(dir.file(QStringLiteral("dados/prefeitura.vqd"))),
             QByteArray("B\tRJ\t\r\n"));
}

void TestProfile::writeFailsQuietlyWhenDataIsAFile()
{
    ScratchDir dir;
    putFile(dir.file(QStringLiteral("dados")), "not a directory");
    QVERIFY(!writeProfileFile(kMunicipalityFile,
                              municipalityLines(QStringLiteral("B"), QStringLiteral("RJ"))).ok());
    QCOMPARE(fileBytes(dir.file(QStringLiteral("dados"))), QByteArray("not a directory"));
}

void TestProfile::municipalityFromFirstLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("state");
    QTest::newRow("record") << QStringList{QStringLiteral("Prefeitura X\tMG\t")} << true
                            << QStringLiteral("Prefeitura X") << QStringLiteral("MG");
    QTest::newRow("no line") << QStringList{} << false << QString() << QString();
    QTest::newRow("no tab") << QStringList{QStringLiteral("Prefeitura X")} << true << QString()
                            << QString();
    QTest::newRow("name only") << QStringList{QStringLiteral("Prefeitura X\t")} << true
                               << QStringLiteral("Prefeitura X") << QString();
    QTest::newRow("state without its tab") << QStringList{QStringLiteral("Prefeitura X\tMG")}
                                           << true << QStringLiteral("Prefeitura X") << QString();
    QTest::newRow("tab inside the name")
        << QStringList{QStringLiteral("Prefeitura\tde Cima\tMG\t")} << true
        << QStringLiteral("Prefeitura") << QStringLiteral("de Cima");
    QTest::newRow("later lines ignored")
        << QStringList{QStringLiteral("A\tBA\t"), QStringLiteral("B\tSP\t")} << true
        << QStringLiteral("A") << QStringLiteral("BA");
    QTest::newRow("empty first line")
        << QStringList{QString(), QStringLiteral("B\tSP\t")} << true << QString() << QString();
}

void TestProfile::municipalityFromFirstLine()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, found);
    QFETCH(QString, name);
    QFETCH(QString, state);
    const std::optional<Municipality> m = municipalityFromLines(lines);
    QCOMPARE(m.has_value(), found);
    if (m) {
        QCOMPARE(m->name, name);
        QCOMPARE(m->state, state);
    }
}

void TestProfile::officialsFromLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("officials");
    const QString a = QStringLiteral("a"), b = QStringLiteral("b"), c = QStringLiteral("c"),
                  d = QStringLiteral("d\tx"), e = QStringLiteral("e");
    QTest::newRow("none") << QStringList{} << QStringList{};
    QTest::newRow("two") << QStringList{a, b} << QStringList{a, b};
    QTest::newRow("four, tab read whole") << QStringList{a, b, c, d} << QStringList{a, b, c, d};
    QTest::newRow("more than four") << QStringList{a, b, c, d, e} << QStringList{a, b, c, d};
    QTest::newRow("empty lines count")
        << QStringList{QString(), QString(), c} << QStringList{QString(), QString(), c};
}

void TestProfile::officialsFromLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, officials);
    QCOMPARE(quelvara::officialsFromLines(lines), officials);
}

void TestProfile::readLineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    const QStringList four{QStringLiteral("Ana"), QString(), QStringLiteral("Caio"),
                           QStringLiteral("CRC")};
    QTest::newRow("crlf") << QByteArray("Ana\r\n\r\nCaio\r\nCRC\r\n") << four;
    QTest::newRow("lf") << QByteArray("Ana\n\nCaio\nCRC\n") << four;
    QTest::newRow("cr") << QByteArray("Ana\r\rCaio\rCRC\r") << four;
    QTest::newRow("last without end") << QByteArray("Ana\r\n\r\nCaio\r\nCRC") << four;
    QTest::newRow("cp1252") << QByteArray("Jo\xE3o \x80\r\n")
                            << QStringList{QStringLiteral("João €")};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void TestProfile::readLineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    ScratchDir dir;
    putFile(dir.file(QStringLiteral("dados/prefs.vqd")), bytes);
    QCOMPARE(readProfileFile(kOfficialsFile).lines, lines);
}

void TestProfile::readMissingOrUnreadableGivesNoLine()
{
    ScratchDir dir;
    QVERIFY(readProfileFile(kMunicipalityFile).lines.isEmpty());
    QVERIFY(QDir().mkpath(dir.file(QStringLiteral("dados/prefeitura.vqd"))));
    QVERIFY(readProfileFile(kMunicipalityFile).lines.isEmpty());
    // Reading creates nothing.
    QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("dados/prefs.vqd"))));
    QVERIFY(readProfileFile(kOfficialsFile).lines.isEmpty());
    QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("dados/prefs.vqd"))));
}

void TestProfile::roundTrip()
{
    ScratchDir dir;
    const QString name = QStringLiteral("Prefeitura Municipal de Conceição do Pará ‰ Œ");
    QVERIFY(writeProfileFile(kMunicipalityFile, municipalityLines(name, QStringLiteral("PA"))).ok());
    const std::optional<Municipality> m = municipalityFromLines(readProfileFile(kMunicipalityFile).lines);
    QVERIFY(m);
    QCOMPARE(m->name, name);
    QCOMPARE(m->state, QStringLiteral("PA"));

    const QStringList officials{QStringLiteral("Mário"), QString(), QStringLiteral("Zé\tda Silva"),
                                QStringLiteral("MG-012.345/O-6")};
    QVERIFY(writeProfileFile(kOfficialsFile, officialsLines(officials)).ok());
    QCOMPARE(quelvara::officialsFromLines(readProfileFile(kOfficialsFile).lines), officials);
}

void TestProfile::cleanTexts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("municipality");
    QTest::addColumn<QString>("official");
    QTest::newRow("plain") << QStringLiteral("São Tomé") << QStringLiteral("São Tomé")
                           << QStringLiteral("São Tomé");
    QTest::newRow("tab") << QStringLiteral("Vila\tNova") << QStringLiteral("VilaNova")
                         << QStringLiteral("Vila\tNova");
    QTest::newRow("pasted lines") << QStringLiteral("Ana\r\nMaria\rde\nSouza")
                                  << QStringLiteral("AnaMariadeSouza")
                                  << QStringLiteral("AnaMariadeSouza");
    QTest::newRow("empty") << QString() << QString() << QString();
}

void TestProfile::cleanTexts()
{
    QFETCH(QString, typed);
    QFETCH(QString, municipality);
    QFETCH(QString, official);
    QCOMPARE(municipalityText(typed), municipality);
    QCOMPARE(officialText(typed), official);
    // A cleaned name and state always read back as written.
    const std::optional<Municipality> m =
        municipalityFromLines(municipalityLines(municipalityText(typed), municipalityText(typed)));
    QVERIFY(m);
    QCOMPARE(m->name, municipality);
    QCOMPARE(m->state, municipality);
}

QTEST_GUILESS_MAIN(TestProfile)
#include "test_profile.moc"
