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

const QHash<QString, ItemList::Entry> &ItemList::index() const
{
    if (!indexed_) {
        index_.reserve(codes_.size());
        for (const QString &code : codes_) {
            Entry &entry = index_[foldKey(code)];
            if (entry.count++ == 0) {
                entry.first = code;
            }
        }
        indexed_ = true;
    }
    return index_;
}

int ItemList::indexOf(const QString &code) const
{
    const QHash<QString, Entry> &built = index();
    const auto found = built.constFind(foldKey(code));
    return found == built.cend() ? -1 : positionOf(found->first);
}

int ItemList::positionOf(const QString &code) const
{
    // The list is in order, so the first item written exactly so is found
    // by a binary search; equal codes keep the order in which they came.
    const auto it = std::lower_bound(codes_.cbegin(), codes_.cend(), code, lessText);
    Q_ASSERT(it != codes_.cend() && *it == code);
    return int(it - codes_.cbegin());
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
    if (indexed_) {
        Entry &entry = index_[foldKey(code)];
        // An item put before the first of its folded code becomes the first.
        if (entry.count == 0 || at <= positionOf(entry.first)) {
            entry.first = code;
        }
        ++entry.count;
    }
    codes_.insert(at, code);
    lines_.insert(at, line);
    return at;
}

void ItemList::removeAt(int i)
{
    const QString code = codes_.at(i);
    const QString key = foldKey(code);
    const auto found = index_.find(key);
    codes_.removeAt(i);
    lines_.removeAt(i);
    if (found == index_.end()) {
        return;
    }
    if (--found->count == 0) {
        index_.erase(found);
    } else if (found->first == code && (i >= codes_.size() || codes_.at(i) != code)) {
        // The first of several items that differ in case only went: the
        // next one is looked for. Only hand-edited files hold such twins.
        rescan(key, *found);
    }
}

void ItemList::rescan(const QString &key, Entry &entry) const
{
    for (const QString &code : codes_) {
        if (foldKey(code) == key) {
            entry.first = code;
            return;
        }
    }
}

void ItemList::clear()
{
    codes_.clear();
    lines_.clear();
    index_.clear();
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
    index_ = {};
    indexed_ = false;
    if (std::is_sorted(order.cbegin(), order.cend())) {
        // Already in order, as a period merged with its registry nearly
        // always is: the lists are taken over whole.
        codes_ = std::move(codes);
        lines_ = std::move(lines);
    } else {
        codes_.clear();
        lines_.clear();
        codes_.reserve(codes.size());
        lines_.reserve(codes.size());
        for (const int i : order) {
            codes_.append(std::move(codes[i]));
            lines_.append(std::move(lines[i]));
        }
    }
}

} // namespace quelvara
