#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The item list of one report period: (code, line) pairs kept in ascending
// case-insensitive order of code, so that position i of the visible list of
// codes is line i of the data file. Look-ups by code ignore letter case and go
// through an index.
//
// Codes that differ only in letter case are one item for every look-up, but a
// hand-edited file may still hold both: the list keeps what it was given, and
// a look-up finds the first of them in list order.
namespace quelvara {

class ItemList {
public:
    /// Returns the number of items.
    int size() const { return int(codes_.size()); }

    /// Tells whether the list holds no item.
    bool isEmpty() const { return size() == 0; }

    /// Returns the code of the item at position i.
    const QString &code(int i) const { return codes_.at(i); }

    /// Returns the data line of the item at position i.
    const QString &line(int i) const { return lines_.at(i); }

    /// Returns the position of the first item whose code equals the text without regard to case, or
    /// -1.
    int indexOf(const QString &code) const;

    /// Tells whether an item's code equals the text without regard to case.
    bool contains(const QString &code) const { return indexOf(code) >= 0; }

    /// Puts an item into its sorted place, replacing the item with the same code; returns its
    /// position.
    int put(const QString &code, const QString &line);

    /// Inserts an item into its sorted place without replacing anything; returns its position.
    int insert(const QString &code, const QString &line);

    /// Removes the item at position i.
    void removeAt(int i);

    /// Empties the list.
    void clear();

    /// Replaces the content by data lines (code = text before the first TAB), sorted.
    void assignLines(const QStringList &lines);

    /// Replaces the content by (code, line) pairs given as two lists of equal length, sorted.
    void assignItems(QStringList codes, QStringList lines);

    /// Returns the codes in order.
    const QStringList &codes() const { return codes_; }

    /// Returns the data lines in order.
    const QStringList &lines() const { return lines_; }

private:
    // Where the first item of a folded code stands: its code as written, so
    // that its position is found by a binary search of the ordered codes, and
    // how many items have the folded code (nearly always one).
    struct Entry {
        QString first;
        int count = 0;
    };

    int insertionPoint(const QString &code) const;
    int positionOf(const QString &code) const;
    void rescan(const QString &key, Entry &entry) const;
    const QHash<QString, Entry> &index() const;

    QStringList codes_;
    QStringList lines_;
    // Folded code -> its first item. Built from the codes on the first
    // look-up, then kept up to date by every change, in O(log N) look-ups of
    // the ordered codes: no change rebuilds it. A list that is only written
    // out, as every month but the last of a recalculation, never builds it.
    mutable QHash<QString, Entry> index_;
    mutable bool indexed_ = true;
};

/// Returns the item code of a data line: the text before its first TAB (empty when it has none).
QString lineCode(const QString &line);

} // namespace quelvara
