#include "accumulate.h"

#include "messages.h"
#include "recordfields.h"
#include "reportpaths.h"
#include "textcompare.h"
#include "values.h"

#include <algorithm>

namespace quelvara {

namespace {

bool isFirstPeriod(const QString &periodo) { return periodo == QStringLiteral("1"); }

// Two amounts in the form the program writes, each below a hundred billion,
// are added as whole cents: that is what AmountText makes of the sum of their
// values. Each value is within 2^-17 of its amount and their sum within 2^-16
// more; ten thousand times the sum, rounded once more, is within 0.43 of the
// whole ten-thousandths that AmountText rounds it to.
std::optional<std::int64_t> exactSum(QStringView a, QStringView b)
{
    constexpr std::uint64_t kBound = 10'000'000'000'000; // cents: a hundred billion
    const std::optional<WrittenAmount> x = writtenAmount(a);
    const std::optional<WrittenAmount> y = x ? writtenAmount(b) : std::nullopt;
    if (!y || x->cents >= kBound || y->cents >= kBound) {
        return std::nullopt;
    }
    return x->signedCents() + y->signedCents();
}

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
    PreviousPeriod previous;
    previous.path_ = dataFilePath(ano, prefixo, previousPeriodNumber(periodo));
    // Read as one text: accumulation reads a field or two of each line, and
    // a text of each line's own would only be built and freed.
    WholeText read = readWholeText(previous.path_);
    previous.status_ = read.status;
    if (read.status == ReadStatus::Ok) {
        previous.text_ = std::move(read.text);
        previous.lines_ = std::move(read.lines);
    }
    return previous;
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
    previous.given_ = std::move(read.lines);
    previous.lines_.reserve(previous.given_.size());
    for (const QString &line : std::as_const(previous.given_)) {
        previous.lines_.append(line);
    }
    return previous;
}

void PreviousPeriod::indexLines() const
{
    index_.reserve(lines_.size());
    // The first line with a code is the one that counts: taken from the last
    // to the first, each line's entry replaces that of any later line.
    for (qsizetype i = lines_.size() - 1; i >= 0; --i) {
        index_.insert(foldKey(recordField(lines_.at(i), 1), foldedCodes_), int(i));
    }
    indexed_ = true;
}

// Codes that are their own keys, in strictly ascending order up to a line,
// are all different keys: a line among them holding a code is the first
// with it.
bool PreviousPeriod::inOrderThrough(qsizetype line) const
{
    while (ordered_ <= line && !disordered_) {
        const QStringView code = recordField(lines_.at(ordered_), 1);
        disordered_ = !isOwnKey(code) || (ordered_ > 0 && !(lastOrdered_ < code));
        if (!disordered_) {
            lastOrdered_ = code;
            ++ordered_;
        }
    }
    return line < ordered_;
}

std::optional<int> PreviousPeriod::lineOf(const QString &code) const
{
    const qsizetype next = next_;
    if (next < lines_.size() && inOrderThrough(next)) {
        // Its code was just read, unless the order was seen further before.
        const QStringView at =
            next + 1 == ordered_ ? lastOrdered_ : recordField(lines_.at(next), 1);
        if (at == code) {
            next_ = next + 1;
            return int(next);
        }
    }
    QString folded;
    const QStringView key = foldKey(QStringView(code), folded);
    if (!indexed_ && inOrderThrough(lines_.size() - 1)) {
        // Every line in order, as the program saves a period: a code out of
        // turn, such as a new item's, is found by halving rather than by an
        // index of every line.
        const auto it = std::lower_bound(
            lines_.cbegin(), lines_.cend(), key,
            [](QStringView line, QStringView wanted) { return recordField(line, 1) < wanted; });
        if (it == lines_.cend() || recordField(*it, 1) != key) {
            return std::nullopt;
        }
        next_ = it - lines_.cbegin() + 1;
        return int(next_ - 1);
    }
    if (!indexed_) {
        indexLines();
    }
    const auto found = index_.constFind(key);
    if (found == index_.cend()) {
        return std::nullopt;
    }
    next_ = *found + 1;
    return *found;
}

std::optional<QString> PreviousPeriod::field(const QString &code, int k) const
{
    const std::optional<QStringView> view = fieldView(code, k);
    return view ? std::optional<QString>(view->toString()) : std::nullopt;
}

std::optional<QStringView> PreviousPeriod::fieldView(const QString &code, int k) const
{
    const std::optional<int> line = lineOf(code);
    if (!line) {
        return std::nullopt;
    }
    // Only the field asked for is looked for, not every field of the line.
    return recordField(lines_.at(*line), k);
}

Accumulation accumulate(const PreviousPeriod &previous, const QString &value, int k,
                        const QString &code)
{
    Accumulation accumulation;
    accumulation.message = writeAccumulation(accumulation.text, previous, value, k, code);
    return accumulation;
}

QString writeAccumulation(QString &text, const PreviousPeriod &previous, const QString &value,
                          int k, const QString &code)
{
    if (previous.status() == ReadStatus::Missing) {
        text = msg::accumulationInstruction();
        return msg::noPreviousFile(previous.path());
    }
    const std::optional<QStringView> before = previous.fieldView(code, k);
    if (!before) {
        text = value;
        return {};
    }
    if (const std::optional<std::int64_t> sum = exactSum(*before, value)) {
        setCentsText(text, *sum);
        return {};
    }
    const std::optional<double> a = MoneyValue(*before);
    const std::optional<double> b = MoneyValue(value);
    if (!a || !b) {
        text = msg::accumulationInstruction();
        return msg::previousNotANumber(before->toString(), value);
    }
    // AmountText is NumberText and FormatMoney after dropping the binary noise
    // of the sum, which FormatMoney's cut to two decimals would turn into a lost cent.
    text = AmountText(*a + *b);
    return {};
}

QString AccumulationRooms::add(const PreviousPeriod &previous, const QString &value, int k,
                               const QString &code, QStringList &messages)
{
    QString spare;
    QString &room = k >= 0 && k <= kMaxFields ? rooms_[std::size_t(k)] : spare;
    if (const QString message = writeAccumulation(room, previous, value, k, code);
        !message.isEmpty()) {
        messages.append(message);
    }
    return room;
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
