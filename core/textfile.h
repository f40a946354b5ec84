#pragma once

#include "fileresult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The file layer: whole text files as lines, written with an atomic replace so
// that a failed save never leaves a half-written file behind.
namespace quelvara {

enum class ReadStatus { Ok, Missing, Unreadable };

struct TextLines {
    ReadStatus status = ReadStatus::Missing;
    QStringList lines;
};

/// Reads a Windows-1252 text file as lines (ending at CR, LF or CR LF; the last needs no end).
TextLines readLines(const QString &path);

/// Replaces a file atomically with the lines, each followed by CR LF; the old file stays whole on
/// failure, which says that the file could not be created.
FileResult writeLines(const QString &path, const QStringList &lines);

/// Replaces a file atomically with the bytes; the old file stays whole on failure, which says that
/// the file could not be created.
FileResult writeBytes(const QString &path, const QByteArray &bytes);

/// Returns the base directory: the process's current working directory.
QString baseDir();

/// Returns the data directory, "dados" under the base directory.
QString dataDir();

/// Returns the path of a file in the data directory.
QString dataFile(const QString &name);

/// Tells whether a directory exists.
bool dirExists(const QString &path);

/// Creates one directory level if it does not exist; tells whether it exists afterwards.
bool makeDir(const QString &path);

/// Tells whether a file (not a directory) exists.
bool fileExists(const QString &path);

/// Returns the full path with the platform's separators, as messages show it.
QString nativePath(const QString &path);

} // namespace quelvara
