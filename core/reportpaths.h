#pragma once

#include "fileresult.h"

#include <QString>

// Where a report's files lie: the data file in the year's directory under
// "dados"; the page, the files published beside it and the year's index in the
// year's directory beside "dados"; the index of the years beside "dados".
namespace quelvara {

/// Tells whether a year text may be used in a path: exactly four digits.
bool isValidYear(const QString &ano);

/// Returns the year's directory of data files, "dados/<ano>".
QString dataYearDir(const QString &ano);

/// Returns the data file of a report kind, year and period:
/// "dados/<ano>/<prefixo><periodo>-<ano>.vqd".
QString dataFilePath(const QString &ano, const QString &prefixo, const QString &periodo);

/// Returns the year's directory of pages, "<ano>" beside "dados".
QString pageYearDir(const QString &ano);

/// Makes the year's directory of pages when missing; fails, with nothing to show, for a text that
/// is not a year (one still being typed), and says so when the directory cannot be made.
FileResult makePageYearDir(const QString &ano);

/// Returns the page of a report kind, year and period: "<ano>/<prefixo><periodo>-<ano>.htm".
QString pageFilePath(const QString &ano, const QString &prefixo, const QString &periodo);

/// Returns a file beside the page that differs from it in the extension alone:
/// "<ano>/<prefixo><periodo>-<ano><extension>", the extension given with its dot.
QString besidePagePath(const QString &ano, const QString &prefixo, const QString &periodo,
                       const QString &extension);

/// Returns the name of besidePagePath's file without its directory:
/// "<prefixo><periodo>-<ano><extension>".
QString besidePageName(const QString &ano, const QString &prefixo, const QString &periodo,
                       const QString &extension);

/// Returns the year's index of reports, "<ano>/index.html" beside "dados".
QString yearIndexPath(const QString &ano);

/// Returns the index of the years, "index.html" beside "dados".
QString rootIndexPath();

} // namespace quelvara
