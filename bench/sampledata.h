#pragma once

#include <QString>
#include <QStringList>

// Data folders of a large municipality, generated for the benchmarks and for
// the comparison of the files the report session writes: n accounts, budget
// units, revenue heads and suppliers in the registries, and for 2005 twelve
// months of taxes whose accumulated values agree, six bimesters of expenses
// by budget unit, twelve months of purchases and the annual revenue forecast.
// The same n always gives the same bytes.
namespace quelvara::sample {

inline const QString kYear = QStringLiteral("2005");

/// Returns the code of tax account i, like "1112.02.00": same shape for every i, so code order
/// is number order.
QString taxCode(int i);

/// Returns the code of budget unit i, like "02.001.004".
QString unitCode(int i);

/// Returns an amount of cents as a money text, like "12.345,67".
QString moneyText(qint64 cents);

/// Returns the amount in cents that item i has in period p (1-based).
qint64 periodCents(int i, int p);

/// Returns the tax registry of n accounts, in the order the program keeps it.
QStringList taxRegistry(int n);

/// Returns the data lines of the monthly taxes of month p (1 to 12) for n accounts: amounts and
/// accumulated values that agree with the months before.
QStringList taxLines(int n, int p);

/// Writes the whole data folder ("dados" with its registries, profile and year 2005) under base.
void writeDataFolder(const QString &base, int n);

} // namespace quelvara::sample
