#include "accumulate.h"

#include "messages.h"
#include "recordfields.h"
#include "reportpaths.h"
#include "textcompare.h"
#include "values.h"

namespace quelvara {

namespace {

bool isFirstPeriod(const QString &periodo) { return periodo == QStringLiteral("1"); }

} // namespace

QString previousPeriodNumber(const QString &periodo)
{
    return QString::number(periodo.trimmed().toInt() - 1);
}

PreviousPeriod PreviousPeriod::load(const QString &ano, const QString &prefixo,
                                    const QString &periodo)
{
    if (!isValidYear(ano)) {
        // A year being typed, or one that is no year at all, never reaches the disk.
        return PreviousPeriod();
    }
    const QString path = dataFilePath(ano, prefixo, previousPeriodNumber(periodo));
    return fromRead(path, readLines(path));
}

PreviousPeriod PreviousPeriod::fromRead(const QString &path, TextLines read)
{
    PreviousPeriod previous;
    previous.path_ = path;
    previous.status_ = read.status;
    if (read.status != ReadStatus::Ok) {
        // A file that exists but cannot be read holds no item.
        return previous;
    }
    previous.lines_ = std::move(read.lines);
    previous.index_.reserve(previous.lines_.size());
    for (int i = 0; i < previous.lines_.size(); ++i) {
        // The first line with a code is the one that counts.
        const QString key = foldKey(GetField(previous.lines_[i], 1));
        if (!previous.index_.contains(key)) {
            previous.index_.insert(key, i);
        }
    }
    return previous;
}

std::optional<QString> PreviousPeriod::field(const QString &code, int k) const
{
    const std::optional<QStringView> view = fieldView(code, k);
    return view ? std::optional<QString>(view->toString()) : std::nullopt;
}

std::optional<QStringView> PreviousPeriod::fieldView(const QString &code, int k) const
{
    const auto found = index_.constFind(foldKey(code));
    if (found == index_.cend()) {
        return std::nullopt;
    }
    return RecordFields(lines_[*found]).at(k);
}

Accumulation accumulate(const PreviousPeriod &previous, const QString &value, int k,
                        const QString &code)
{
    if (previous.status() == ReadStatus::Missing) {
        return {msg::accumulationInstruction(), msg::noPreviousFile(previous.path())};
    }
    const std::optional<QStringView> before = previous.fieldView(code, k);
    if (!before) {
        return {value, {}};
    }
    const std::optional<double> a = MoneyValue(*before);
    const std::optional<double> b = MoneyValue(value);
    if (!a || !b) {
        return {msg::accumulationInstruction(), msg::previousNotANumber(before->toString(), value)};
    }
    // AmountText is NumberText and FormatMoney after dropping the binary noise
    // of the sum, which FormatMoney's cut to two decimals would turn into a lost cent.
    return {AmountText(*a + *b), {}};
}

Accumulator::Accumulator(const QString &ano, const QString &prefixo, const QString &periodo)
    : ano_(ano)
    , prefixo_(prefixo)
    , periodo_(periodo)
{
}

bool Accumulator::isFor(const QString &ano, const QString &prefixo, const QString &periodo) const
{
    return ano == ano_ && prefixo == prefixo_ && periodo == periodo_;
}

Accumulation Accumulator::value(const QString &value, int k, const QString &code)
{
    if (isFirstPeriod(periodo_)) {
        return {value, {}};
    }
    if (!isValidYear(ano_)) {
        // No file is looked for under a year that is not one; nothing to tell
        // the user while the year is still being typed.
        return {msg::accumulationInstruction(), {}};
    }
    if (!previous_) {
        previous_ = PreviousPeriod::load(ano_, prefixo_, periodo_);
    }
    return accumulate(*previous_, value, k, code);
}

} // namespace quelvara
