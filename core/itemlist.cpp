#include "itemlist.h"

#include "textcompare.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace quelvara {

namespace {

// The positions of the codes in stable ascending order. Lists mostly arrive
// as a few sorted runs (a stored file, a registry, both appended), so the
// runs are found first and merged pairwise: a sorted list costs one pass, and
// no list costs more than a merge sort.
std::vector<int> sortedOrder(const QStringList &codes)
{
    const int n = int(codes.size());
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    const auto less = [&codes](int a, int b) { return lessText(codes.at(a), codes.at(b)); };

    std::vector<int> bounds{0};
    for (int i = 1; i < n; ++i) {
        if (less(i, i - 1)) {
            bounds.push_back(i);
        }
    }
    bounds.push_back(n);

    std::vector<int> merged(static_cast<std::size_t>(n));
    while (bounds.size() > 2) {
        std::vector<int> next{0};
        for (std::size_t r = 0; r + 1 < bounds.size(); r += 2) {
            const auto first = order.begin();
            const int lo = bounds[r];
            const int mid = bounds[r + 1];
            const int hi = r + 2 < bounds.size() ? bounds[r + 2] : mid;
            std::merge(first + lo, first + mid, first + mid, first + hi, merged.begin() + lo, less);
            next.push_back(hi);
        }
        order.swap(merged);
        bounds.swap(next);
    }
    return order;
}

} // namespace

QString lineCode(const QString &line)
{
    const qsizetype tab = line.indexOf(u'\t');
    return tab < 0 ? QString() : line.left(tab);
}

int ItemList::indexOf(const QString &code) const
{
    ensureIndex();
    return index_.value(foldKey(code), -1);
}

int ItemList::insertionPoint(const QString &code) const
{
    // After every item that does not sort after the code: equal codes keep
    // the order in which they came.
    const auto it = std::upper_bound(codes_.cbegin(), codes_.cend(), code, lessText);
    return int(it - codes_.cbegin());
}

int ItemList::put(const QString &code, const QString &line)
{
    const int existing = indexOf(code);
    if (existing >= 0) {
        removeAt(existing);
    }
    return insert(code, line);
}

int ItemList::insert(const QString &code, const QString &line)
{
    const int at = insertionPoint(code);
    codes_.insert(at, code);
    lines_.insert(at, line);
    keys_.insert(at, foldKey(code));
    indexValid_ = false;
    return at;
}

void ItemList::removeAt(int i)
{
    codes_.removeAt(i);
    lines_.removeAt(i);
    keys_.removeAt(i);
    indexValid_ = false;
}

void ItemList::clear()
{
    codes_.clear();
    lines_.clear();
    keys_.clear();
    index_.clear();
    indexValid_ = true;
}

void ItemList::assignLines(const QStringList &lines)
{
    QStringList codes;
    codes.reserve(lines.size());
    for (const QString &line : lines) {
        codes.append(lineCode(line));
    }
    assignItems(std::move(codes), lines);
}

void ItemList::assignItems(QStringList codes, QStringList lines)
{
    Q_ASSERT(codes.size() == lines.size());
    const std::vector<int> order = sortedOrder(codes);
    codes_.clear();
    lines_.clear();
    keys_.clear();
    codes_.reserve(codes.size());
    lines_.reserve(codes.size());
    keys_.reserve(codes.size());
    for (const int i : order) {
        codes_.append(codes.at(i));
        lines_.append(lines.at(i));
        keys_.append(foldKey(codes.at(i)));
    }
    indexValid_ = false;
}

void ItemList::ensureIndex() const
{
    if (indexValid_) {
        return;
    }
    index_.clear();
    index_.reserve(keys_.size());
    // Backwards, so that of several equal keys the first position wins.
    for (int i = int(keys_.size()) - 1; i >= 0; --i) {
        index_.insert(keys_.at(i), i);
    }
    indexValid_ = true;
}

} // namespace quelvara
