// Tests of quelvara-cli through the real executable: what "publicar" writes
// against what the report editor writes for the same data, the checks of
// "verificar", the folder "exportar" makes, refused command lines, an
// interruption, and the libraries the executable links.
#include "Utribarrec.h"
#include "catalogue.h"
#include "fakeplatform.h"
#include "folderlock.h"
#include "messages.h"
#include "reportdata.h"
#include "values.h"
#include "windowinput.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <memory>

using namespace quelvara;

namespace {

const QString kYear = QStringLiteral("2005"); // the year the editor opens in

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program in a folder and waits for it.
Run runCli(const QStringList &arguments, const QString &workingDir,
           const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setWorkingDirectory(workingDir);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUELVARA_CLI), arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit) {
        return {-1, {}, QStringLiteral("did not finish: ") + process.errorString()};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString describe(const Run &run)
{
    return QStringLiteral("exit %1\nstdout:\n%2\nstderr:\n%3")
        .arg(run.exitCode)
        .arg(run.out, run.err);
}

// Copies the sample registries and profile into a folder's "dados".
bool copySamplesTo(const QString &root)
{
    const QDir samples(QStringLiteral(QUELVARA_SAMPLES_DIR));
    for (const QFileInfo &entry : samples.entryInfoList(QDir::Files)) {
        if (!writeFile(QDir(root).filePath(QStringLiteral("dados/") + entry.fileName()),
                       fileBytes(entry.filePath()))) {
            return false;
        }
    }
    return true;
}

QStringList registryLines(const QString &name, int count)
{
    return sampleLines(name).mid(0, count);
}

QString money(int cents) { return AmountText(cents / 100.0); }

// The data of one report: its kind's prefix, period and lines.
struct Planted {
    QString prefix;
    int period;
    QStringList lines;
};

// Items for several kinds and periods of each category, as users leave them:
// registry codes and one code of their own, gaps between months, accumulated
// values never brought up to date, contracts, budgets and balances.
QList<Planted> yearData()
{
    QList<Planted> data;
    const auto codeLines = [](const QString &registry, int count, int period, int fields) {
        QStringList lines;
        int i = 0;
        for (const QString &entry : registryLines(registry, count)) {
            ++i;
            QStringList f = {GetField(entry, 1), GetField(entry, 2)};
            const int amount = i * 100000 + period * 3701;
            if (fields == 3) {
                f << money(amount);
            } else if (fields == 4) {
                f << money(amount) << QStringLiteral("0,00");
            } else { // budgeted, then committed and paid with their accumulated figures
                f << money(amount * 6) << money(amount) << QStringLiteral("0,00")
                  << money(amount / 2) << QStringLiteral("1,00");
            }
            lines << composeLine(f, i == 3);
        }
        return lines;
    };
    for (int month : {1, 2, 3, 5}) {
        QStringList lines = codeLines(QStringLiteral("tributos.vqd"), 8, month, 4);
        if (month == 2) {
            lines << composeLine({QStringLiteral("1119.99.00"), QStringLiteral("Taxa de eventos"),
                                  money(12345), QStringLiteral("0,00")},
                                 false);
        }
        data.append({QStringLiteral("trib-arrec-"), month, lines});
    }
    for (int month = 1; month <= 12; ++month) {
        data.append({QStringLiteral("rec-receb-transf-vol-receb-"), month,
                     codeLines(QStringLiteral("recv.vqd"), 5, month, 4)});
    }
    for (int month : {2, 4}) {
        QStringList lines;
        int i = 0;
        for (const QString &entry : registryLines(QStringLiteral("cnpj.vqd"), 3)) {
            ++i;
            lines << composeLine(
                {QStringLiteral("%1/%2").arg(month * 10 + i).arg(kYear), GetField(entry, 1),
                 GetField(entry, 2), QStringLiteral("Pregão %1").arg(i),
                 QStringLiteral("%1/0%2/%3").arg(10 + i).arg(month).arg(kYear),
                 QStringLiteral("31/12/2006"), QStringLiteral("Serviços; \"lote\" %1").arg(i),
                 money(i * 7654321), QString()},
                false);
        }
        data.append({QStringLiteral("contratos-e-seus-aditivos-"), month, lines});
    }
    for (int bimester : {1, 2}) {
        data.append({QStringLiteral("exec-orc-rec-realizada-"), bimester,
                     codeLines(QStringLiteral("rec.vqd"), 6, bimester, 4)});
    }
    data.append(
        {QStringLiteral("exec-orc-desp-func-"), 3, codeLines(QStringLiteral("func.vqd"), 5, 3, 7)});
    data.append({QStringLiteral("orc-anual-rec-prevista-"), 0,
                 codeLines(QStringLiteral("rec.vqd"), 6, 0, 3)});
    QStringList balance;
    for (const QString &entry : registryLines(QStringLiteral("rec.vqd"), 4)) {
        balance << composeLine(
            {GetField(entry, 1), GetField(entry, 2), money(500000), money(420050), money(79950)},
            false);
    }
    data.append({QStringLiteral("bal-orc-receitas-"), 0, balance});
    data.append({QStringLiteral("bal-orc-resultado-nominal-"),
                 0,
                 {composeLine({money(100000), money(-20000), money(80000)}, false)}});
    return data;
}

QString dataPath(const QString &root, const QString &prefix, int period,
                 const QString &year = kYear)
{
    return QDir(root).filePath(
        QStringLiteral("dados/%1/%2%3-%1.vqd").arg(year, prefix).arg(period));
}

bool plantYear(const QString &root)
{
    for (const Planted &planted : yearData()) {
        if (!writeFile(dataPath(root, planted.prefix, planted.period), crlfBytes(planted.lines))) {
            return false;
        }
    }
    return true;
}

// The pages "publicar" writes for yearData(): every period up to each kind's last.
int plantedPages() { return 5 + 12 + 4 + 2 + 3 + 3; }

// Opens the editor in a category as the main window does, with the municipality it shows.
std::unique_ptr<TTribArrec> openEditor(int category)
{
    auto editor = std::make_unique<TTribArrec>();
    const QStringList record = sampleLines(QStringLiteral("prefeitura.vqd"));
    editor->NomePrefeitura = GetField(record.value(0), 1);
    editor->UF = GetField(record.value(0), 2);
    editor->SubTitle->setCurrentIndex(category);
    editor->show();
    return QTest::qWaitForWindowExposed(editor.get()) ? std::move(editor) : nullptr;
}

// Picks a list entry through the drop-down unless it is already shown; tells whether it is.
[[nodiscard]] bool choose(QComboBox *box, int index)
{
    return box->currentIndex() == index || pick(box, index);
}

// Publishes the year in the editor as a clerk would: in each category, every kind with data
// at its last period with a data file, with "Atualizar Valores" where there is more than one.
// Between kinds the period goes back to the first, so that no page of another period is written.
[[nodiscard]] bool publishThroughTheEditor(const QString &root)
{
    if (QDir::currentPath() != root) {
        return false; // the editor works in the current directory
    }
    for (int c = 0; c < 3; ++c) {
        const auto category = static_cast<ReportCategory>(c);
        const std::unique_ptr<TTribArrec> editor = openEditor(c);
        if (!editor) {
            return false;
        }
        for (const ReportKind &kind : reportKinds(category)) {
            int last = -1;
            for (const Planted &planted : yearData()) {
                if (planted.prefix == kind.prefix) {
                    last = std::max(last, planted.period);
                }
            }
            if (last < 0) {
                continue;
            }
            QTest::mouseClick(editor->btNovo, Qt::LeftButton);
            if (editor->cbPeriodo->count() > 0 && !choose(editor->cbPeriodo, 0)) {
                return false;
            }
            if (!choose(editor->Title, kind.position)) {
                return false;
            }
            if (last > 1) {
                QTest::mouseClick(editor->btNovo, Qt::LeftButton);
                if (!choose(editor->cbPeriodo, last - 1)) {
                    return false;
                }
                QTest::mouseClick(editor->Panel1, Qt::LeftButton, {},
                                  editor->Panel1->rect().center());
            }
        }
    }
    return true;
}

// Returns every link target of an HTML file.
QStringList links(const QString &path)
{
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    QStringList targets;
    for (const QRegularExpressionMatch &match :
         href.globalMatch(QString::fromUtf8(fileBytes(path)))) {
        targets.append(match.captured(1));
    }
    return targets;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void publishWritesWhatTheEditorWrites();
    void checkFindsPlantedErrors();
    void exportMakesASelfContainedFolder();
    void badInputIsRefused_data();
    void badInputIsRefused();
    void onlyPublishingWaitsForTheProgram();
    void progressShowsOnATerminalOnly();
    void interruptionLeavesNoPartialFile();
    void linksNoWidgets();

private:
    std::unique_ptr<WindowSandbox> sandbox_;
};

void TestCli::init()
{
    sandbox_ = std::make_unique<WindowSandbox>();
    QVERIFY(copySamplesTo(sandbox_->dir.path()));
}

void TestCli::cleanup() { sandbox_.reset(); }

void TestCli::publishWritesWhatTheEditorWrites()
{
    const QString window = sandbox_->dir.path();
    QTemporaryDir cliRoot;
    QVERIFY(plantYear(window));
    QVERIFY(copySamplesTo(cliRoot.path()));
    QVERIFY(plantYear(cliRoot.path()));

    QVERIFY(publishThroughTheEditor(window));
    const Run run = runCli({QStringLiteral("publicar"), kYear}, cliRoot.path());
    QVERIFY2(run.exitCode == 0, qPrintable(describe(run)));

    // Every file, the data files included, as the editor left it.
    const QMap<QString, QByteArray> expected = timeless(window);
    const QMap<QString, QByteArray> written = timeless(cliRoot.path());
    QCOMPARE(written.keys(), expected.keys());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        QVERIFY2(written.value(it.key()) == it.value(), qPrintable(it.key()));
    }

    // One line per report, then the summary; nothing on a standard error that is no terminal.
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), plantedPages() + 1);
    QVERIFY2(lines.first().startsWith(QStringLiteral("Publicado: 2005/trib-arrec-1-2005.htm (")),
             qPrintable(lines.first()));
    QVERIFY2(lines.last().startsWith(
                 QStringLiteral("2005: %1 relatórios publicados de 8 tipos;").arg(plantedPages())),
             qPrintable(lines.last()));
    QCOMPARE(run.err, QString());
}

void TestCli::checkFindsPlantedErrors()
{
    const QString root = sandbox_->dir.path();
    QVERIFY(plantYear(root));
    // Before publishing, the accumulated values were never computed: errors.
    QCOMPARE(runCli({QStringLiteral("verificar"), kYear}, root).exitCode, 1);
    QCOMPARE(runCli({QStringLiteral("publicar"), kYear}, root).exitCode, 0);
    const Run clean = runCli({QStringLiteral("verificar"), kYear}, root);
    QVERIFY2(clean.exitCode == 0 && clean.out.isEmpty(), qPrintable(describe(clean)));

    // An amount that is no number, a wrong CNPJ, an accumulated value gone stale, a date of
    // another year (a warning only).
    const auto plant = [&](const QString &prefix, int period, int row, int field,
                           const QString &text) {
        const QString path = dataPath(root, prefix, period);
        QStringList lines = readLines(path).lines;
        QStringList fields = lines[row].split(u'\t');
        fields[field - 1] = text;
        lines[row] = fields.join(u'\t');
        return writeLines(path, lines).ok() ? GetField(lines[row], 1) : QString();
    };
    struct Expected {
        QString prefix;
        int period;
        QString item;
        int field;
        QString severity;
    };
    const QList<Expected> planted = {
        {QStringLiteral("trib-arrec-"), 3, plant("trib-arrec-", 3, 1, 3, "1.2x0,00"), 3, "erro"},
        {QStringLiteral("contratos-e-seus-aditivos-"), 4,
         plant("contratos-e-seus-aditivos-", 4, 0, 3, "45.645.645/0001-11"), 3, "erro"},
        {QStringLiteral("exec-orc-rec-realizada-"), 2,
         plant("exec-orc-rec-realizada-", 2, 2, 4, "9,99"), 4, "erro"},
        {QStringLiteral("contratos-e-seus-aditivos-"), 2,
         plant("contratos-e-seus-aditivos-", 2, 1, 5, "10/02/2004"), 5, "aviso"},
    };

    const Run text = runCli({QStringLiteral("verificar"), kYear}, root);
    const Run json = runCli({QStringLiteral("verificar"), kYear, QStringLiteral("--json")}, root);
    QVERIFY2(text.exitCode == 1, qPrintable(describe(text)));
    QCOMPARE(json.exitCode, 1);
    QJsonParseError error;
    const QJsonArray findings = QJsonDocument::fromJson(json.out.toUtf8(), &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QStringList lines = text.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), findings.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QJsonObject finding = findings[i].toObject();
        QCOMPARE(lines[i].split(u'\t'),
                 (QStringList{finding["severidade"].toString(), finding["relatorio"].toString(),
                              finding["periodo"].toString(), finding["item"].toString(),
                              finding["campo"].toString(), finding["mensagem"].toString()}));
    }
    for (const Expected &e : planted) {
        QVERIFY(!e.item.isEmpty());
        const bool found = std::any_of(findings.begin(), findings.end(), [&](const QJsonValue &v) {
            const QJsonObject f = v.toObject();
            return f["prefixo"].toString() == e.prefix && f["periodo_numero"].toInt() == e.period &&
                   f["item"].toString() == e.item && f["campo_numero"].toInt() == e.field &&
                   f["severidade"].toString() == e.severity;
        });
        QVERIFY2(found, qPrintable(e.prefix + e.item + "\n" + text.out));
    }
}

void TestCli::exportMakesASelfContainedFolder()
{
    const QString root = sandbox_->dir.path();
    QVERIFY(plantYear(root));
    QVERIFY(writeFile(
        dataPath(root, QStringLiteral("orc-anual-rec-prevista-"), 0, QStringLiteral("2004")),
        crlfBytes({composeLine({"4111", "Receita", "1,00"}, false)})));
    QCOMPARE(runCli({QStringLiteral("publicar"), QStringLiteral("2004")}, root).exitCode, 0);
    // With the PDF, and without any display at all.
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        bare.remove(QString::fromLatin1(name));
    }
    const Run published =
        runCli({QStringLiteral("publicar"), kYear, QStringLiteral("--pdf")}, root, bare);
    QVERIFY2(published.exitCode == 0 && published.err.isEmpty(), qPrintable(describe(published)));

    const QMap<QString, QByteArray> before = snapshot(root);
    QTemporaryDir outer;
    const QString target = QDir(outer.path()).filePath(QStringLiteral("site"));
    const Run run =
        runCli({QStringLiteral("exportar"), kYear, QStringLiteral("--saida"), target}, root);
    QVERIFY2(run.exitCode == 0, qPrintable(describe(run)));
    QCOMPARE(snapshot(root), before);

    // The year's published files as they are, its index, and an index of this year alone.
    const QMap<QString, QByteArray> exported = snapshot(target);
    QStringList expected = {QStringLiteral("index.html"), kYear};
    for (const QString &name : QDir(QDir(root).filePath(kYear)).entryList(QDir::Files)) {
        expected.append(kYear + u'/' + name);
        if (name != QStringLiteral("index.html")) {
            QCOMPARE(exported.value(kYear + u'/' + name), before.value(kYear + u'/' + name));
        }
    }
    expected.sort();
    QCOMPARE(exported.keys(), expected);
    QCOMPARE(expected.filter(QStringLiteral(".pdf")).size(), plantedPages());
    QCOMPARE(exported.value(kYear + QStringLiteral("/index.html")),
             before.value(kYear + QStringLiteral("/index.html")));
    QCOMPARE(links(QDir(target).filePath(QStringLiteral("index.html"))),
             QStringList{kYear + QStringLiteral("/index.html")});

    int resolved = 0;
    for (auto it = exported.cbegin(); it != exported.cend(); ++it) {
        if (!it.key().endsWith(QStringLiteral(".html")) &&
            !it.key().endsWith(QStringLiteral(".htm"))) {
            continue;
        }
        const QDir dir = QFileInfo(QDir(target).filePath(it.key())).dir();
        for (const QString &link : links(QDir(target).filePath(it.key()))) {
            if (link.startsWith(QStringLiteral("mailto:"))) {
                continue;
            }
            const QString file =
                QDir::cleanPath(dir.filePath(QUrl::fromPercentEncoding(link.toUtf8())));
            QVERIFY2(file.startsWith(target + u'/') && QFileInfo(file).isFile(),
                     qPrintable(it.key() + QStringLiteral(" -> ") + link));
            ++resolved;
        }
    }
    QCOMPARE(resolved, 1 + 1 + plantedPages() * 4); // root, back to root, four per report
}

void TestCli::badInputIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("no command") << QStringList{}
                                << "Falta o comando: publicar, verificar ou exportar.";
    QTest::newRow("unknown command")
        << QStringList{"publica", "2005"} << "Comando desconhecido: publica.";
    QTest::newRow("unknown option")
        << QStringList{"publicar", "2005", "--cor"} << "Opção desconhecida: --cor.";
    QTest::newRow("option of another command")
        << QStringList{"verificar", "2005", "--pdf"}
        << "A opção --pdf não vale para o comando verificar.";
    QTest::newRow("no year") << QStringList{"publicar"} << "Falta o ano do comando publicar.";
    QTest::newRow("two digits") << QStringList{"publicar", "05"}
                                << "O ano deve ter quatro algarismos, como 2005: 05.";
    QTest::newRow("a letter") << QStringList{"verificar", "200x"}
                              << "O ano deve ter quatro algarismos, como 2005: 200x.";
    QTest::newRow("five digits") << QStringList{"exportar", "20055", "--saida", "site"}
                                 << "O ano deve ter quatro algarismos, como 2005: 20055.";
    QTest::newRow("another argument")
        << QStringList{"publicar", "2005", "2006"} << "Argumento inesperado: 2006.";
    QTest::newRow("export without a folder")
        << QStringList{"exportar", "2005"}
        << "Falta a opção --saida com a pasta que recebe os arquivos.";
    QTest::newRow("missing folder")
        << QStringList{"--pasta", "{pasta}/nao-existe", "publicar", "2005"}
        << "A pasta {pasta}/nao-existe não existe.";
    QTest::newRow("folder without data")
        << QStringList{"--pasta", "{pasta}/2005", "verificar", "2005"}
        << "A pasta {pasta}/2005 não tem a subpasta \"dados\" do Quelvara.";
    QTest::newRow("export into the data")
        << QStringList{"exportar", "2005", "--saida", "dados/site"}
        << "A pasta de saída {pasta}/dados/site não pode ser a pasta de dados, ficar dentro de "
           "\"dados\" nem dentro da pasta de um ano.";
}

void TestCli::badInputIsRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const QString root = sandbox_->dir.path();
    QVERIFY(plantYear(root));
    QVERIFY(QDir(root).mkdir(kYear)); // a folder without "dados"
    arguments.replaceInStrings(QStringLiteral("{pasta}"), root);
    const QMap<QString, QByteArray> before = snapshot(root);

    const Run run = runCli(arguments, root);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QString());
    const QStringList lines = run.err.split(u'\n');
    QCOMPARE(lines.value(0),
             QStringLiteral("quelvara-cli: ") + message.replace(QStringLiteral("{pasta}"), root));
    QVERIFY2(lines.value(1).startsWith(QStringLiteral("Uso: quelvara-cli ")), qPrintable(run.err));
    QCOMPARE(snapshot(root), before);
}

void TestCli::onlyPublishingWaitsForTheProgram()
{
    const QString root = sandbox_->dir.path();
    QVERIFY(plantYear(root));
    FolderLock program(root); // this process stands for the program open in the folder
    QCOMPARE(program.acquire(), FolderLock::Status::Acquired);
    const QMap<QString, QByteArray> before = snapshot(root);

    const Run publish = runCli({QStringLiteral("publicar"), kYear}, root);
    QCOMPARE(publish.exitCode, 3);
    QCOMPARE(publish.out, QString());
    QCOMPARE(publish.err, QStringLiteral("quelvara-cli: ") +
                              msg::folderInUseForPublishing(root, QSysInfo::machineHostName(),
                                                            QCoreApplication::applicationPid()) +
                              u'\n');
    QCOMPARE(snapshot(root), before);
    // Reading goes on beside the program: the stale accumulated values are errors.
    QCOMPARE(runCli({QStringLiteral("verificar"), kYear}, root).exitCode, 1);

    program.release();
    QCOMPARE(runCli({QStringLiteral("publicar"), kYear}, root).exitCode, 0);
    QVERIFY(!QFileInfo::exists(QDir(root).filePath(FolderLock::fileName())));
}

void TestCli::progressShowsOnATerminalOnly()
{
    // script(1) gives the program a terminal; its output is what the terminal showed.
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty()) {
        QSKIP("script(1) is not installed");
    }
    const QString root = sandbox_->dir.path();
    QVERIFY(plantYear(root));
    QProcess process;
    process.setWorkingDirectory(root);
    process.start(script,
                  {QStringLiteral("-qec"),
                   QStringLiteral(QUELVARA_CLI) + QStringLiteral(" verificar 2005 >/dev/null"),
                   QStringLiteral("/dev/null")});
    QVERIFY(process.waitForFinished(120000));
    const QString shown = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(shown.contains(QStringLiteral("\rVerificando 1 de 8: Tributos Arrecadados")),
             qPrintable(shown));
    QVERIFY2(shown.contains(QStringLiteral(" erros e ")), qPrintable(shown));
    QCOMPARE(process.exitCode(), 1);
}

void TestCli::interruptionLeavesNoPartialFile()
{
    // Enough work that Ctrl+C comes while it goes on: four kinds of 12 months of 2,000 items.
    const QString root = sandbox_->dir.path();
    const QStringList prefixes = {"trib-arrec-", "rec-repass-transf-vol-",
                                  "rec-receb-transf-vol-receb-", "rec-receb-transf-const-receb-"};
    for (const QString &prefix : prefixes) {
        for (int month = 1; month <= 12; ++month) {
            QStringList lines;
            for (int i = 0; i < 2000; ++i) {
                lines << composeLine({QStringLiteral("%1.%2").arg(1000 + i).arg(month),
                                      QStringLiteral("Item %1").arg(i), money(i * 100 + month),
                                      QStringLiteral("0,00")},
                                     false);
            }
            QVERIFY(writeFile(dataPath(root, prefix, month), crlfBytes(lines)));
        }
    }

    QProcess process;
    process.setWorkingDirectory(root);
    process.start(QStringLiteral(QUELVARA_CLI), {QStringLiteral("publicar"), kYear});
    QVERIFY(process.waitForReadyRead(120000));
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 128 + SIGINT);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.startsWith(QStringLiteral("quelvara-cli: Interrompido depois de ")),
             qPrintable(err));
    QVERIFY2(!out.contains(QStringLiteral("relatórios publicados")), qPrintable(out));

    // Only the program's own files, whole: no temporary file is left behind.
    static const QRegularExpression own(QStringLiteral(
        "^(dados/[a-z]+\\.vqd|dados/2005/[a-z-]+\\d+-2005\\.vqd|"
        "2005/[a-z-]+\\d+-2005\\.(htm|csv|json)|(2005/)?index\\.html|dados|dados/2005|2005)$"));
    for (const QString &name : snapshot(root).keys()) {
        QVERIFY2(own.match(name).hasMatch(), qPrintable(name));
    }
}

void TestCli::linksNoWidgets()
{
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), QStringLiteral(QUELVARA_CLI)});
    QVERIFY(readelf.waitForFinished(60000));
    QCOMPARE(readelf.exitCode(), 0);
    QStringList needed;
    for (const QString &line : QString::fromUtf8(readelf.readAllStandardOutput()).split(u'\n')) {
        if (line.contains(QStringLiteral("(NEEDED)"))) {
            needed.append(line.section(u'[', 1).section(u']', 0, 0));
        }
    }
    QVERIFY2(needed.contains(QStringLiteral("libQt6Core.so.6")), qPrintable(needed.join(u' ')));
    QVERIFY2(needed.filter(QStringLiteral("Widgets")).isEmpty(), qPrintable(needed.join(u' ')));
}

QTEST_MAIN(TestCli)
#include "test_cli.moc"
