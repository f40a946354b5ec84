#pragma once

#include "textfile.h"

#include <QString>
#include <QStringList>

// Registry files: small lists of two-field lines (code and name, or name and
// CNPJ in the CNPJ registry) kept in the data directory. A line is a record
// whose fields each end with a TAB; the order of the lines is the order of the
// entries, and a registry once saved stays in ascending case-insensitive order.
// A line edited by hand or exported from a spreadsheet may lack the TAB after
// its last field: its fields are read all the same, and written back with it.
namespace quelvara {

/// Returns the full path of a registry file, given by its bare name, in the data directory.
QString registryPath(const QString &fileName);

/// Reads a registry's lines in file order; a missing file is an empty registry.
TextLines readRegistry(const QString &fileName);

/// Writes the lines to the registry file atomically (the data directory must exist), each field
/// followed by its TAB.
FileResult writeRegistry(const QString &fileName, const QStringList &lines);

/// Returns field n (counting from 1) of a registry line, a last field without its closing TAB
/// included; n below 1 reads field 1.
QString registryLineField(const QString &line, int n);

/// Returns a registry line with a TAB after its last field, as registry files are written.
QString terminatedRegistryLine(const QString &line);

/// Builds a registry line from its first and second field.
QString makeRegistryLine(const QString &first, const QString &second);

/// Returns field n (1 or 2) of every line, in the lines' order.
QStringList registryColumn(const QStringList &lines, int n);

/// Removes from a typed field the TAB, CR and LF that would split its record or its line.
QString registryField(const QString &typed);

/// Sorts the lines in ascending case-insensitive order (compareTexts), stably.
void sortRegistry(QStringList &lines);

/// Tells whether the lines hold one equal to the line without regard to case (or a closing TAB).
bool containsLine(const QStringList &lines, const QString &line);

/// Inserts a line into sorted lines after its equals in order and returns its position.
qsizetype insertSorted(QStringList &lines, const QString &line);

} // namespace quelvara
