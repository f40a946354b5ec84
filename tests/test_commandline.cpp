#include "commandline.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

using namespace quelvara;

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void helpText();
    void helpOfAProgramWithItsOwnOptions();
    void versionText();
};

namespace {

const QString kSeeHelp = QStringLiteral("\nUse \"quelvara --help\" para ver as opções.");

QString underCurrent(const QString &relative)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(relative));
}

} // namespace

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("version");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("error");

    const QString home = QDir::homePath();
    QTest::newRow("nothing") << QStringList{} << false << false << QString() << QString();
    QTest::newRow("--help") << QStringList{"--help"} << true << false << QString() << QString();
    QTest::newRow("-h") << QStringList{"-h"} << true << false << QString() << QString();
    QTest::newRow("--version") << QStringList{"--version"} << false << true << QString()
                               << QString();
    QTest::newRow("-v") << QStringList{"-v"} << false << true << QString() << QString();
    QTest::newRow("absolute folder")
        << QStringList{"--pasta", "/srv/contas"} << false << false << "/srv/contas" << QString();
    QTest::newRow("folder after =")
        << QStringList{"--pasta=/srv/contas"} << false << false << "/srv/contas" << QString();
    QTest::newRow("relative folder, one dash")
        << QStringList{"-pasta", "dados 2026/../contas"} << false << false << underCurrent("contas")
        << QString();
    // A launcher passes "~" as it is; the program finds the home folder itself.
    QTest::newRow("home folder") << QStringList{"--pasta", "~/Quelvara"} << false << false
                                 << home + "/Quelvara" << QString();
    QTest::newRow("home alone") << QStringList{"--pasta", "~"} << false << false << home
                                << QString();
    QTest::newRow("tilde inside a name") << QStringList{"--pasta", "~contas"} << false << false
                                         << underCurrent("~contas") << QString();

    QTest::newRow("unknown word") << QStringList{"--ajuda"} << false << false << QString()
                                  << "Opção desconhecida: --ajuda." + kSeeHelp;
    QTest::newRow("unknown letter")
        << QStringList{"-x"} << false << false << QString() << "Opção desconhecida: -x." + kSeeHelp;
    // Qt's own options are not taken here: the display is chosen by the environment.
    QTest::newRow("Qt's platform option")
        << QStringList{"-platform", "xcb"} << false << false << QString()
        << "Opção desconhecida: -platform." + kSeeHelp;
    QTest::newRow("two unknown, one with a value")
        << QStringList{"--cor=azul", "-y", "--cor"} << false << false << QString()
        << "Opções desconhecidas: --cor, -y." + kSeeHelp;
    QTest::newRow("folder without a value") << QStringList{"--pasta"} << false << false << QString()
                                            << "Falta o valor da opção --pasta." + kSeeHelp;
    QTest::newRow("folder with an empty value")
        << QStringList{"--pasta="} << false << false << QString()
        << "Falta o valor da opção --pasta." + kSeeHelp;
    QTest::newRow("value for a switch") << QStringList{"--help=sim"} << false << false << QString()
                                        << "A opção --help não aceita valor." + kSeeHelp;
    QTest::newRow("a file name") << QStringList{"contas.vqd"} << false << false << QString()
                                 << "Argumento inesperado: contas.vqd." + kSeeHelp;
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, help);
    QFETCH(bool, version);
    QFETCH(QString, folder);
    QFETCH(QString, error);
    CommandLine commandLine(QStringLiteral("quelvara"), QStringLiteral("Resumo."));
    QCOMPARE(commandLine.parse(QStringList{"/usr/bin/quelvara"} + arguments), error.isEmpty());
    QCOMPARE(commandLine.errorText(), error);
    if (error.isEmpty()) {
        QCOMPARE(commandLine.helpRequested(), help);
        QCOMPARE(commandLine.versionRequested(), version);
        QCOMPARE(commandLine.folder(), folder);
    }
}

void TestCommandLine::helpText()
{
    CommandLine commandLine(QStringLiteral("quelvara"),
                            QStringLiteral("Programa Gerador de Relatórios das Contas Públicas."));
    QCOMPARE(
        commandLine.helpText(),
        QStringLiteral(
            "Uso: quelvara [opções]\n"
            "Programa Gerador de Relatórios das Contas Públicas.\n"
            "\n"
            "Opções:\n"
            "  --pasta <pasta>  Trabalha na pasta indicada: os dados ficam na sua subpasta\n"
            "                   \"dados\" e as páginas dos relatórios ao lado dela. A pasta é\n"
            "                   criada se não existir. Sem esta opção, a pasta atual.\n"
            "  -h, --help       Mostra esta ajuda e sai.\n"
            "  -v, --version    Mostra a versão do programa e sai.\n"));
}

void TestCommandLine::helpOfAProgramWithItsOwnOptions()
{
    CommandLine commandLine(QStringLiteral("quelvara-cli"), QStringLiteral("Gera relatórios."));
    commandLine.addOption(QCommandLineOption(
        QStringList{"a", "ano"}, QStringLiteral("O ano dos relatórios."), QStringLiteral("ano")));
    commandLine.addPositionalArgument(QStringLiteral("relatorio"),
                                      QStringLiteral("O relatório a gerar."),
                                      QStringLiteral("<relatorio>"));
    const QString help = commandLine.helpText();
    QVERIFY2(help.startsWith(QStringLiteral("Uso: quelvara-cli [opções] <relatorio>\n"
                                            "Gera relatórios.\n")),
             qPrintable(help));
    QVERIFY(help.contains(QStringLiteral("\n  -a, --ano <ano>  O ano dos relatórios.\n")));
    QVERIFY(help.endsWith(QStringLiteral("\nArgumentos:\n"
                                         "  relatorio        O relatório a gerar.\n")));
    for (const QString &line : help.split(u'\n')) {
        QVERIFY2(line.size() <= 79, qPrintable(line));
    }

    QVERIFY(commandLine.parse({"quelvara-cli", "-a", "2026", "--pasta", "/srv", "balanco"}));
    QCOMPARE(commandLine.parser().value(QStringLiteral("ano")), QStringLiteral("2026"));
    QCOMPARE(commandLine.parser().positionalArguments(), QStringList{"balanco"});
    QCOMPARE(commandLine.folder(), QStringLiteral("/srv"));
}

void TestCommandLine::versionText()
{
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+(\\.\\d+)?$"))
                .match(programVersion())
                .hasMatch());
    CommandLine commandLine(QStringLiteral("quelvara"), QString());
    QCOMPARE(commandLine.versionText(), "quelvara " + programVersion() + "\n");
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
