#include "folderlock.h"
#include "killsaver.h"
#include "reportpaths.h"
#include "testfiles.h"

#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <csignal>
#include <functional>

using namespace quelvara;

// A child saves without end and is killed at a random moment, again and
// again. After each kill every file is some version whole, never older than
// before; and the next start takes the folder over and leaves no temporary
// file behind.

namespace {

QStringList temporaryFilesUnder(const QString &root)
{
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (isTemporaryFileName(QFileInfo(path).fileName())) {
            found.append(path);
        }
    }
    return found;
}

// The version a file holds, checked whole against what that version is; -1 when torn.
using VersionCheck = std::function<int(const QString &path)>;

int coreVersion(const QString &path, const QString &what)
{
    const TextLines read = readLines(path);
    const int k = killsaver::versionOf(read.lines);
    if (k < 1 || fileBytes(path) != encodeLines(killsaver::versionLines(what, k))) {
        return -1;
    }
    return k;
}

} // namespace

class TestKills : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void killedWhileSavingThroughTheCore();
    void killedWhileSavingThroughTheWindows();

private:
    // Kills a child in that mode `kills` times; checks every file by its check after each kill.
    void killRepeatedly(const QString &mode, int kills,
                        const QList<QPair<QString, VersionCheck>> &files);

    std::unique_ptr<ScratchDir> dir_;
};

void TestKills::init()
{
    dir_ = std::make_unique<ScratchDir>();
    const QDir samples(QStringLiteral(QUELVARA_SAMPLES_DIR));
    QVERIFY(QDir().mkdir(QStringLiteral("dados")));
    for (const QString &name : samples.entryList(QDir::Files)) {
        putFile(dataFile(name), fileBytes(samples.filePath(name)));
    }
}

void TestKills::cleanup() { dir_.reset(); }

void TestKills::killRepeatedly(const QString &mode, int kills,
                               const QList<QPair<QString, VersionCheck>> &files)
{
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    QHash<QString, int> last;
    int leftovers = 0;
    for (int kill = 1; kill <= kills; ++kill) {
        const QString where = QStringLiteral("kill %1 of %2 (seed %3)").arg(kill).arg(kills).arg(seed);
        QProcess child;
        child.setWorkingDirectory(dir_->path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(environment);
        child.start(QStringLiteral(QUELVARA_KILLSAVER), {mode});
        QVERIFY2(child.waitForStarted(), qPrintable(where));
        QVERIFY2(child.waitForReadyRead(30000), qPrintable(where + child.readAllStandardError()));
        QVERIFY2(child.readAllStandardOutput().startsWith("pronto"), qPrintable(where));
        QThread::usleep(random.bounded(20000));
        QCOMPARE(::kill(pid_t(child.processId()), SIGKILL), 0);
        QVERIFY2(child.waitForFinished(), qPrintable(where));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        for (const auto &[path, check] : files) {
            const int k = check(path);
            QVERIFY2(k >= 0, qPrintable(where + ": torn " + path));
            QVERIFY2(k >= last.value(path, 0), qPrintable(where + ": older again " + path));
            last[path] = k;
        }
        if (!temporaryFilesUnder(dir_->path()).isEmpty()) {
            ++leftovers;
        }
        // The next start: the dead child's lock is taken over, its temporaries go.
        FolderLock lock(dir_->path());
        QVERIFY2(takeWorkingFolder(lock).ok(), qPrintable(where));
        QVERIFY2(temporaryFilesUnder(dir_->path()).isEmpty(), qPrintable(where));
    }
    QStringList versions;
    for (const auto &[path, check] : files) {
        versions.append(QStringLiteral("%1 at %2").arg(QFileInfo(path).fileName()).arg(last[path]));
    }
    qInfo("%d kills, %d left a temporary file, removed on the next start; %s", kills, leftovers,
          qPrintable(versions.join(QStringLiteral(", "))));
    // The child saved at all: the kills fell in the middle of its saves.
    QVERIFY(last.value(files.first().first) > 10);
}

void TestKills::killedWhileSavingThroughTheCore()
{
    // Version 0 is the file as it was before the first save: missing, or the sample's.
    const auto core = [](const QString &what, const QString &path) {
        return [what, before = fileBytes(path)](const QString &file) {
            return fileBytes(file) == before ? 0 : coreVersion(file, what);
        };
    };
    const QString data = dataFilePath(killsaver::kYear, killsaver::kPrefix, killsaver::kPeriod);
    const QString registry = registryPath(killsaver::kRegistry);
    const QString officials = dataFile(kOfficialsFile);
    const QString page = pageFilePath(killsaver::kYear, killsaver::kPrefix, killsaver::kPeriod);
    killRepeatedly(QStringLiteral("core"), 160,
                   {{data, core(QStringLiteral("dados"), data)},
                    {registry, core(QStringLiteral("cadastro"), registry)},
                    {officials, core(QStringLiteral("prefs"), officials)},
                    {page, core(QStringLiteral("página"), page)}});
}

void TestKills::killedWhileSavingThroughTheWindows()
{
    const QByteArray sampleRegistry = fileBytes(registryPath(killsaver::kRegistry));
    const QByteArray sampleOfficials = fileBytes(dataFile(kOfficialsFile));
    const QStringList sampleLines = decodeLines(sampleRegistry);
    const QStringList officials = officialsFromLines(decodeLines(sampleOfficials));

    // The registry holds the sample's entries and the child's 1..k, sorted; or is the sample.
    const VersionCheck registry = [&](const QString &path) {
        const QByteArray bytes = fileBytes(path);
        if (bytes == sampleRegistry) {
            return 0;
        }
        const QStringList lines = decodeLines(bytes);
        int k = 0;
        while (lines.contains(killsaver::windowEntry(k + 1))) {
            ++k;
        }
        QStringList expected;
        for (const QString &line : sampleLines) {
            expected.append(terminatedRegistryLine(line));
        }
        for (int j = 1; j <= k; ++j) {
            expected.append(killsaver::windowEntry(j));
        }
        sortRegistry(expected);
        return k > 0 && bytes == encodeLines(expected) ? k : -1;
    };
    // The officials file names the mayor of some save k, the others as they were.
    const VersionCheck mayor = [&](const QString &path) {
        const QByteArray bytes = fileBytes(path);
        if (bytes == sampleOfficials) {
            return 0;
        }
        const QStringList lines = decodeLines(bytes);
        const int k = lines.value(0).section(u' ', 1).toInt();
        QStringList expected = officials;
        expected[0] = killsaver::mayorName(k);
        return k > 0 && bytes == encodeLines(officialsLines(expected)) ? k : -1;
    };
    killRepeatedly(QStringLiteral("window"), 60,
                   {{registryPath(killsaver::kRegistry), registry},
                    {dataFile(kOfficialsFile), mayor}});
}

QTEST_GUILESS_MAIN(TestKills)
#include "test_kills.moc"
