#include "registry.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

namespace {

// Lines shaped like a large revenue-account registry, in shuffled order.
QStringList sampleLines(int count)
{
    QRandomGenerator random(2005);
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString code = QStringLiteral("%1.%2.%3")
                                 .arg(random.bounded(10000), 4, 10, QLatin1Char('0'))
                                 .arg(random.bounded(100), 2, 10, QLatin1Char('0'))
                                 .arg(i % 100, 2, 10, QLatin1Char('0'));
        lines.append(quelvara::makeRegistryLine(
            code, QStringLiteral("Receita de Contribuição nº %1 – Município").arg(i)));
    }
    return lines;
}

void BM_SortRegistry(benchmark::State &state)
{
    const QStringList lines = sampleLines(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QStringList copy = lines;
        quelvara::sortRegistry(copy);
        benchmark::DoNotOptimize(copy);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SortRegistry)->RangeMultiplier(4)->Range(256, 16384)->Complexity();

void BM_SaveOneLine(benchmark::State &state)
{
    QStringList lines = sampleLines(static_cast<int>(state.range(0)));
    quelvara::sortRegistry(lines);
    const QString line =
        quelvara::makeRegistryLine(QStringLiteral("5555.55.55"), QStringLiteral("Nova Receita"));
    for (auto _ : state) {
        QStringList copy = lines;
        if (!quelvara::containsLine(copy, line)) {
            quelvara::insertSorted(copy, line);
        }
        benchmark::DoNotOptimize(copy);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SaveOneLine)->RangeMultiplier(4)->Range(256, 16384)->Complexity();

} // namespace

BENCHMARK_MAIN();
