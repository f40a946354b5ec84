#include "recalculation.h"

#include "reportpaths.h"

#include <algorithm>

namespace quelvara {

FieldTypes kindFieldTypes(const ReportKind &kind)
{
    FieldTypes types{};
    for (int i = 1; i <= kMaxFields; ++i) {
        types[std::size_t(i)] = kind.type(i);
    }
    return types;
}

RecalculatedPeriod recalculatePeriod(const ReportKind &kind, const QString &year,
                                     const QStringList &registry, int period,
                                     const PreviousPeriod &previous)
{
    RecalculatedPeriod result;
    result.period = period;
    result.path = dataFilePath(year, kind.prefix, QString::number(period));
    TextLines file = readLines(result.path);
    result.status = file.status;
    result.stored = file.lines;
    AccumulationRooms rooms;
    const AccumulateFn accumulateValue = [&](const QString &value, int k, const QString &code) {
        return period == 1 ? value : rooms.add(previous, value, k, code, result.messages);
    };
    result.items = itemListFromFile(std::move(file), registry, kindFieldTypes(kind),
                                    kind.fieldCount, kind.followsRegistry(), accumulateValue)
                       .items;
    return result;
}

QList<RecalculatedPeriod> recalculatePeriods(const ReportKind &kind, const QString &year,
                                             const QStringList &registry, int n)
{
    QList<RecalculatedPeriod> periods;
    if (!isValidYear(year)) {
        return periods;
    }
    periods.reserve(std::max(n, 0));
    PreviousPeriod previous;
    for (int p = 1; p <= n; ++p) {
        periods.append(recalculatePeriod(kind, year, registry, p, previous));
        const RecalculatedPeriod &done = periods.constLast();
        // The next period reads this one as the recalculation left it on disk:
        // as written, or, where it could not be read, still unreadable.
        previous = done.written()
                       ? PreviousPeriod::fromRead(done.path, {ReadStatus::Ok, done.items.lines()})
                       : PreviousPeriod::fromRead(done.path, {ReadStatus::Unreadable, {}});
    }
    return periods;
}

} // namespace quelvara
