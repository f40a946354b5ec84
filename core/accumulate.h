#pragma once

#include "catalogue.h"
#include "textfile.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// Accumulated-in-the-year values: the amount of a period plus the accumulated
// amount that the same item holds in the previous period's data file of the
// same report kind and year. Period 1 starts from its own amount.
namespace quelvara {

/// Returns the period before a period number, in decimal without leading zeros ("10" gives "9").
QString previousPeriodNumber(const QString &periodo);

/// The previous period's data file of one report kind and year, read once and indexed by code.
class PreviousPeriod {
public:
    /// Reads the data file of the period before `periodo`; a year that is no year reads nothing.
    static PreviousPeriod load(const QString &ano, const QString &prefixo, const QString &periodo);

    /// Returns the previous period as a file at that path would have been read (lines kept only
    /// when it was read).
    static PreviousPeriod fromRead(const QString &path, TextLines read);

    /// Tells whether the file was read, is missing, or exists but could not be read.
    ReadStatus status() const { return status_; }

    /// Returns the path of the previous period's data file.
    const QString &path() const { return path_; }

    /// Returns the number of lines read.
    int size() const { return static_cast<int>(lines_.size()); }

    /// Returns field k of the first line whose code equals `code` without regard to case, or
    /// nothing.
    std::optional<QString> field(const QString &code, int k) const;

    /// Returns field k of that line as field does, as a view into the line held here.
    std::optional<QStringView> fieldView(const QString &code, int k) const;

private:
    std::optional<int> lineOf(const QString &code) const;
    bool inOrderThrough(qsizetype line) const;
    void indexLines() const;

    QString path_;
    ReadStatus status_ = ReadStatus::Missing;
    // The lines are views into the text they were read with: the whole file's
    // text, or the lines given one by one. The keys are views into the lines
    // or, for a code that folding changes, into its folded text; copies share
    // these texts, which are never changed, so every view stays valid.
    QString text_;
    QStringList given_;
    QList<QStringView> lines_;
    // Looked up as they are needed: a period saved by the program is read in
    // the order of its lines, which the line after the last one found serves
    // without the index.
    mutable QStringList foldedCodes_;
    mutable QHash<QStringView, int> index_; // folded code -> first line with it
    mutable bool indexed_ = false;
    mutable qsizetype next_ = 0;      // the line after the last one found
    mutable qsizetype ordered_ = 0;   // leading lines whose codes are own keys, strictly ascending
    mutable bool disordered_ = false; // line ordered_ is not
    mutable QStringView lastOrdered_; // the code of line ordered_ - 1
};

/// One computed accumulated value and the message to show for it (empty when none).
struct Accumulation {
    QString text;
    QString message;
};

/// Adds an amount to the item's field k of the previous period (periods after the first).
Accumulation accumulate(const PreviousPeriod &previous, const QString &value, int k,
                        const QString &code);

/// Makes `text` the accumulated value as accumulate does, in the room it already has when it can,
/// and returns the message; for a caller that accumulates item after item.
QString writeAccumulation(QString &text, const PreviousPeriod &previous, const QString &value,
                          int k, const QString &code);

/// The accumulated values of a load or a recalculation, item after item: each field's amounts are
/// written into a room of their own, which the caller lets go of before asking for the next item's.
class AccumulationRooms {
public:
    /// Returns the value accumulated as accumulate does, appending its message, if any.
    QString add(const PreviousPeriod &previous, const QString &value, int k, const QString &code,
                QStringList &messages);

private:
    std::array<QString, kMaxFields + 1> rooms_;
};

/// Computes the accumulated values of one report kind, year and period, reading the
/// previous period's file at most once, and only when a value needs it.
class Accumulator {
public:
    /// Prepares the computation for a report kind (file prefix), year and period.
    Accumulator(const QString &ano, const QString &prefixo, const QString &periodo);

    /// Tells whether this computation belongs to that kind, year and period.
    bool isFor(const QString &ano, const QString &prefixo, const QString &periodo) const;

    /// Computes the accumulated value of an amount for field k of the item with that code.
    Accumulation value(const QString &value, int k, const QString &code);

    /// Tells whether the previous period's file has been read.
    bool hasRead() const { return previous_.has_value(); }

private:
    QString ano_;
    QString prefixo_;
    QString periodo_;
    std::optional<PreviousPeriod> previous_;
};

} // namespace quelvara
