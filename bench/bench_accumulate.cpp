#include "accumulate.h"
#include "reportpaths.h"
#include "textfile.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace quelvara;

namespace {

QString code(int i) { return QStringLiteral("1112.%1").arg(i, 6, 10, QLatin1Char('0')); }

// One load of period 2: N accumulated values against a period-1 file of N lines.
void BM_AccumulateLoad(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QString ano = QStringLiteral("2005");
    const QString prefixo = QStringLiteral("trib-arrec-");
    makeDir(dataDir());
    makeDir(dataYearDir(ano));
    QStringList lines;
    lines.reserve(n);
    for (int i = 0; i < n; ++i) {
        lines.append(code(i) + QStringLiteral("\tImposto %1\t1.000,00\t12.345,67\t0\t").arg(i));
    }
    if (!writeLines(dataFilePath(ano, prefixo, QStringLiteral("1")), lines).ok()) {
        state.SkipWithError("the previous period could not be written");
        return;
    }
    QStringList codes;
    codes.reserve(n);
    for (int i = 0; i < n; ++i) {
        codes.append(code(n - 1 - i).toLower());
    }
    for (auto _ : state) {
        Accumulator accumulator(ano, prefixo, QStringLiteral("2"));
        for (const QString &c : codes) {
            benchmark::DoNotOptimize(accumulator.value(QStringLiteral("1.500,25"), 4, c));
        }
    }
    state.SetComplexityN(n);
    QDir::setCurrent(previous);
}

} // namespace

BENCHMARK(BM_AccumulateLoad)->RangeMultiplier(4)->Range(64, 16384)->Complexity();

BENCHMARK_MAIN();
