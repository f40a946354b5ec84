#include "catalogue.h"
#include "htmlpage.h"
#include "opendata.h"
#include "reportindex.h"
#include "textfile.h"
#include "values.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace quelvara;

namespace {

// A monthly purchases page of n items: the widest kind, ten fields, two of
// them amounts, every hundredth item left out of the totals.
PageInput purchases(int n)
{
    const ReportKind *kind = reportKind(ReportCategory::Mensais, 7);
    PageInput input = pageInputOf(*kind);
    input.municipality = QStringLiteral("Vila Serena - MG");
    input.municipalityName = QStringLiteral("Vila Serena");
    input.state = QStringLiteral("MG");
    input.year = QStringLiteral("2005");
    input.period = QStringLiteral("4");
    input.periodName = QStringLiteral("Abril");
    input.codes.reserve(n);
    input.lines.reserve(n);
    for (int i = 1; i <= n; ++i) {
        const QString code = QString::asprintf("%06d", i);
        input.codes.append(code);
        input.lines.append(code + QStringLiteral("\tSecretaria de Saúde\tHospital Municipal\t"
                                                 "11.222.333/0001-81\tPapelaria \"Central\"; "
                                                 "Ltda\t44.555.666/0001-99\tPapel A4 <75 g>\t"
                                                 "1.025,50\t%1\t%2\t%3\t")
                                      .arg(i % 50 + 1)
                                      .arg(FormatMoney(QString::number(1025 * (i % 50 + 1))))
                                      .arg(i % 100 == 0 ? 1 : 0));
    }
    input.prefeito = QStringLiteral("Carlos Andrade");
    input.secFin = QStringLiteral("Beatriz Lima");
    input.contador = QStringLiteral("Paulo Souza");
    input.crc = QStringLiteral("MG-012345/O-6");
    return input;
}

void BM_BuildCsv(benchmark::State &state)
{
    const PageInput input = purchases(int(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(buildCsv(input));
    }
}
BENCHMARK(BM_BuildCsv)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_BuildJson(benchmark::State &state)
{
    const PageInput input = purchases(int(state.range(0)));
    const QDateTime now = QDateTime::currentDateTime();
    for (auto _ : state) {
        benchmark::DoNotOptimize(buildJson(input, now));
    }
}
BENCHMARK(BM_BuildJson)->Arg(100000)->Unit(benchmark::kMillisecond);

// The totals every writer shows: the page, the JSON and the PDF.
void BM_ColumnTotals(benchmark::State &state)
{
    const PageInput input = purchases(int(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(columnTotals(input));
    }
}
BENCHMARK(BM_ColumnTotals)->Arg(100000)->Unit(benchmark::kMillisecond);

// What the session does after writing a page: the CSV and the JSON beside it,
// the year's index and the index of the years, each synced to disk.
void BM_WriteOpenData(benchmark::State &state)
{
    const PageInput input = purchases(int(state.range(0)));
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    (void)writePageFile(input.year, input.prefix, input.period, buildPage(input));
    for (auto _ : state) {
        if (!writeOpenData(input).ok()) {
            state.SkipWithError("open data not written");
            break;
        }
    }
    QDir::setCurrent(previous);
}
BENCHMARK(BM_WriteOpenData)->Arg(100000)->Unit(benchmark::kMillisecond);

// The floor: the same bytes, built beforehand, written atomically and synced.
void BM_WriteOpenDataFloor(benchmark::State &state)
{
    const PageInput input = purchases(int(state.range(0)));
    const QByteArray csv = buildCsv(input);
    const QByteArray json = buildJson(input, QDateTime::currentDateTime());
    QTemporaryDir dir;
    for (auto _ : state) {
        if (!writeBytes(dir.filePath(QStringLiteral("a.csv")), csv).ok() ||
            !writeBytes(dir.filePath(QStringLiteral("a.json")), json).ok()) {
            state.SkipWithError("not written");
            break;
        }
    }
}
BENCHMARK(BM_WriteOpenDataFloor)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
