#include "Ucadastro.h"
#include "Uprincipal.h"
#include "fakeplatform.h"
#include "messages.h"
#include "profile.h"
#include "writepaths.h"

#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QListView>
#include <QMap>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <memory>

using namespace quelvara;

// Every write path of the program, failed at every step of its save in turn:
// each create, write, sync, close, rename and directory sync, with a full disk
// and with an I/O error, and every write cut short. After each fault the file
// is its old version byte for byte or the new one complete, a failure is said
// (and nothing else is), no temporary file is left, and the next save works.

namespace {

FakePlatform *fake = nullptr;

// Entries of the large tax registry, and so items of the large report.
constexpr int kLarge = 25000;

// What one path does, and where.
struct WritePath {
    QString name;
    QString file;               // the file its save replaces
    int size = 0;               // tax registry entries laid out (0: the sample's)
    bool mayCreate = true;      // also run with the file missing (a first save)
    std::function<bool()> save; // performs one save; tells whether a failure was reported
};

// Tells whether the message the window showed is the failure of a save of that file.
bool saidCannotCreate(const QString &path)
{
    return fake->messages.contains(msg::cannotCreateFile(path));
}

bool saveInMainWindow(void (*edit)(TPrincipal &), const QString &file)
{
    fake->messages.clear();
    TPrincipal window;
    window.show();
    edit(window);
    return saidCannotCreate(dataFile(file));
}

bool inRegistryDialog(void (*gesture)(TCadastro &), const QString &message)
{
    fake->messages.clear();
    TCadastro dialog;
    dialog.FileName = writepaths::kRegistry;
    dialog.show();
    QApplication::processEvents();
    gesture(dialog);
    return fake->messages.contains(message);
}

QList<WritePath> writePaths()
{
    using namespace writepaths;
    const QString registryFile = registryPath(kRegistry);
    QList<WritePath> paths = {
        {"municipality, main window", dataFile(kMunicipalityFile), 0, true,
         [] {
             return saveInMainWindow(
                 [](TPrincipal &w) {
                     w.edNome->setText(QStringLiteral("Prefeitura Municipal de São Tomé"));
                     w.edNomeExit();
                 },
                 kMunicipalityFile);
         }},
        {"officials, main window", dataFile(kOfficialsFile), 0, true,
         [] {
             return saveInMainWindow(
                 [](TPrincipal &w) {
                     w.Prefeito->setText(QStringLiteral("Joana Prefeita"));
                     w.PrefeitoExit();
                 },
                 kOfficialsFile);
         }},
        {"registry save, dialog", registryFile, 0, true,
         [] {
             return inRegistryDialog(
                 [](TCadastro &d) {
                     d.findChild<QComboBox *>("Edit1")->setEditText("9999.99.99");
                     d.findChild<QComboBox *>("Edit2")->setEditText("Taxa nova");
                     d.findChild<QPushButton *>("btSave")->click();
                 },
                 msg::cannotSaveRegistry());
         }},
        {"registry delete, dialog", registryFile, 0, false,
         [registryFile] {
             return inRegistryDialog(
                 [](TCadastro &d) {
                     auto *titles = d.findChild<QListView *>("lbTitulos");
                     titles->setCurrentIndex(titles->model()->index(0, 0));
                     d.findChild<QPushButton *>("btDel")->click();
                 },
                 msg::cannotAlterFile(registryFile));
         }},
    };
    paths += QList<WritePath>{
        {"registry, editor's save", registryFile, 0, true, editorExtendsRegistry},
        {"data file, save", dataPath(), 0, true, saveItem},
        {"data file, delete", dataPath(), 0, false, deleteItem},
        {"data file, recalculation", dataPath(), 0, true, recalculate},
        {"page", pagePath(), 0, true, writePage},
        // Large files: many writes, each one a step that may fail.
        {"registry, large", registryFile, kLarge, false, largeRegistry()},
        {"data file, large report", dataPath(), kLarge, true, largeDataFile()},
        {"page, large report", pagePath(), kLarge, true, largePage()},
    };
    return paths;
}

// Every file under a directory, by relative path.
QMap<QString, QByteArray> filesUnder(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(root).relativeFilePath(path), fileBytes(path));
    }
    return files;
}

// Fails the n-th step of the saves made while it lives (counting from 1), and counts the steps.
class Injector {
public:
    Injector(int failAt, StepOutcome outcome)
    {
        setFileStepHook([this, failAt, outcome](FileStep step, const QString &) {
            steps.append(step);
            return steps.size() == failAt ? outcome : StepOutcome{};
        });
    }
    ~Injector() { setFileStepHook({}); }
    QList<FileStep> steps;
};

int faultsInjected = 0;
int rowsRun = 0;
int rowsTotal = 0;

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void everyStepOfEverySave_data();
    void everyStepOfEverySave();

private:
    std::unique_ptr<FakePlatform> fake_;
    std::unique_ptr<ScratchDir> dir_;
};

void TestFaults::initTestCase()
{
    fake_ = std::make_unique<FakePlatform>();
    fake = fake_.get();
}

void TestFaults::cleanupTestCase()
{
    qInfo("%d faults injected in %d saves", faultsInjected, rowsRun);
    if (rowsRun == rowsTotal) { // not when only some rows were asked for
        QVERIFY(faultsInjected >= 300);
    }
    fake = nullptr;
}

void TestFaults::init() { dir_ = std::make_unique<ScratchDir>(); }

void TestFaults::cleanup() { dir_.reset(); }

void TestFaults::everyStepOfEverySave_data()
{
    QTest::addColumn<int>("path");
    QTest::addColumn<bool>("existing");
    const QList<WritePath> paths = writePaths();
    for (int i = 0; i < paths.size(); ++i) {
        QTest::addRow("%s, replacing", qPrintable(paths[i].name)) << i << true;
        ++rowsTotal;
        if (paths[i].mayCreate) {
            QTest::addRow("%s, first save", qPrintable(paths[i].name)) << i << false;
            ++rowsTotal;
        }
    }
}

void TestFaults::everyStepOfEverySave()
{
    QFETCH(int, path);
    QFETCH(bool, existing);
    // Paths are made in the scratch directory: they hold absolute file names.
    const WritePath writePath = writePaths().at(path);
    writepaths::layOutFolder(QStringLiteral(QUELVARA_SAMPLES_DIR), writePath.size);
    const QString target = writePath.file;
    const QByteArray old = fileBytes(target);
    if (!existing) {
        QFile::remove(target);
    }
    QCOMPARE(QFileInfo::exists(target), existing);
    const QMap<QString, QByteArray> before = filesUnder(dir_->path());

    const auto restore = [&] {
        if (existing) {
            putFile(target, old);
        } else {
            QFile::remove(target);
        }
    };

    // A clean save: its steps, and the new file.
    QList<FileStep> steps;
    {
        Injector counter(0, {});
        QVERIFY(!writePath.save());
        steps = counter.steps;
    }
    const QByteArray fresh = fileBytes(target);
    QVERIFY(fresh != old);
    QVERIFY(steps.contains(FileStep::SyncDirectory));
    // A large file fails in its first, a middle and its last piece.
    QVERIFY(writePath.size < kLarge || steps.count(FileStep::Write) >= 3);

    const int faultsBefore = faultsInjected;
    for (int n = 1; n <= steps.size(); ++n) {
        QList<StepOutcome> outcomes = {{ENOSPC, false}, {EIO, false}};
        if (steps[n - 1] == FileStep::Write) {
            outcomes.append({0, true});
        }
        for (const StepOutcome &outcome : outcomes) {
            restore();
            const QString where = QStringLiteral("step %1 of %2 (%3), error %4, short %5")
                                      .arg(n)
                                      .arg(steps.size())
                                      .arg(int(steps[n - 1]))
                                      .arg(outcome.error)
                                      .arg(outcome.shortWrite);
            bool reported = false;
            {
                Injector injector(n, outcome);
                reported = writePath.save();
            }
            ++faultsInjected;
            const QByteArray now = fileBytes(target);
            const bool renamed = steps[n - 1] == FileStep::SyncDirectory;
            if (outcome.error != 0) {
                // A failed step is said; the file is the old one until the rename.
                QVERIFY2(reported, qPrintable(where));
                QVERIFY2(now == (renamed ? fresh : (existing ? old : "<unreadable>")),
                         qPrintable(where));
            } else {
                // A short write is no failure: the rest goes down after it.
                QVERIFY2(!reported, qPrintable(where));
                QVERIFY2(now == fresh, qPrintable(where));
            }
            // Nothing else changed, no temporary file left.
            QMap<QString, QByteArray> after = filesUnder(dir_->path());
            after.remove(QDir(dir_->path()).relativeFilePath(target));
            QMap<QString, QByteArray> expected = before;
            expected.remove(QDir(dir_->path()).relativeFilePath(target));
            QVERIFY2(after == expected,
                     qPrintable(where + ": " + QStringList(after.keys()).join(u' ')));
            // The program goes on: the next save works.
            restore();
            QVERIFY2(!writePath.save(), qPrintable(where));
            QVERIFY2(fileBytes(target) == fresh, qPrintable(where));
        }
    }
    qInfo("%d steps, %d faults", int(steps.size()), faultsInjected - faultsBefore);
    ++rowsRun;
}

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
