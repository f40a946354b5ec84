#include "lookupstore.h"

#include "registry.h"
#include "textcompare.h"

#include <algorithm>

namespace quelvara {

namespace {

// The key of a registry line's column as every look-up folds it: a last
// field without its closing TAB still counts, as in the registry dialog.
QString columnKey(const QString &line, int column)
{
    return foldKey(registryLineField(line, column));
}

} // namespace

void LookupStore::assign(const QStringList &lines)
{
    lines_ = lines;
    sorted_ = std::is_sorted(lines_.cbegin(), lines_.cend(), lessText);
    for (std::optional<Index> &index : indexes_) {
        index.reset();
    }
    codes_.reset();
}

const QStringList &LookupStore::codes() const
{
    if (!codes_) {
        codes_ = registryColumn(lines_, 1);
    }
    return *codes_;
}

LookupStore::Index &LookupStore::index(int column) const
{
    std::optional<Index> &index = indexes_[std::size_t(column - 1)];
    if (!index) {
        index.emplace();
        index->reserve(lines_.size());
        for (const QString &line : lines_) {
            Entry &entry = (*index)[columnKey(line, column)];
            if (entry.count++ == 0) {
                entry.first = line;
            }
        }
    }
    return *index;
}

int LookupStore::locate(const QString &line) const
{
    if (!sorted_) {
        // A registry written by hand, until the first save puts it in order.
        return int(lines_.indexOf(line));
    }
    const auto it = std::lower_bound(lines_.cbegin(), lines_.cend(), line, lessText);
    Q_ASSERT(it != lines_.cend() && *it == line);
    return int(it - lines_.cbegin());
}

int LookupStore::indexOf(int column, const QString &text) const
{
    if (column != 1 && column != 2) {
        return -1;
    }
    const Index &columnIndex = index(column);
    const auto found = columnIndex.constFind(foldKey(text));
    return found == columnIndex.cend() ? -1 : locate(found->first);
}

void LookupStore::enter(int at, const QString &line)
{
    for (int column = 1; column <= 2; ++column) {
        if (!indexes_[std::size_t(column - 1)]) {
            continue;
        }
        Entry &entry = (*indexes_[std::size_t(column - 1)])[columnKey(line, column)];
        // A line put before the first of its text becomes the first.
        if (entry.count == 0 || at <= locate(entry.first)) {
            entry.first = line;
        }
        ++entry.count;
    }
}

void LookupStore::add(const QStringList &added)
{
    if (sorted_) {
        // Inserting keeps the order without sorting the whole registry again.
        for (const QString &line : added) {
            const auto it = std::upper_bound(lines_.cbegin(), lines_.cend(), line, lessText);
            const int at = int(it - lines_.cbegin());
            enter(at, line);
            lines_.insert(at, line);
            if (codes_) {
                codes_->insert(at, registryLineField(line, 1));
            }
        }
        return;
    }
    lines_ += added;
    std::stable_sort(lines_.begin(), lines_.end(), lessText);
    sorted_ = true;
    for (std::optional<Index> &index : indexes_) {
        index.reset();
    }
    codes_.reset();
}

void LookupStore::removeAt(int i)
{
    const QString line = lines_.at(i);
    lines_.removeAt(i);
    if (codes_) {
        codes_->removeAt(i);
    }
    for (int column = 1; column <= 2; ++column) {
        std::optional<Index> &index = indexes_[std::size_t(column - 1)];
        if (!index) {
            continue;
        }
        const QString key = columnKey(line, column);
        const auto found = index->find(key);
        if (found == index->end()) {
            continue;
        }
        if (--found->count == 0) {
            index->erase(found);
        } else if (found->first == line && (i >= lines_.size() || lines_.at(i) != line)) {
            // The first of several lines with the same text went.
            rescan(column, key, *found);
        }
    }
}

void LookupStore::rescan(int column, const QString &key, Entry &entry) const
{
    for (const QString &line : lines_) {
        if (columnKey(line, column) == key) {
            entry.first = line;
            return;
        }
    }
}

} // namespace quelvara
