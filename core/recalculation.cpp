#include "recalculation.h"

#include "reportpaths.h"

#include <algorithm>
#include <array>

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
    // Each field's amounts are written into a room of their own, which the
    // merge lets go before asking for the next item's.
    std::array<QString, kMaxFields + 1> rooms;
    const AccumulateFn accumulateValue = [&](const QString &value, int k,
                                             const QString &code) -> QString {
        if (period == 1) {
            return value;
        }
        QString spare;
        QString &room = k >= 0 && k <= kMaxFields ? rooms[std::size_t(k)] : spare;
        if (const QString message = writeAccumulation(room, previous, value, k, code);
            !message.isEmpty()) {
            result.messages.append(message);
        }
        return room;
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
