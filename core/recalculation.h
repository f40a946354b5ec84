#pragma once

#include "accumulate.h"
#include "catalogue.h"
#include "itemlist.h"
#include "reportdata.h"
#include "textfile.h"

#include <QList>
#include <QString>
#include <QStringList>

// "Atualizar Valores" without the disk: the periods of one report kind and
// year from the first up to a given one, each merged with the kind's registry
// and its accumulated values computed from the period before as just
// recomputed, as the recalculation writes them. Nothing is written here; the
// editor writes what it gets, and the checks compare the files with it.
namespace quelvara {

// One period as the recalculation leaves it.
struct RecalculatedPeriod {
    int period = 0;
    QString path;                            // its data file
    ReadStatus status = ReadStatus::Missing; // of the data file as it was read
    QStringList stored;                      // the data file's lines as read
    ItemList items;                          // the item list as the recalculation writes it
    QStringList messages;                    // what computing its accumulated values tells

    /// Tells whether the recalculation writes the period: never over a file it could not read.
    bool written() const { return status != ReadStatus::Unreadable; }
};

/// Returns the field types of a kind's fields 1 to 10, Texto beyond its field count.
FieldTypes kindFieldTypes(const ReportKind &kind);

/// Returns one period of a kind and year as loading it builds it, its accumulated values computed
/// from the previous period given (period 1 starts from its own amounts).
RecalculatedPeriod recalculatePeriod(const ReportKind &kind, const QString &year,
                                     const QStringList &registry, int period,
                                     const PreviousPeriod &previous);

/// Returns periods 1 to n of a kind and year as "Atualizar Valores" writes them, reading each data
/// file once; nothing for a year that is no year.
QList<RecalculatedPeriod> recalculatePeriods(const ReportKind &kind, const QString &year,
                                             const QStringList &registry, int n);

} // namespace quelvara
