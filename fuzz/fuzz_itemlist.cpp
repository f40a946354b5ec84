// Feeds arbitrary data and registry files to the item-list load and the
// registry merge: the list stays sorted and indexed, and every registry code
// is an item named as the registry names it.
#include "reportdata.h"
#include "registry.h"
#include "textcompare.h"
#include "textfile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

QStringList linesFrom(FuzzedDataProvider &input)
{
    const std::string bytes = input.ConsumeRandomLengthString(4096);
    return quelvara::decodeLines(QByteArray(bytes.data(), qsizetype(bytes.size())));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const int numCampos = input.ConsumeIntegralInRange(1, quelvara::kMaxFields);
    quelvara::FieldTypes types{};
    for (int i = 1; i <= quelvara::kMaxFields; ++i) {
        const int pick = input.ConsumeIntegralInRange(0, 5);
        types[std::size_t(i)] = pick == 0   ? quelvara::Texto
                                : pick == 1 ? quelvara::Valor
                                : pick == 2 ? quelvara::Data
                                : pick == 3 ? quelvara::Acumulado
                                : pick == 4 ? quelvara::Diferenca
                                            : quelvara::Coluna(i);
    }
    const QStringList registry = linesFrom(input);
    const QStringList dataLines = linesFrom(input);
    const quelvara::AccumulateFn accumulate = [](const QString &value, int k, const QString &) {
        return value + QString::number(k);
    };

    check(quelvara::seedFromRegistry(registry, types, numCampos, accumulate).size() ==
          registry.size());

    const quelvara::ItemList items =
        quelvara::mergeRegistry(dataLines, registry, types, numCampos, accumulate);
    check(items.size() <= dataLines.size() + registry.size());
    for (int i = 0; i < items.size(); ++i) {
        check(items.code(i) == quelvara::lineCode(items.line(i)));
        check(i == 0 || !quelvara::lessText(items.code(i), items.code(i - 1)));
        const int found = items.indexOf(items.code(i));
        check(found >= 0 && found <= i &&
              quelvara::foldKey(items.code(found)) == quelvara::foldKey(items.code(i)));
    }
    // The last registry entry of each code names its item.
    QHash<QString, QString> lastEntry;
    for (const QString &entry : registry) {
        lastEntry.insert(quelvara::foldKey(quelvara::registryLineField(entry, 1)), entry);
    }
    for (auto it = lastEntry.cbegin(); it != lastEntry.cend(); ++it) {
        const QString code = quelvara::registryLineField(it.value(), 1);
        const QString prefix =
            code + u'\t' + quelvara::registryLineField(it.value(), 2) + u'\t';
        bool named = false;
        for (int i = 0; i < items.size() && !named; ++i) {
            named = items.line(i).startsWith(prefix);
        }
        check(named && items.contains(code));
    }
    return 0;
}
