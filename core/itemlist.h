#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The item list of one report period: (code, line) pairs kept in ascending
// case-insensitive order of code, so that position i of the visible list of
// codes is line i of the data file. Look-ups by code ignore letter case and go
// through an index.
namespace quelvara {

class ItemList {
public:
    /// Returns the number of items.
    int size() const;

    /// Tells whether the list holds no item.
    bool isEmpty() const { return size() == 0; }

    /// Returns the code of the item at position i.
    const QString &code(int i) const;

    /// Returns the data line of the item at position i.
    const QString &line(int i) const;

    /// Returns the position of the first item whose code equals the text without regard to case, or -1.
    int indexOf(const QString &code) const;

    /// Puts an item into its sorted place, replacing the item with the same code; returns its position.
    int put(const QString &code, const QString &line);

    /// Removes the item at position i.
    void removeAt(int i);

    /// Empties the list.
    void clear();

    /// Replaces the content by data lines (code = text before the first TAB), sorted.
    void assignLines(const QStringList &lines);

    /// Returns the codes in order.
    QStringList codes() const;

    /// Returns the data lines in order.
    QStringList lines() const;

private:
    void reindex();

    QStringList codes_;
    QStringList lines_;
    QHash<QString, int> index_; // folded code -> first position
};

} // namespace quelvara
