#pragma once

#include "textfile.h"

#include <QString>
#include <QStringList>

#include <optional>

// The municipality profile as the main window keeps it on disk: the
// municipality file (name and state in one record) and the officials file
// (mayor, finance secretary, accountant and CRC, one per line, in this order;
// the report editor reads the same four lines for its signature block).
namespace quelvara {

inline const QString kMunicipalityFile = QStringLiteral("prefeitura.vqd");
inline const QString kOfficialsFile = QStringLiteral("prefs.vqd");

/// Number of lines of the officials file.
inline constexpr int kOfficialsCount = 4;

/// The municipality's name and state as the municipality file holds them.
struct Municipality {
    QString name;
    QString state;
};

/// Returns a name or state fit for the municipality record: without TAB, CR or LF.
QString municipalityText(const QString &text);

/// Returns an official's text fit for one line of the officials file: without CR or LF.
QString officialText(const QString &text);

/// Builds the municipality file's lines: one record, the name and the state, each followed by a
/// TAB.
QStringList municipalityLines(const QString &name, const QString &state);

/// Takes the name and state from the first line of the municipality file, or nothing when it has
/// none.
std::optional<Municipality> municipalityFromLines(const QStringList &lines);

/// Builds the officials file's four lines from the four texts (missing ones written empty).
QStringList officialsLines(const QStringList &officials);

/// Takes the officials that the file has, at most four, in file order.
QStringList officialsFromLines(const QStringList &lines);

/// Reads a profile file of the data directory into lines; a missing or unreadable file has none.
TextLines readProfileFile(const QString &fileName);

/// Replaces a profile file of the data directory, creating the directory (one level) when missing.
FileResult writeProfileFile(const QString &fileName, const QStringList &lines);

} // namespace quelvara
