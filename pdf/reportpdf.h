#pragma once

#include "fileresult.h"
#include "htmlpage.h"

#include <QByteArray>

// The print version of a report: A4 landscape sheets with the report's head,
// the table with its heading row on every sheet, the totals, the signatures
// kept whole on one sheet, and "Página X de Y" at the foot. The fonts travel
// inside the file, so it prints the same anywhere.
namespace quelvara {

/// Returns the report as PDF bytes, or nothing when no QGuiApplication is running (fonts need one).
QByteArray buildPdf(const PageInput &input);

/// Writes the PDF beside the page, then rewrites the year's index and the index of the years so
/// that they link it; a year that is no four-digit text writes nothing and says nothing.
FileResult writePdf(const PageInput &input);

} // namespace quelvara
