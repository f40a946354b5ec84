#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The registry of the report kind shown, as the report session holds it (the
// lookup store): its lines in order, with an index of each of its two columns
// for the look-ups that every keystroke in a lookup field, every save and
// every deletion make. The indexes are built on first use and then kept up to
// date by every change, so no look-up or change scans all the lines.
namespace quelvara {

class LookupStore {
public:
    /// Returns the lines in order.
    const QStringList &lines() const { return lines_; }

    /// Returns the number of lines.
    int size() const { return int(lines_.size()); }

    /// Returns line i.
    const QString &at(int i) const { return lines_.at(i); }

    /// Returns the code (column 1) of each line, in order, as registryLineField reads it.
    const QStringList &codes() const;

    /// Replaces the lines by those of a registry as read.
    void assign(const QStringList &lines);

    /// Empties the store.
    void clear() { assign({}); }

    /// Tells whether the lines are in ascending order (compareTexts), as every saved registry is.
    bool isSorted() const { return sorted_; }

    /// Returns the position of the first line whose column (1 or 2) equals the text without
    /// regard to case, or -1.
    int indexOf(int column, const QString &text) const;

    /// Adds lines as saving an item does: each into its place when the lines are in order,
    /// otherwise at the end, all then sorted (stably).
    void add(const QStringList &added);

    /// Removes line i.
    void removeAt(int i);

private:
    // The first line (in order) of each folded column text, as written, and
    // how many lines have that text.
    struct Entry {
        QString first;
        int count = 0;
    };
    using Index = QHash<QString, Entry>;

    Index &index(int column) const;
    int locate(const QString &line) const;
    void enter(int at, const QString &line);
    void rescan(int column, const QString &key, Entry &entry) const;

    QStringList lines_;
    bool sorted_ = true;
    mutable std::array<std::optional<Index>, 2> indexes_; // columns 1 and 2
    // Every opening of a period pairs each line with its code: read once
    // when first asked for, kept as the lines change.
    mutable std::optional<QStringList> codes_;
};

} // namespace quelvara
