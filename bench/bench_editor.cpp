// The report editor's operations at scale, on generated data folders of 1,000,
// 10,000 and 100,000 items (monthly taxes of 2005, March shown): each driven
// through the report session alone and through the real editor window on the
// offscreen platform, each beside a floor that does the same file work with
// nothing else: reading, splitting, sorting and atomically writing the same
// bytes. At the end a table gives every figure as a ratio to its floor.
//
// Peak memory and start-up are measured in child processes (this program run
// again with --child=...), from the CPU time and peak resident size the
// kernel reports for them.
#include "Uprincipal.h"
#include "Utribarrec.h"
#include "application.h"
#include "codec.h"
#include "commands.h"
#include "entrybox.h"
#include "platform.h"
#include "registry.h"
#include "reportpaths.h"
#include "reportsession.h"
#include "sampledata.h"
#include "textfile.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <type_traits>
#include <typeinfo>
#include <unistd.h>
#include <utility>
#include <vector>

extern char **environ;

using namespace quelvara;

namespace {

const QString kMarch = QStringLiteral("Março");
constexpr int kMarchIndex = 2;
constexpr int kJuneIndex = 5;

// ---------------------------------------------------------------------------
// Data folders

// The generated folder of n items, made once per run and copied for each use.
QString pristineFolder(int n)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    auto &folder = folders[n];
    if (!folder) {
        folder = std::make_unique<QTemporaryDir>();
        sample::writeDataFolder(folder->path(), n);
    }
    return folder->path();
}

void copyFolder(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
    }
}

// A working copy of the folder of n items, made the current directory.
class WorkFolder {
public:
    explicit WorkFolder(int n)
    {
        copyFolder(pristineFolder(n), dir_.path());
        QDir::setCurrent(dir_.path());
    }
    ~WorkFolder() { QDir::setCurrent(QDir::tempPath()); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

QString taxPath(int period)
{
    return dataFilePath(sample::kYear, QStringLiteral("trib-arrec-"), QString::number(period));
}

QString taxPage(int period)
{
    return pageFilePath(sample::kYear, QStringLiteral("trib-arrec-"), QString::number(period));
}

// What opening a period writes beside its data: the page, its open data
// (CSV and JSON) and the indexes of the year and of the years.
QStringList publishedFiles(int period)
{
    const QString number = QString::number(period);
    const QString prefix = QStringLiteral("trib-arrec-");
    return {taxPage(period), besidePagePath(sample::kYear, prefix, number, QStringLiteral(".csv")),
            besidePagePath(sample::kYear, prefix, number, QStringLiteral(".json")),
            yearIndexPath(sample::kYear), rootIndexPath()};
}

// ---------------------------------------------------------------------------
// The floor: plain file work, written here without the program's code.

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Windows-1252 in and out: Latin-1 but for 0x80 to 0x9F.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decode(const QByteArray &bytes)
{
    QString text = QString::fromLatin1(bytes);
    for (QChar &c : text) {
        if (c.unicode() >= 0x80 && c.unicode() <= 0x9F) {
            c = QChar(kHigh[c.unicode() - 0x80]);
        }
    }
    return text;
}

void appendEncoded(QByteArray &bytes, const QString &text)
{
    const qsizetype start = bytes.size();
    bytes.resize(start + text.size());
    char *out = bytes.data() + start;
    for (const QChar c : text) {
        char16_t u = c.unicode();
        if (u >= 0x100) {
            for (int k = 0; k < 32; ++k) {
                if (kHigh[k] == u) {
                    u = char16_t(0x80 + k);
                }
            }
        }
        *out++ = char(u);
    }
}

// Tells `line` of each line of a text, as a view of it without its line end.
template <class Line>
void forEachLine(const QString &text, Line line)
{
    qsizetype start = 0;
    for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', start)) {
        const qsizetype end = i > start && text[i - 1] == u'\r' ? i - 1 : i;
        line(QStringView(text).sliced(start, end - start));
        start = i + 1;
    }
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    forEachLine(text, [&lines](QStringView line) { lines.append(line.toString()); });
    return lines;
}

// The lines of a text as views of it, for a file that is only looked up in.
QList<QStringView> splitViews(const QString &text)
{
    QList<QStringView> lines;
    forEachLine(text, [&lines](QStringView line) { lines.append(line); });
    return lines;
}

void sortByCode(QStringList &lines)
{
    std::stable_sort(lines.begin(), lines.end(), [](const QString &a, const QString &b) {
        return QStringView(a).left(a.indexOf(u'\t')) < QStringView(b).left(b.indexOf(u'\t'));
    });
}

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        appendEncoded(bytes, line);
        bytes += "\r\n";
    }
    return bytes;
}

// Replaces a file as durably as the program does: the data synced before the
// rename, the directory after it.
void atomicWrite(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        ::fsync(file.handle()) != 0 || !file.commit()) {
        qFatal("floor: cannot write %s", qPrintable(path));
    }
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

QStringList readSplitSort(const QString &path)
{
    QStringList lines = splitLines(decode(readBytes(path)));
    sortByCode(lines);
    return lines;
}

// ---------------------------------------------------------------------------
// One fixture at a time: a benchmark's state is built on its first run for an
// N and kept while the same benchmark and N run again.

struct Fixture {
    virtual ~Fixture() = default;
};

// The fixture of the benchmarks running, kept from one size to the next of
// the same kind; dropped before the application goes, for its windows.
std::unique_ptr<Fixture> currentFixture;
std::string currentFixtureKey; // its type and size

// A new fixture's folder, a hundred megabytes and more at 100k, is written
// back to the disk before its benchmark starts, so that none of that writing
// back is counted in the benchmark's iterations.
void writeBackFixture() { ::sync(); }

template <class F>
F &fixture(int n)
{
    const std::string wanted = std::string(typeid(F).name()) + '/' + std::to_string(n);
    if (currentFixtureKey != wanted || !currentFixture) {
        currentFixture.reset();
        currentFixture = std::make_unique<F>(n);
        currentFixtureKey = wanted;
        writeBackFixture();
    }
    return static_cast<F &>(*currentFixture);
}

// Answers every question with Yes and counts the messages.
class BenchPlatform final : public Platform {
public:
    BenchPlatform() { setPlatform(this); }
    ~BenchPlatform() override { setPlatform(nullptr); }
    void showMessage(QWidget *, const QString &) override { ++messages; }
    void showError(QWidget *, const QString &) override { ++messages; }
    bool askYesNo(QWidget *, const QString &, const QString &) override { return true; }
    bool openAddress(const QString &) override { return true; }
    // The editor opens on today's year: today falls in the year of the
    // generated data, or every editor benchmark would open an empty year.
    QDate currentDate() const override { return {sample::kYear.toInt(), 6, 30}; }
    int messages = 0;
};

// Runs what the event loop has pending: deferred layouts, paints.
void settle()
{
    for (int i = 0; i < 50; ++i) {
        QCoreApplication::sendPostedEvents();
        if (!QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents)) {
            break;
        }
    }
}

void reportN(benchmark::State &state, int n) { state.SetComplexityN(n); }

// On the virtual machines we measure on, memory left alone for a few seconds
// costs the kernel dearly to take again: writing a 27 MB page took 160 to
// 300 ms of system time the first two times and 6 ms from the third on (the
// same with a plain C program). The first iterations of a benchmark whose
// fixture had been idle paid for it, at 100k several times what the work
// costs, and at 100k a repetition is one iteration. So every benchmark first
// runs its work twice untimed.
constexpr int kWarmUpRounds = 2;

struct Untimed {
    void operator()() const {}
};

// Runs `operation` in every iteration, `before` and `after` it untimed, once
// the three have run kWarmUpRounds times unmeasured.
template <class Operation, class Before = Untimed, class After = Untimed>
void measure(benchmark::State &state, Operation operation, Before before = {}, After after = {})
{
    for (int round = 0; round < kWarmUpRounds; ++round) {
        before();
        operation();
        after();
    }
    for (auto _ : state) {
        if constexpr (!std::is_same_v<Before, Untimed>) {
            state.PauseTiming();
            before();
            state.ResumeTiming();
        }
        operation();
        if constexpr (!std::is_same_v<After, Untimed>) {
            state.PauseTiming();
            after();
            state.ResumeTiming();
        }
    }
}

// ---------------------------------------------------------------------------
// The session

struct SessionFixture : Fixture {
    explicit SessionFixture(int n)
        : folder(n)
        , items(n)
    {
        session.setMunicipality(QStringLiteral("Prefeitura Municipal de Vila Serena"),
                                QStringLiteral("MG"));
        session.readOfficials();
        session.chooseKind(0, reportKind(ReportCategory::Mensais, 0)->title);
        session.setYear(sample::kYear);
        openPeriod(kMarchIndex);
        row = n / 2;
        const FieldTexts shown = session.item(row).first;
        for (int k = 0; k < 2; ++k) {
            SessionResult ignored;
            edited[k] = shown;
            edited[k][3] =
                session.leaveField(3, k == 0 ? QStringLiteral("1234,5") : QStringLiteral("2345,6"));
            edited[k][4] = session.enterField(4, edited[k], ignored).value_or(QString());
        }
    }
    void openPeriod(int index)
    {
        session.setPeriod(index, categoryInfo(ReportCategory::Mensais).periods.at(index));
        session.load();
    }

    WorkFolder folder;
    int items;
    ReportSession session{ReportCategory::Mensais};
    int row = 0;
    FieldTexts edited[2];
};

void BM_SessionSave(benchmark::State &state)
{
    auto &f = fixture<SessionFixture>(int(state.range(0)));
    int k = 0;
    measure(state, [&] {
        benchmark::DoNotOptimize(f.session.saveItem(f.edited[k], false));
        k = 1 - k;
    });
    reportN(state, f.items);
}

void BM_SessionDelete(benchmark::State &state)
{
    auto &f = fixture<SessionFixture>(int(state.range(0)));
    const auto [texts, excluded] = f.session.item(f.row);
    measure(
        state, [&f] { benchmark::DoNotOptimize(f.session.deleteItem(f.row, true)); }, Untimed(),
        [&] { f.session.saveItem(texts, excluded); });
    reportN(state, f.items);
}

// Opens June and March in turn, neither the other's previous period: every
// opening reads its own file and the one before it.
template <class F>
void openInTurn(F &f, int &turn)
{
    f.openPeriod(turn == 0 ? kJuneIndex : kMarchIndex);
    turn = 1 - turn;
}

void BM_SessionOpenPeriod(benchmark::State &state)
{
    auto &f = fixture<SessionFixture>(int(state.range(0)));
    int turn = 0;
    measure(state, [&] { openInTurn(f, turn); });
    reportN(state, f.items);
}

void BM_SessionRecalculate(benchmark::State &state)
{
    auto &f = fixture<SessionFixture>(int(state.range(0)));
    f.session.setPeriod(11, QStringLiteral("Dezembro"));
    measure(state, [&f] { benchmark::DoNotOptimize(f.session.recalculateYear()); });
    reportN(state, f.items);
}

// Changes January's amount of one item, to one figure and back in turn:
// every month's accumulated value of that item moves, so a recalculation
// writes every data file again.
class JanuaryChange {
public:
    JanuaryChange()
        : january_(splitLines(decode(readBytes(taxPath(1)))))
        , fields_(january_.first().split(u'\t'))
    {
    }
    void next()
    {
        fields_[2] = round_++ % 2 == 0 ? QStringLiteral("1.234,56") : QStringLiteral("6.543,21");
        january_.first() = fields_.join(u'\t');
        atomicWrite(taxPath(1), encodeLines(january_));
    }

private:
    QStringList january_;
    QStringList fields_;
    int round_ = 0;
};

// "Atualizar Valores" after January's amount of one item changed (in the
// benchmark above every data file holds its values already).
void BM_SessionRecalculateChanged(benchmark::State &state)
{
    auto &f = fixture<SessionFixture>(int(state.range(0)));
    f.session.setPeriod(11, QStringLiteral("Dezembro"));
    JanuaryChange change;
    measure(
        state, [&f] { benchmark::DoNotOptimize(f.session.recalculateYear()); },
        [&change] { change.next(); });
    reportN(state, f.items);
}

// ---------------------------------------------------------------------------
// quelvara-cli

// A folder whose year holds the taxes' twelve months alone: what publicar
// refreshes there is what the floor of "Atualizar Valores" writes.
struct CliFixture : Fixture {
    explicit CliFixture(int n)
        : folder(n)
        , items(n)
    {
        QDirIterator it(QDir(folder.path()).filePath(dataYearDir(sample::kYear)), QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!it.fileName().startsWith(QStringLiteral("trib-arrec-"))) {
                QFile::remove(path);
            }
        }
    }

    WorkFolder folder;
    int items;
};

// Runs "publicar" on the fixture's folder, its output thrown away.
class Publisher {
public:
    explicit Publisher(const CliFixture &f)
        : request_(cli::readRequest({cli::kProgram, QStringLiteral("--pasta"), f.folder.path(),
                                     QStringLiteral("publicar"), sample::kYear}))
        , nowhere_(std::fopen("/dev/null", "w"))
    {
    }
    ~Publisher() { std::fclose(nowhere_); }
    Publisher(const Publisher &) = delete;
    Publisher &operator=(const Publisher &) = delete;

    // Tells whether the command succeeded.
    bool run()
    {
        cli::Console console(nowhere_, nowhere_);
        return cli::run(request_, console) == cli::kExitOk;
    }

private:
    cli::Request request_;
    std::FILE *nowhere_;
};

void BM_CliPublish(benchmark::State &state)
{
    auto &f = fixture<CliFixture>(int(state.range(0)));
    Publisher publisher(f);
    bool failed = false;
    measure(state, [&] { failed = !publisher.run() || failed; });
    if (failed) {
        state.SkipWithError("publicar failed");
    }
    reportN(state, f.items);
}

// ---------------------------------------------------------------------------
// The editor window

struct EditorFixture : Fixture {
    explicit EditorFixture(int n)
        : folder(n)
        , items(n)
    {
        editor = std::make_unique<TTribArrec>();
        editor->NomePrefeitura = QStringLiteral("Prefeitura Municipal de Vila Serena");
        editor->UF = QStringLiteral("MG");
        editor->SubTitle->setCurrentIndex(0);
        editor->show();
        settle();
        openPeriod(kMarchIndex);
        row = n / 2;
    }
    ~EditorFixture() override
    {
        editor.reset();
        settle();
    }
    // Runs one of the window's handlers as a user action, and the events that follow it.
    void act(void (TTribArrec::*handler)())
    {
        editor->runAction([this, handler] { (editor.get()->*handler)(); });
        settle();
    }
    void openPeriod(int index)
    {
        editor->cbPeriodo->setCurrentIndex(index);
        act(&TTribArrec::cbPeriodoChange);
    }
    // "Atualizar Valores".
    void recalculate() { act(&TTribArrec::RecalculateYear); }
    void select(int r)
    {
        editor->lbTitulos->setCurrentRow(r);
        act(&TTribArrec::lbTitulosClick);
    }
    void setText(int field, const QString &text) { editor->Edit[field]->setEditText(text); }

    BenchPlatform platform;
    WorkFolder folder;
    int items;
    std::unique_ptr<TTribArrec> editor;
    int row = 0;
};

void BM_EditorSave(benchmark::State &state)
{
    auto &f = fixture<EditorFixture>(int(state.range(0)));
    int k = 0;
    measure(
        state, [&f] { f.act(&TTribArrec::btAddClick); },
        [&] {
            f.select(f.row);
            f.setText(3, k == 0 ? QStringLiteral("1.234,50") : QStringLiteral("2.345,60"));
            k = 1 - k;
        });
    reportN(state, f.items);
}

void BM_EditorDelete(benchmark::State &state)
{
    auto &f = fixture<EditorFixture>(int(state.range(0)));
    QStringList texts;
    measure(
        state, [&f] { f.act(&TTribArrec::btDelClick); },
        [&] {
            f.select(f.row);
            texts.clear();
            for (int i = 1; i <= 4; ++i) {
                texts.append(f.editor->Edit[i]->currentText());
            }
        },
        [&] {
            for (int i = 1; i <= 4; ++i) {
                f.setText(i, texts[i - 1]);
            }
            f.act(&TTribArrec::btAddClick);
        });
    reportN(state, f.items);
}

void BM_EditorOpenPeriod(benchmark::State &state)
{
    auto &f = fixture<EditorFixture>(int(state.range(0)));
    int turn = 0;
    measure(state, [&] { openInTurn(f, turn); });
    reportN(state, f.items);
}

void BM_EditorRecalculate(benchmark::State &state)
{
    auto &f = fixture<EditorFixture>(int(state.range(0)));
    f.openPeriod(11);
    measure(state, [&f] { f.recalculate(); });
    reportN(state, f.items);
}

// One character typed into the code field and taken out again: each runs the
// completion against the registry.
void BM_EditorKeystroke(benchmark::State &state)
{
    auto &f = fixture<EditorFixture>(int(state.range(0)));
    f.editor->runAction([&f] { f.editor->btNovoClick(); });
    QLineEdit *line = f.editor->Edit[1]->lineEdit();
    line->setText(sample::taxCode(f.items / 3).chopped(1));
    line->setFocus();
    measure(state, [line] {
        for (const auto &[key, text] :
             {std::pair{Qt::Key_7, QStringLiteral("7")}, std::pair{Qt::Key_Backspace, QString()}}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QCoreApplication::sendEvent(line, &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
            QCoreApplication::sendEvent(line, &release);
        }
        settle();
    });
    reportN(state, f.items);
}

// Entering the accumulated field of a shown item computes it from the
// previous month.
void BM_EditorEnterAccumulated(benchmark::State &state)
{
    auto &f = fixture<EditorFixture>(int(state.range(0)));
    f.select(f.row);
    measure(state, [&f] { f.editor->runAction([&f] { f.editor->EditEnter(4); }); });
    reportN(state, f.items);
}

// ---------------------------------------------------------------------------
// Floors

struct FloorFixture : Fixture {
    explicit FloorFixture(int n)
        : folder(n)
        , items(n)
    {
        // The session writes the pages whose bytes the floor writes again.
        ReportSession session(ReportCategory::Mensais);
        session.readOfficials();
        session.setMunicipality(QStringLiteral("Prefeitura Municipal de Vila Serena"),
                                QStringLiteral("MG"));
        session.chooseKind(0, reportKind(ReportCategory::Mensais, 0)->title);
        session.setYear(sample::kYear);
        for (int p = 1; p <= 12; ++p) {
            session.setPeriod(p - 1, categoryInfo(ReportCategory::Mensais).periods.at(p - 1));
            session.load();
            QList<QByteArray> files;
            for (const QString &path : publishedFiles(p)) {
                files.append(readBytes(path));
            }
            published.append(files);
        }
        dataLines = readSplitSort(taxPath(3));
        registryLines = splitLines(decode(readBytes(registryPath(QStringLiteral("tributos.vqd")))));
    }

    WorkFolder folder;
    int items;
    QList<QList<QByteArray>> published; // months 1 to 12: what publishedFiles names
    void publish(int period) const
    {
        const QStringList paths = publishedFiles(period);
        for (qsizetype i = 0; i < paths.size(); ++i) {
            atomicWrite(paths[i], published[period - 1][i]);
        }
    }
    QStringList dataLines;
    QStringList registryLines;
};

// What a save or a deletion must write: the data file and the registry.
void BM_FloorSave(benchmark::State &state)
{
    auto &f = fixture<FloorFixture>(int(state.range(0)));
    measure(state, [&f] {
        atomicWrite(taxPath(3), encodeLines(f.dataLines));
        atomicWrite(registryPath(QStringLiteral("tributos.vqd")), encodeLines(f.registryLines));
    });
    reportN(state, f.items);
}

// Opening a period as earlier tables measured its floor: read, split and
// sort its file, write its page, open data and indexes.
void floorOpenPeriodOwnFile(const FloorFixture &f)
{
    const QStringList lines = readSplitSort(taxPath(3));
    benchmark::DoNotOptimize(lines.size());
    f.publish(3);
}

// Opening a period: the same, after reading the month before (whose
// accumulated values the opening adds to) and finding its lines.
void floorOpenPeriod(const FloorFixture &f)
{
    const QString before = decode(readBytes(taxPath(2)));
    const QList<QStringView> previous = splitViews(before);
    benchmark::DoNotOptimize(previous.size());
    floorOpenPeriodOwnFile(f);
}

void BM_FloorOpenPeriod(benchmark::State &state)
{
    auto &f = fixture<FloorFixture>(int(state.range(0)));
    measure(state, [&f] { floorOpenPeriod(f); });
    reportN(state, f.items);
}

// Kept so that the ratios of earlier tables can still be compared.
void BM_FloorOpenPeriodOwnFile(benchmark::State &state)
{
    auto &f = fixture<FloorFixture>(int(state.range(0)));
    measure(state, [&f] { floorOpenPeriodOwnFile(f); });
    reportN(state, f.items);
}

// Twelve months: each read, split and sorted, its file, page, open data and
// indexes written.
void floorRecalculate(const FloorFixture &f)
{
    for (int p = 1; p <= 12; ++p) {
        const QStringList lines = readSplitSort(taxPath(p));
        atomicWrite(taxPath(p), encodeLines(lines));
        f.publish(p);
    }
}

void BM_FloorRecalculate(benchmark::State &state)
{
    auto &f = fixture<FloorFixture>(int(state.range(0)));
    measure(state, [&f] { floorRecalculate(f); });
    reportN(state, f.items);
}

// ---------------------------------------------------------------------------
// An operation and its floor in turn
//
// Each ratio above divides two figures measured minutes apart, and the
// machine's speed drifts by a third between runs. Here every iteration runs
// the floor and then the operation, so that a slower moment slows both.

// The floor of the paired benchmarks, beside the fixture of the operation.
FloorFixture &pairedFloor(int n)
{
    static std::unique_ptr<FloorFixture> floor;
    if (!floor || floor->items != n) {
        floor.reset();
        floor = std::make_unique<FloorFixture>(n);
        writeBackFixture();
    }
    return *floor;
}

// The process's CPU time so far, as the scaled benchmarks measure it.
double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The counters of a paired benchmark: the floor's time and the ratio of the two sums.
void reportPaired(benchmark::State &state, double floorSeconds, double operationSeconds)
{
    state.counters["floor_s"] =
        benchmark::Counter(floorSeconds, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = floorSeconds > 0 ? operationSeconds / floorSeconds : 0;
}

// Runs the floor, in its folder, and the operation, in the operation's
// folder (after its untimed preparation), in every iteration. The
// benchmark's time is the operation's CPU time; the counters are the
// floor's and the ratio of the two sums. Both first run kWarmUpRounds times
// unmeasured.
template <class Floor, class Operation, class Prepare = void (*)()>
void runPaired(
    benchmark::State &state, const QString &folder, Floor floor, Operation operation,
    Prepare prepare = [] {})
{
    FloorFixture &base = pairedFloor(int(state.range(0)));
    // One turn of both; returns the floor's time and the operation's.
    const auto turn = [&] {
        QDir::setCurrent(base.folder.path());
        const double start = processSeconds();
        floor(base);
        const double between = processSeconds();
        QDir::setCurrent(folder);
        prepare();
        const double resumed = processSeconds();
        operation();
        return std::pair{between - start, processSeconds() - resumed};
    };
    for (int round = 0; round < kWarmUpRounds; ++round) {
        turn();
    }
    double floorSeconds = 0;
    double operationSeconds = 0;
    for (auto _ : state) {
        const auto [floorTime, operationTime] = turn();
        floorSeconds += floorTime;
        operationSeconds += operationTime;
        state.SetIterationTime(operationTime);
    }
    // The operation's fixture goes on serving the benchmarks after this one.
    QDir::setCurrent(folder);
    reportPaired(state, floorSeconds, operationSeconds);
}

// Opening a period, in the session or the window, in turn with its floor.
template <class F>
void pairedOpenPeriod(benchmark::State &state)
{
    auto &f = fixture<F>(int(state.range(0)));
    int turn = 0;
    runPaired(state, f.folder.path(), floorOpenPeriod, [&] { openInTurn(f, turn); });
}

void BM_PairedOpenPeriod(benchmark::State &state) { pairedOpenPeriod<SessionFixture>(state); }

void BM_PairedEditorOpenPeriod(benchmark::State &state) { pairedOpenPeriod<EditorFixture>(state); }

void BM_PairedEditorRecalculate(benchmark::State &state)
{
    auto &f = fixture<EditorFixture>(int(state.range(0)));
    f.openPeriod(11);
    runPaired(state, f.folder.path(), floorRecalculate, [&f] { f.recalculate(); });
}

void BM_PairedRecalculate(benchmark::State &state)
{
    auto &f = fixture<SessionFixture>(int(state.range(0)));
    f.session.setPeriod(11, QStringLiteral("Dezembro"));
    runPaired(state, f.folder.path(), floorRecalculate,
              [&] { benchmark::DoNotOptimize(f.session.recalculateYear()); });
}

void BM_PairedRecalculateChanged(benchmark::State &state)
{
    auto &f = fixture<SessionFixture>(int(state.range(0)));
    f.session.setPeriod(11, QStringLiteral("Dezembro"));
    JanuaryChange change;
    runPaired(
        state, f.folder.path(), floorRecalculate,
        [&] { benchmark::DoNotOptimize(f.session.recalculateYear()); }, [&] { change.next(); });
}

void BM_PairedCliPublish(benchmark::State &state)
{
    auto &f = fixture<CliFixture>(int(state.range(0)));
    Publisher publisher(f);
    runPaired(state, f.folder.path(), floorRecalculate, [&] {
        if (!publisher.run()) {
            state.SkipWithError("publicar failed");
        }
    });
}

// ---------------------------------------------------------------------------
// Child processes: peak memory and start-up

struct ChildUsage {
    double cpuSeconds = 0;
    double peakMegabytes = 0;
};

// A child inherits the parent's peak resident size in what the kernel
// reports for it: it tells its own peak instead, through a file.
ChildUsage runChild(const QStringList &arguments)
{
    QTemporaryDir reportDir;
    const QString report = reportDir.filePath(QStringLiteral("peak"));
    std::vector<std::string> args = {QCoreApplication::applicationFilePath().toStdString()};
    for (const QString &a : arguments) {
        args.push_back(a.toStdString());
    }
    args.push_back("--report=" + report.toStdString());
    std::vector<char *> argv;
    for (std::string &a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        qFatal("cannot start %s", argv[0]);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        qFatal("child %s failed", qPrintable(arguments.join(u' ')));
    }
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    const QList<QByteArray> told = readBytes(report).trimmed().split(' ');
    // A child that painted a window tells when; what it spends on its way
    // out is no part of starting up.
    return {told.size() > 1 ? told[1].toDouble()
                            : seconds(usage.ru_utime) + seconds(usage.ru_stime),
            told[0].toDouble() / 1024.0};
}

// This process's CPU time once its window had been painted, if it painted one.
double paintedSeconds = -1;

// Writes the peak resident size of this process, in kB, to a file, and the
// time its window was painted at.
void reportChild(const QString &path)
{
    for (const QByteArray &line : readBytes(QStringLiteral("/proc/self/status")).split('\n')) {
        if (line.startsWith("VmHWM:")) {
            QFile out(path);
            if (out.open(QIODevice::WriteOnly)) {
                out.write(line.mid(6).trimmed().split(' ').first());
                if (paintedSeconds >= 0) {
                    out.write(' ' + QByteArray::number(paintedSeconds, 'g', 9));
                }
            }
        }
    }
}

void measureChild(benchmark::State &state, const QStringList &arguments)
{
    double peak = 0;
    for (auto _ : state) {
        const ChildUsage usage = runChild(arguments);
        state.SetIterationTime(usage.cpuSeconds);
        peak = std::max(peak, usage.peakMegabytes);
    }
    state.counters["peak_MB"] = peak;
}

// First show of the editor, then March opened.
void BM_EditorMemory(benchmark::State &state)
{
    const int n = int(state.range(0));
    measureChild(state, {QStringLiteral("--child=editor-memory"), pristineFolder(n)});
    reportN(state, n);
}

// What opening March writes, as the editor writes it, kept for the floor to
// copy: one file per path of publishedFiles, in a folder of its own.
QString marchPublished(int n)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> copies;
    auto &dir = copies[n];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        SessionFixture session(n);
        const QStringList paths = publishedFiles(3);
        for (qsizetype i = 0; i < paths.size(); ++i) {
            QFile::copy(paths[i], dir->filePath(QString::number(i)));
        }
    }
    return dir->path();
}

// The same data read, split and sorted, and the page written, beside a
// minimal window.
void BM_FloorMemory(benchmark::State &state)
{
    const int n = int(state.range(0));
    measureChild(state,
                 {QStringLiteral("--child=floor-memory"), pristineFolder(n), marchPublished(n)});
    reportN(state, n);
}

// The child that starts the program, and the one that shows the floor's window.
QStringList startupChild() { return {QStringLiteral("--child=startup"), pristineFolder(1000)}; }

QStringList floorStartupChild()
{
    return {QStringLiteral("--child=minimal-window"), pristineFolder(1000)};
}

void BM_Startup(benchmark::State &state) { measureChild(state, startupChild()); }

void BM_FloorStartup(benchmark::State &state) { measureChild(state, floorStartupChild()); }

// Start-up and its floor in turn, each in a process of its own, as the paired
// benchmarks above: two start-ups measured seconds apart vary by a third.
void BM_PairedStartup(benchmark::State &state)
{
    double floorSeconds = 0;
    double operationSeconds = 0;
    for (auto _ : state) {
        floorSeconds += runChild(floorStartupChild()).cpuSeconds;
        const double seconds = runChild(startupChild()).cpuSeconds;
        operationSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    reportPaired(state, floorSeconds, operationSeconds);
}

// Notes the time and quits once the window has been painted.
void quitWhenPainted(QWidget *window)
{
    struct PaintWatch : QObject {
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint) {
                // Once the whole window has been painted and shown.
                QTimer::singleShot(0, qApp, [] {
                    paintedSeconds = processSeconds();
                    QCoreApplication::quit();
                });
            }
            return false;
        }
    };
    window->installEventFilter(new PaintWatch);
}

int childMain(int argc, char **argv, const QString &what, const QString &folder,
              const QString &copies)
{
    if (!folder.isEmpty()) {
        QDir::setCurrent(folder);
    }
    if (what == QStringLiteral("startup")) {
        // What main() does, up to the painted main window.
        Application app(argc, argv);
        auto window = std::make_unique<TPrincipal>();
        quitWhenPainted(window.get());
        window->show();
        return QApplication::exec();
    }
    QApplication app(argc, argv);
    if (what == QStringLiteral("minimal-window")) {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(new QLabel(QStringLiteral("Prefeitura Municipal de Vila Serena")));
        quitWhenPainted(&window);
        window.show();
        return QApplication::exec();
    }
    // Memory: the editor writes, so it works on a copy.
    QTemporaryDir work;
    copyFolder(folder, work.path());
    QDir::setCurrent(work.path());
    if (what == QStringLiteral("editor-memory")) {
        BenchPlatform platform;
        TTribArrec editor;
        editor.SubTitle->setCurrentIndex(0);
        editor.show();
        settle();
        editor.cbPeriodo->setCurrentIndex(kMarchIndex);
        editor.runAction([&editor] { editor.cbPeriodoChange(); });
        settle();
        return 0;
    }
    if (what == QStringLiteral("floor-memory")) {
        QWidget window;
        window.show();
        settle();
        // Kept: the registry and the period; read and dropped: the period before.
        const QStringList registry =
            splitLines(decode(readBytes(registryPath(QStringLiteral("tributos.vqd")))));
        const QStringList lines = readSplitSort(taxPath(3));
        benchmark::DoNotOptimize(readSplitSort(taxPath(2)).size());
        // What the editor writes, streamed from copies of it.
        makeDir(pageYearDir(sample::kYear));
        const QStringList paths = publishedFiles(3);
        for (qsizetype i = 0; i < paths.size(); ++i) {
            QFile from(QDir(copies).filePath(QString::number(i)));
            QSaveFile out(paths[i]);
            if (!from.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
                return 1;
            }
            while (!from.atEnd()) {
                out.write(from.read(1 << 16));
            }
            if (!out.flush() || ::fsync(out.handle()) != 0 || !out.commit()) {
                return 1;
            }
        }
        benchmark::DoNotOptimize(registry.size() + lines.size());
        return 0;
    }
    return 2;
}

// ---------------------------------------------------------------------------
// Ratios

struct Row {
    const char *benchmark;
    const char *floor;
    const char *operation;
    bool memory;         // compare the peak_MB counters instead of the times
    bool paired = false; // the floor and the ratio from the benchmark's own counters
};

const Row kRows[] = {
    {"BM_SessionSave", "BM_FloorSave", "Save one item (session)", false},
    {"BM_EditorSave", "BM_FloorSave", "Save one item (editor)", false},
    {"BM_SessionDelete", "BM_FloorSave", "Delete one item, registry too (session)", false},
    {"BM_EditorDelete", "BM_FloorSave", "Delete one item, registry too (editor)", false},
    {"BM_SessionOpenPeriod", "BM_FloorOpenPeriod", "Open a period (session)", false},
    {"BM_EditorOpenPeriod", "BM_FloorOpenPeriod", "Open a period (editor)", false},
    {"BM_SessionOpenPeriod", "BM_FloorOpenPeriodOwnFile",
     "Open a period (session), floor without the month before", false},
    {"BM_EditorOpenPeriod", "BM_FloorOpenPeriodOwnFile",
     "Open a period (editor), floor without the month before", false},
    {"BM_SessionRecalculate", "BM_FloorRecalculate", "Atualizar Valores, 12 months (session)",
     false},
    {"BM_SessionRecalculateChanged", "BM_FloorRecalculate",
     "Atualizar Valores, January changed (session)", false},
    {"BM_EditorRecalculate", "BM_FloorRecalculate", "Atualizar Valores, 12 months (editor)", false},
    {"BM_CliPublish", "BM_FloorRecalculate", "quelvara-cli publicar, 12 months", false},
    {"BM_PairedOpenPeriod", nullptr, "Open a period (session), paired", false, true},
    {"BM_PairedEditorOpenPeriod", nullptr, "Open a period (editor), paired", false, true},
    {"BM_PairedRecalculate", nullptr, "Atualizar Valores, 12 months (session), paired", false,
     true},
    {"BM_PairedEditorRecalculate", nullptr, "Atualizar Valores, 12 months (editor), paired", false,
     true},
    {"BM_PairedRecalculateChanged", nullptr, "Atualizar Valores, January changed (session), paired",
     false, true},
    {"BM_PairedCliPublish", nullptr, "quelvara-cli publicar, 12 months, paired", false, true},
    {"BM_EditorKeystroke", nullptr, "Type and erase a character in field 1", false},
    {"BM_EditorEnterAccumulated", nullptr, "Enter the accumulated field", false},
    {"BM_EditorMemory", "BM_FloorMemory", "Peak memory, first show + open a period", true},
    {"BM_Startup", "BM_FloorStartup", "Start-up to the painted main window (CPU)", false},
    {"BM_Startup", "BM_FloorStartup", "Start-up to the painted main window (memory)", true},
    {"BM_PairedStartup", nullptr, "Start-up to the painted main window (CPU), paired", false, true},
};

// Prints every run as the console does, then the table of ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred || run.report_big_o || run.report_rms) {
                continue;
            }
            // Medians where there are repetitions, otherwise the one run.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) {
                continue;
            }
            Figures &figures = results_[{run.run_name.function_name, run.run_name.args}];
            if (figures.fromMedian && !median) {
                continue;
            }
            figures.fromMedian = median;
            // Manual time is the child's CPU time.
            figures.seconds = (run.run_name.time_type == "manual_time" ? run.GetAdjustedRealTime()
                                                                       : run.GetAdjustedCPUTime()) *
                              secondsPer(run.time_unit);
            const auto counter = [&run](const char *name) {
                const auto found = run.counters.find(name);
                return found == run.counters.end() ? 0.0 : double(found->second);
            };
            figures.megabytes = counter("peak_MB");
            figures.floorSeconds = counter("floor_s");
            figures.ratio = counter("ratio");
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-60s %7s %12s %12s %8s %10s\n", "Operation", "N", "figure", "floor",
                    "ratio", "vs N/10");
        for (const Row &row : kRows) {
            for (const auto &[key, figures] : results_) {
                if (key.first != row.benchmark) {
                    continue;
                }
                const double value = row.memory ? figures.megabytes : figures.seconds;
                const auto floor =
                    row.floor ? results_.find({row.floor, key.second}) : results_.end();
                const auto smaller = results_.find({key.first, tenth(key.second)});
                std::printf("%-60s %7s %12s", row.operation, key.second.c_str(),
                            format(value, row.memory).c_str());
                if (row.paired) {
                    std::printf(" %12s %7.1fx", format(figures.floorSeconds, false).c_str(),
                                figures.ratio);
                } else if (floor != results_.end()) {
                    const double base =
                        row.memory ? floor->second.megabytes : floor->second.seconds;
                    std::printf(" %12s %7.1fx", format(base, row.memory).c_str(), value / base);
                } else {
                    std::printf(" %12s %8s", "-", "-");
                }
                if (smaller != results_.end() && !row.memory) {
                    std::printf(" %9.1fx", value / smaller->second.seconds);
                }
                std::printf("\n");
            }
        }
        std::fflush(stdout);
    }

private:
    struct Figures {
        double seconds = 0;
        double megabytes = 0;
        double floorSeconds = 0; // paired: the floor's time, and the ratio to it
        double ratio = 0;
        bool fromMedian = false;
    };
    struct ByN {
        bool operator()(const std::pair<std::string, std::string> &a,
                        const std::pair<std::string, std::string> &b) const
        {
            if (a.first != b.first) {
                return a.first < b.first;
            }
            const long long x = std::atoll(a.second.c_str());
            const long long y = std::atoll(b.second.c_str());
            return x != y ? x < y : a.second < b.second;
        }
    };

    static double secondsPer(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kNanosecond:
            return 1e-9;
        case benchmark::kMicrosecond:
            return 1e-6;
        case benchmark::kMillisecond:
            return 1e-3;
        case benchmark::kSecond:
            return 1;
        }
        return 1;
    }
    static std::string tenth(const std::string &n)
    {
        const long long value = std::atoll(n.c_str());
        return value >= 10 ? std::to_string(value / 10) : std::string("none");
    }
    static std::string format(double value, bool memory)
    {
        char text[32];
        if (memory) {
            std::snprintf(text, sizeof text, "%.1f MB", value);
        } else if (value >= 1) {
            std::snprintf(text, sizeof text, "%.2f s", value);
        } else {
            std::snprintf(text, sizeof text, "%.2f ms", value * 1e3);
        }
        return text;
    }

    std::map<std::pair<std::string, std::string>, Figures, ByN> results_;
};

// ---------------------------------------------------------------------------
// Registration

void sizes(benchmark::internal::Benchmark *b) { b->Arg(1000)->Arg(10000)->Arg(100000); }

// Process CPU time: the kernel's share of reading and writing counts too.
void scaled(benchmark::internal::Benchmark *b)
{
    sizes(b);
    b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Complexity();
}

// The operation's process CPU time, measured by hand between the floor's.
void paired(benchmark::internal::Benchmark *b)
{
    sizes(b);
    b->UseManualTime()->Unit(benchmark::kMillisecond);
}

void inChild(benchmark::internal::Benchmark *b)
{
    b->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
}

// A start-up takes some 20 ms, and one varies by a third from the next: each
// figure is the mean of fifteen.
void startingUp(benchmark::internal::Benchmark *b)
{
    b->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_FloorSave)->Apply(scaled);
BENCHMARK(BM_SessionSave)->Apply(scaled);
BENCHMARK(BM_SessionDelete)->Apply(scaled);
BENCHMARK(BM_FloorOpenPeriod)->Apply(scaled);
BENCHMARK(BM_FloorOpenPeriodOwnFile)->Apply(scaled);
BENCHMARK(BM_SessionOpenPeriod)->Apply(scaled);
BENCHMARK(BM_FloorRecalculate)->Apply(scaled);
BENCHMARK(BM_SessionRecalculate)->Apply(scaled);
BENCHMARK(BM_SessionRecalculateChanged)->Apply(scaled);
BENCHMARK(BM_CliPublish)->Apply(scaled);
BENCHMARK(BM_PairedOpenPeriod)->Apply(paired);
BENCHMARK(BM_PairedRecalculate)->Apply(paired);
BENCHMARK(BM_PairedRecalculateChanged)->Apply(paired);
BENCHMARK(BM_PairedCliPublish)->Apply(paired);
BENCHMARK(BM_EditorSave)->Apply(scaled);
BENCHMARK(BM_EditorDelete)->Apply(scaled);
BENCHMARK(BM_EditorOpenPeriod)->Apply(scaled);
BENCHMARK(BM_PairedEditorOpenPeriod)->Apply(paired);
BENCHMARK(BM_EditorRecalculate)->Apply(scaled);
BENCHMARK(BM_PairedEditorRecalculate)->Apply(paired);
BENCHMARK(BM_EditorKeystroke)->Apply(scaled);
BENCHMARK(BM_EditorEnterAccumulated)->Apply(scaled);
BENCHMARK(BM_FloorMemory)->Apply(sizes)->Apply(inChild);
BENCHMARK(BM_EditorMemory)->Apply(sizes)->Apply(inChild);
BENCHMARK(BM_FloorStartup)->Apply(startingUp);
BENCHMARK(BM_Startup)->Apply(startingUp);
BENCHMARK(BM_PairedStartup)->Apply(startingUp);

int main(int argc, char **argv)
{
    // Windows are never shown on a screen here.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (argc >= 3 && QByteArray(argv[1]).startsWith("--child=") &&
        QByteArray(argv[argc - 1]).startsWith("--report=")) {
        QStringList args;
        for (int i = 1; i < argc - 1; ++i) {
            args.append(QString::fromLocal8Bit(argv[i]));
        }
        int childArgc = 1;
        const int status =
            childMain(childArgc, argv, args.value(0).mid(8), args.value(1), args.value(2));
        reportChild(QString::fromLocal8Bit(argv[argc - 1] + 9));
        return status;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    QApplication app(argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    currentFixture.reset();
    benchmark::Shutdown();
    return 0;
}
