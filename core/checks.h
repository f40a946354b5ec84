#pragma once

#include "catalogue.h"

#include <QList>
#include <QString>

// Checks before publishing: what in a report's data files would put a wrong
// or incomplete page before the public. The checks read the data files and
// the registries and never write; each finding tells the report, period, item
// and field it concerns and, in Portuguese, what to do about it.
namespace quelvara {

enum class Severity { Erro, Aviso };

struct Finding {
    Severity severity = Severity::Erro;
    ReportCategory category = ReportCategory::Mensais;
    int position = 0; // the report kind: its position in the category's titles
    int period = 0;   // 1 to 12 or 1 to 6; 0 for the annual kinds
    QString item;     // the item's code; empty when the finding concerns the whole report
    int field = 0;    // from 1; 0 when the finding concerns the whole item or report
    QString message;

    friend bool operator==(const Finding &, const Finding &) = default;
};

/// Returns the periods of a kind that have a data file in the year (0 alone for an annual kind),
/// counting something that stands where the file belongs but is no file.
QList<int> periodsWithFiles(const ReportKind &kind, const QString &year);

/// Returns the findings of one report: a kind, given by category and position, a year and a
/// period; nothing when the report has no data file.
QList<Finding> checkReport(ReportCategory category, int position, const QString &year, int period);

/// Returns the findings of every period of one kind that has a data file in the year.
QList<Finding> checkKindYear(ReportCategory category, int position, const QString &year);

/// Returns the findings of every kind that has data files in the year.
QList<Finding> checkYear(const QString &year);

/// Puts findings in order of report, period, item (without regard to case) and field.
void sortFindings(QList<Finding> &findings);

/// Returns how many findings are errors.
int errorCount(const QList<Finding> &findings);

/// Returns the name of a severity: "erro" or "aviso".
QString severityText(Severity severity);

/// Returns the period a finding concerns as the user knows it ("Março", "2º Bimestre", "Anual").
QString periodText(const Finding &finding);

/// Returns the field a finding concerns as number and caption ("4 - Acumulado no Exercício"),
/// or an empty text.
QString fieldText(const Finding &finding);

} // namespace quelvara
