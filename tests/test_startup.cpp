#include "commandline.h"
#include "startup.h"
#include "testfiles.h"

#include <QProcess>
#include <QTest>

using namespace quelvara;

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void request_data();
    void request();
    void enterDataFolder_data();
    void enterDataFolder();
    void program_data();
    void program();
};

namespace {

const QString kNoDisplay =
    QStringLiteral("quelvara: Não há tela gráfica: o Quelvara só funciona numa sessão gráfica.\n");

// An environment holding only the given variables ("NAME=value").
QProcessEnvironment environmentOf(const QStringList &variables)
{
    QProcessEnvironment environment;
    for (const QString &variable : variables) {
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    }
    return environment;
}

} // namespace

void TestStartup::request_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("folder");

    const QString help = CommandLine(QStringLiteral("quelvara"),
                                     QStringLiteral("Programa Gerador de Relatórios das Contas "
                                                    "Públicas."))
                             .helpText();
    const QString version = "quelvara " + programVersion() + "\n";
    const QStringList x11{"DISPLAY=:0"};

    // The help and the version need no display.
    QTest::newRow("help without a display")
        << QStringList{"--help"} << QStringList{} << 0 << help << QString() << QString();
    QTest::newRow("version without a display")
        << QStringList{"-v"} << QStringList{} << 0 << version << QString() << QString();
    QTest::newRow("unknown option")
        << QStringList{"--ajuda"} << x11 << 2 << QString()
        << "quelvara: Opção desconhecida: --ajuda.\nUse \"quelvara --help\" para ver as "
           "opções.\n"
        << QString();
    QTest::newRow("no display") << QStringList{} << QStringList{} << 1 << QString() << kNoDisplay
                                << QString();
    QTest::newRow("empty display") << QStringList{} << QStringList{"DISPLAY=", "WAYLAND_DISPLAY="}
                                   << 1 << QString() << kNoDisplay << QString();
    QTest::newRow("X11") << QStringList{} << x11 << -1 << QString() << QString() << QString();
    QTest::newRow("Wayland") << QStringList{} << QStringList{"WAYLAND_DISPLAY=wayland-0"} << -1
                             << QString() << QString() << QString();
    QTest::newRow("offscreen needs no display")
        << QStringList{} << QStringList{"QT_QPA_PLATFORM=offscreen"} << -1 << QString() << QString()
        << QString();
    QTest::newRow("X11 asked for, only Wayland there")
        << QStringList{} << QStringList{"QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY=wayland-0"} << 1
        << QString() << kNoDisplay << QString();
    QTest::newRow("second platform of a list, with options")
        << QStringList{} << QStringList{"QT_QPA_PLATFORM=wayland;xcb:nograb", "DISPLAY=:1"} << -1
        << QString() << QString() << QString();
    QTest::newRow("folder") << QStringList{"--pasta", "/srv/contas"} << x11 << -1 << QString()
                            << QString() << "/srv/contas";
}

void TestStartup::request()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, error);
    QFETCH(QString, folder);
    const StartRequest request =
        readStartRequest(QStringList{"quelvara"} + arguments, environmentOf(environment));
    QCOMPARE(request.exitCode, exitCode);
    QCOMPARE(request.goesOn(), exitCode < 0);
    QCOMPARE(request.output, output);
    QCOMPARE(request.error, error);
    QCOMPARE(request.folder, folder);
}

void TestStartup::enterDataFolder_data()
{
    QTest::addColumn<QString>("folder");     // under the scratch directory
    QTest::addColumn<QByteArray>("inPlace"); // a file already there, when not empty
    QTest::addColumn<bool>("entered");
    QTest::newRow("new, with its parents") << "casa/Quelvara" << QByteArray() << true;
    QTest::newRow("existing") << "." << QByteArray() << true;
    QTest::newRow("a file in its place") << "Quelvara" << QByteArray("x") << false;
}

void TestStartup::enterDataFolder()
{
    QFETCH(QString, folder);
    QFETCH(QByteArray, inPlace);
    QFETCH(bool, entered);
    ScratchDir dir;
    const QString path = QDir::cleanPath(dir.file(folder));
    if (!inPlace.isEmpty()) {
        putFile(path, inPlace);
    }
    const QString before = QDir::currentPath();
    const FileResult result = quelvara::enterDataFolder(path);
    QCOMPARE(result.ok(), entered);
    if (entered) {
        QVERIFY(result.message().isEmpty());
        QCOMPARE(QDir::currentPath(), QFileInfo(path).canonicalFilePath());
    } else {
        QCOMPARE(result.message(), "Não foi possível criar ou abrir a pasta de dados " +
                                       QDir::toNativeSeparators(path));
        QCOMPARE(QDir::currentPath(), before);
    }
}

// The program itself, as a shell starts it: what it prints and how it ends,
// with Qt's own messages kept out of sight.
void TestStartup::program_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error");

    QTest::newRow("version") << QStringList{"--version"} << QStringList{} << 0
                             << "quelvara " + programVersion() + "\n"
                             << QString();
    QTest::newRow("no display") << QStringList{} << QStringList{} << 1 << QString() << kNoDisplay;
    // A display is named but no server answers there: Qt itself finds out,
    // and would abort with its own English text.
    QTest::newRow("display that does not answer")
        << QStringList{} << QStringList{"DISPLAY=:97", "QT_QPA_PLATFORM=xcb"} << 1 << QString()
        << QStringLiteral("quelvara: Não foi possível abrir a tela gráfica :97: o Quelvara só "
                          "funciona numa sessão gráfica.\n");
}

void TestStartup::program()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, error);
    if (environment.contains(QStringLiteral("DISPLAY=:97")) &&
        QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X97"))) {
        QSKIP("An X server answers on display :97 on this machine.");
    }
    ScratchDir dir;
    QProcess process;
    QProcessEnvironment env = environmentOf(environment);
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUELVARA_PROGRAM), arguments);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), error);
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), output);
    QCOMPARE(process.exitCode(), exitCode);
    // Ending early writes nothing.
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
