#pragma once

#include "fileresult.h"

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>

class QSaveFile;

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

// A file written as text in pieces, each encoded as it comes, that replaces
// the old file atomically on commit, as writeLines does: until then, and
// whenever a piece or the commit fails, the old file stays whole. A large
// file so never stands whole in memory.
class TextFileWriter {
public:
    /// Starts replacing the file at the path.
    explicit TextFileWriter(const QString &path);
    /// Drops what was written unless it was committed.
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter &) = delete;
    TextFileWriter &operator=(const TextFileWriter &) = delete;

    /// Appends a text encoded as Windows-1252; a character no file can hold fails the whole file.
    void write(QStringView text);
    /// Appends a fixed text of ASCII characters as it is.
    void write(QLatin1String ascii);
    /// Replaces the file with what was written; says that it could not be created otherwise.
    FileResult commit();

private:
    void flush();

    QString path_;
    std::unique_ptr<QSaveFile> file_;
    QByteArray buffer_;
    bool failed_ = false;
};

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
