#pragma once

#include "fileresult.h"
#include "htmlpage.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Open data beside every page: the same items and totals as a CSV file and a
// JSON file that programs can read. Building them is pure; writing them
// replaces each file whole, next to the page of the same name.
namespace quelvara {

/// Returns a money text as a plain number: decimal comma, no thousands separator, at least two
/// decimals ("1.234,5" gives "1234,50"); an empty text when it holds no number.
QString plainAmount(const QString &moneyText);

/// Returns a caption as a column name: without its trailing ":".
QString columnName(const QString &caption);

/// Returns what the JSON calls the type of field j (1-based): "valor", "data", "cnpj" or "texto".
QString fieldTypeName(const PageInput &input, int j);

/// Returns a moment as ISO 8601 local time with its offset from UTC, "2005-03-10T14:30:00-03:00".
QString isoLocalTime(const QDateTime &moment);

/// Returns the report's CSV: UTF-8 with a byte-order mark, ";" between fields, quoting where a
/// field holds ";", a quote, a line break or another control character, CR LF after each line.
QByteArray buildCsv(const PageInput &input);

/// Returns the report's JSON document in UTF-8, stamped with the moment its page was written.
QByteArray buildJson(const PageInput &input, const QDateTime &updatedAt);

/// Writes the CSV and the JSON beside the page, then, unless told not to, the year's index and
/// the index of the years; a failed file does not stop the others, and the first failure is the
/// one returned. A year that is no four-digit text writes nothing and says nothing.
FileResult writeOpenData(const PageInput &input, bool withIndexes = true);

/// Writes the open data as writeOpenData does, the page's items split beforehand.
FileResult writeOpenData(const PageInput &input, bool withIndexes, const PageRows &rows);

/// Writes the page as streamPageFile does, then, once it is in place, the open data and indexes as
/// writeOpenData does, with the same bytes and results; each item is read once for all three.
/// Open data are written only beside a page that was.
FileResult writePageAndOpenData(const PageInput &input, bool withIndexes, const PageRows &rows);

} // namespace quelvara
