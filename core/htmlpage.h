#pragma once

#include "fileresult.h"

#include <QList>
#include <QString>
#include <QStringList>

// The report page: one HTML file per report kind, year and period, with one
// column per field, one row per item, the column totals and the signature
// block. Building the page is pure; writing it touches the year's directory
// beside "dados" only.
namespace quelvara {

// Everything the page shows, read from the editor when the page is written.
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
};

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

} // namespace quelvara
