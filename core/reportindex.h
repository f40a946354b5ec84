#pragma once

#include "catalogue.h"
#include "fileresult.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// The indexes a citizen starts from: one page per year listing every report
// of the year that has a page, with its open data, its print version and when
// it was last written, and one page beside "dados" listing the years. A report
// is known by the catalogue's prefixes and period numbers, never by reading
// meaning into whatever file lies in the directory.
namespace quelvara {

// One report of a year whose page exists.
struct PublishedReport {
    ReportCategory category = ReportCategory::Mensais;
    QString title;
    QString period;      // "3"; "0" for the annual kinds
    QString periodName;  // "Março"; empty for the annual kinds
    QString baseName;    // the page's name without its extension, "trib-arrec-3-2005"
    QDateTime updatedAt; // when the page was last written
    bool hasCsv = false;
    bool hasJson = false;
    bool hasPdf = false;
};

// One year that has an index and at least one page.
struct PublishedYear {
    QString year;
    int reports = 0;
    QDateTime updatedAt; // when its latest page was written
};

/// Returns the period numbers of a category in order: "1".."12", "1".."6", or "0" alone.
QStringList periodNumbers(ReportCategory category);

/// Returns the reports of a year whose page exists, in catalogue order and period order.
QList<PublishedReport> publishedReports(const QString &ano);

/// Returns the years beside "dados" that have an index and at least one page, latest first.
QList<PublishedYear> publishedYears();

/// Returns a moment as the indexes show it: "Atualizado em dd/mm/aaaa hh:mm".
QString updatedText(const QDateTime &moment);

/// Returns the year's index as an HTML5 page in UTF-8.
QByteArray buildYearIndex(const QString &ano, const QString &municipality,
                          const QList<PublishedReport> &reports);

/// Returns the index of the years as an HTML5 page in UTF-8.
QByteArray buildRootIndex(const QString &municipality, const QList<PublishedYear> &years);

/// Rewrites the year's index and the index of the years from the pages on disk; a year that is no
/// four-digit text writes nothing and says nothing.
FileResult writeIndexes(const QString &ano, const QString &municipality);

} // namespace quelvara
