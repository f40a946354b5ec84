#pragma once

#include "catalogue.h"
#include "fileresult.h"
#include "recordfields.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The report page: one HTML file per report kind, year and period, with one
// column per field, one row per item, the column totals and the signature
// block. Building the page is pure; writing it touches the year's directory
// beside "dados" only.
namespace quelvara {

// Everything the page shows, read from the editor when the page is written,
// and what the files published beside it need besides.
struct PageInput {
    QString title;        // the report title
    QString municipality; // "<name> - <state>"
    QString year;
    QString periodName;    // "Março", "2º Bimestre"; empty for the annual kinds
    int fieldCount = 0;    // N
    QStringList captions;  // captions of fields 1..N
    QList<int> fieldTypes; // field types of fields 1..N
    QStringList codes;     // item codes in list order
    QStringList lines;     // item data lines, line i belongs to code i
    QString prefeito;
    QString secFin;
    QString contador;
    QString crc;
    bool totalRow = true; // false for the one kind whose page has no total row

    // Beside the page: the open data, the indexes and the print version.
    QString municipalityName; // the municipality's name alone
    QString state;            // its state, "MG"
    QString prefix;           // the kind's file prefix, "trib-arrec-"
    QString period;           // the period number: "1".."12", "1".."6", "0" for the annual kinds
    ReportCategory category = ReportCategory::Mensais;
    int position = -1; // the kind's position in its category; -1 when the title box holds none
};

/// Returns the page input of a catalogue kind with its title, columns, total-row rule and file
/// names filled in, and no municipality, period or items yet.
PageInput pageInputOf(const ReportKind &kind);

/// Tells whether column j (1-based) of the page holds money: fields 2..N of a money type, shown
/// right-aligned and summed in the total row.
bool isMoneyColumn(const PageInput &input, int j);

/// Tells whether the page shows an item's fields; an item whose field 2 is empty shows its code
/// alone and counts in no total.
bool showsFields(const RecordFields &fields);

/// Returns what item i shows in field j (1-based): its code in field 1, the line's field j
/// beyond it, nothing beyond the code when the line's field 2 is empty.
QString shownField(const PageInput &input, qsizetype i, int j);

/// Tells whether an item of a kind of n fields is left out of the totals: flagged "1" after them.
bool isExcludedFromTotals(const RecordFields &fields, int n);

/// Returns the texts of the page's total row for fields 1..N: a money column's sum written as
/// money, an empty text for every other column.
QStringList columnTotals(const PageInput &input);

// A page's items split into their fields once, their amounts read once and
// its money columns summed: what the page, the CSV and the JSON each read of
// every item.
class PageRows {
public:
    /// Splits every item of the page, reads its amounts and sums its money columns.
    explicit PageRows(const PageInput &input);
    /// Returns the fields of item i, as RecordFields splits its line; none when it has no line.
    RecordFields fields(qsizetype i) const;
    /// Returns canonicalCents of the amount item i shows in money column j (2..N), read once.
    std::optional<std::int64_t> cents(qsizetype i, int j) const;
    /// Returns the total row's texts as columnTotals does.
    const QStringList &totals() const { return totals_; }

private:
    QStringView line(qsizetype i) const; // item i's line, empty when it has none

    const PageInput &input_;
    std::vector<quint32> ends_;       // where each field of each item ends, item after item
    std::vector<qsizetype> first_;    // item i's ends start at first_[i]; one more closes the last
    std::vector<int> money_;          // the money columns, 2..N
    std::vector<int> slot_;           // column j's place in money_, -1 for any other column
    std::vector<std::int64_t> cents_; // per item, one per money column; kNoCents when none
    QStringList totals_;
};

/// Returns how field j (1-based) is shaped: money by its type, as the page reads it, otherwise
/// by the kind's catalogue entry, or by the type alone when the input names no kind.
FieldShape fieldShape(const PageInput &input, int j);

/// Returns the page's entries in order; each is written followed by CR LF and may hold LF inside.
QStringList buildPage(const PageInput &input);

/// Returns a text with "&", "<" and ">" written as character entities.
QString escapeHtml(const QString &text);

/// Writes the page entries to the year's page file, creating the year's directory when missing; a
/// year that is no four-digit text writes nothing and says nothing.
FileResult writePageFile(const QString &ano, const QString &prefixo, const QString &periodo,
                         const QStringList &entries);

/// Writes the page straight into its file, encoded on the way and never held whole, with the same
/// bytes, directory and results as writePageFile of buildPage's entries.
FileResult streamPageFile(const QString &ano, const QString &prefixo, const QString &periodo,
                          const PageInput &input);

/// Writes the page straight into its file as streamPageFile does, its items split beforehand.
FileResult streamPageFile(const QString &ano, const QString &prefixo, const QString &periodo,
                          const PageInput &input, const PageRows &rows);

/// Is told each item's index once its row of the page is written.
using PageRowFollower = std::function<void(qsizetype i)>;

/// Writes the page as streamPageFile does into the year's folder, which must exist, telling
/// `follow` of each item as its row is written, so that what is written beside the page reads the
/// item while it is at hand.
FileResult streamPageFile(const QString &ano, const QString &prefixo, const QString &periodo,
                          const PageInput &input, const PageRows &rows,
                          const PageRowFollower &follow);

} // namespace quelvara
