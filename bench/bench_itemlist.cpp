#include "catalogue.h"
#include "itemlist.h"
#include "reportdata.h"
#include "textfile.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace quelvara;

namespace {

// Monthly taxes: code, name, amount of the month, accumulated.
FieldTypes taxTypes()
{
    FieldTypes types{};
    types[1] = Coluna(1);
    types[2] = Coluna(2);
    types[3] = Valor;
    types[4] = Acumulado;
    return types;
}

QString codeOf(int i)
{
    return QStringLiteral("%1.%2.%3")
        .arg(i / 10000 + 1000, 4, 10, QLatin1Char('0'))
        .arg(i / 100 % 100, 2, 10, QLatin1Char('0'))
        .arg(i % 100, 2, 10, QLatin1Char('0'));
}

// A registry of n codes in shuffled order, as a hand-kept file may be.
QStringList registryOf(int n)
{
    QStringList lines;
    lines.reserve(n);
    for (int i = 0; i < n; ++i) {
        lines.append(codeOf(i) + QStringLiteral("\tImposto sobre Serviços nº %1\t").arg(i));
    }
    QRandomGenerator random(2005);
    for (qsizetype i = lines.size() - 1; i > 0; --i) {
        lines.swapItemsAt(i, random.bounded(i + 1));
    }
    return lines;
}

// The data lines of the same codes as a save leaves them: sorted, one of
// every ten codes missing (added by the merge) and some lines of codes
// that the registry does not hold.
QStringList dataLinesOf(int n)
{
    QStringList lines;
    lines.reserve(n);
    for (int i = 0; i < n; ++i) {
        const QString code = i % 10 == 0 ? QStringLiteral("X%1").arg(i) : codeOf(i);
        lines.append(code + QStringLiteral("\tnome\t1.500,00\t4.500,00\t0\t"));
    }
    ItemList sorted;
    sorted.assignLines(lines);
    return sorted.lines();
}

const AccumulateFn kSameValue = [](const QString &value, int, const QString &) { return value; };

void BM_LoadMergeSave(benchmark::State &state)
{
    const int n = int(state.range(0));
    QTemporaryDir dir;
    const QString dataPath = dir.filePath(QStringLiteral("trib-arrec-3-2005.vqd"));
    const QString savedPath = dir.filePath(QStringLiteral("saved.vqd"));
    const QString registryPath = dir.filePath(QStringLiteral("tributos.vqd"));
    const QStringList registry = registryOf(n);
    (void)writeLines(dataPath, dataLinesOf(n));
    const FieldTypes types = taxTypes();

    for (auto _ : state) {
        LoadedItems loaded = loadItemList(dataPath, registry, types, 4, true, kSameValue);
        const QStringList fields{QStringLiteral("9999.99.99"), QStringLiteral("Novo"),
                                 QStringLiteral("1,00"), QStringLiteral("1,00")};
        loaded.items.put(fields.first(), composeLine(fields, false));
        (void)writeLines(savedPath, loaded.items.lines());
        QStringList store = registry;
        if (extendRegistry(store, ReportCategory::Mensais, 0, fields)) {
            (void)writeLines(registryPath, store);
        }
        benchmark::DoNotOptimize(loaded);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_LoadMergeSave)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

void BM_Merge(benchmark::State &state)
{
    const int n = int(state.range(0));
    const QStringList registry = registryOf(n);
    const QStringList lines = dataLinesOf(n);
    const FieldTypes types = taxTypes();
    for (auto _ : state) {
        ItemList items = mergeRegistry(lines, registry, types, 4, kSameValue);
        benchmark::DoNotOptimize(items);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_Merge)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

// One save into a loaded list: look-up, replace and re-index.
void BM_PutOne(benchmark::State &state)
{
    const int n = int(state.range(0));
    ItemList items;
    items.assignLines(dataLinesOf(n));
    const QString code = codeOf(n / 2 + 1);
    for (auto _ : state) {
        items.put(code, code + QStringLiteral("\tnome\t2,00\t2,00\t0\t"));
        benchmark::DoNotOptimize(items.indexOf(code));
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_PutOne)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN);

// Numbers n+1 to 2n in use and a last code that is no number: the proposal
// starts at the count plus one and walks past all of them once.
void BM_NextPurchaseNumber(benchmark::State &state)
{
    const int n = int(state.range(0));
    QStringList lines;
    for (int i = n + 1; i <= 2 * n; ++i) {
        lines.append(QString::asprintf("%06d\t", i));
    }
    lines.append(QStringLiteral("zz\t"));
    ItemList items;
    items.assignLines(lines);
    for (auto _ : state) {
        benchmark::DoNotOptimize(nextPurchaseNumber(items));
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_NextPurchaseNumber)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
