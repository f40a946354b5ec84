#pragma once

#include "fileresult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>

class QFile;

// The file layer: whole text files as lines, written with an atomic replace so
// that a failed or interrupted save never leaves a half-written file behind.
//
// A save writes a temporary file beside the target, named after it with a
// random part and the ending ".quelvara-tmp", syncs it, and renames it over
// the target; then it syncs the directory. A save killed half-way leaves only
// such a temporary file, which no reader takes for data and which the next
// start removes.
namespace quelvara {

enum class ReadStatus { Ok, Missing, Unreadable };

struct TextLines {
    ReadStatus status = ReadStatus::Missing;
    QStringList lines;
    bool tooLarge = false; // unreadable because larger than kMaxFileSize
};

// No file of the program comes near this size: a report of 100,000 items is
// about 10 MB. A larger file is not the program's (or is damaged); reading it
// would take seconds and gigabytes, so it is refused like an unreadable file,
// and like one it is never written over.
inline constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

/// Reads a Windows-1252 text file as lines (ending at CR, LF or CR LF; the last needs no end).
TextLines readLines(const QString &path);

// A text file decoded as one text, with a view into it of each of its lines:
// for a file only read, whose lines need no text of their own. The views stay
// valid as long as the text, or a copy of it, is alive and left unchanged.
struct WholeText {
    ReadStatus status = ReadStatus::Missing;
    QString text;
    QList<QStringView> lines;
    bool tooLarge = false; // unreadable because larger than kMaxFileSize
};

/// Reads a Windows-1252 text file as one text with its lines split as readLines splits them.
WholeText readWholeText(const QString &path);

/// Replaces a file atomically with the lines, each followed by CR LF; the old file stays whole on
/// failure, which says that the file could not be created.
FileResult writeLines(const QString &path, const QStringList &lines);

// A file written as text in pieces, each encoded as it comes, that replaces
// the old file atomically on commit through the same temporary file, syncs
// and rename as writeBytes: until then, and whenever a piece or the commit
// fails, the old file stays whole and the temporary file is removed. A large
// file so never stands whole in memory.
/// Appends bytes to an array by copying them into its room: QByteArray's own append takes its
/// general insertion path, several times the cost of the copy for short pieces.
inline void appendBytes(QByteArray &bytes, QByteArrayView piece)
{
    const qsizetype at = bytes.size();
    bytes.resize(at + piece.size());
    std::memcpy(bytes.data() + at, piece.data(), std::size_t(piece.size()));
}

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
    /// Appends bytes already encoded (UTF-8 open data) as they are.
    void write(QByteArrayView bytes);
    /// Writes bytes over as many written before, from the offset on; what lies beyond what was
    /// written fails the whole file.
    // For a value known only once the rest is written, at the place kept for
    // it among the first bytes.
    void overwrite(qsizetype offset, QByteArrayView bytes);
    /// Replaces the file with what was written; says that it could not be created otherwise.
    FileResult commit();

    /// The size at which what was written goes to the file; bytes handed over in a piece at least
    /// this large go to the file at once, without a copy.
    // Each piece is a write call, and on a journalling file system each call
    // also records the file's new times: a page of ten thousand items went
    // down in 42 calls of 64 kB, and goes in 11 of this size.
    static constexpr qsizetype kPiece = 256 * 1024;

private:
    void flush();
    void abandon();

    QString path_;
    QString dir_;
    QString finalPath_;
    std::unique_ptr<QFile> file_; // the temporary file; closed once committed or abandoned
    QByteArray buffer_;
    bool failed_ = false;
};

/// Replaces a file atomically with the bytes; the old file stays whole on failure, which says that
/// the file could not be created.
FileResult writeBytes(const QString &path, const QByteArray &bytes);

/// Replaces a file atomically with the lines as writeLines does, unless it already holds exactly
/// the bytes it would be given: such a file is left as it is.
FileResult writeChangedLines(const QString &path, const QStringList &lines);

/// Splits Windows-1252 bytes into lines as readLines does.
QStringList decodeLines(const QByteArray &bytes);

/// Encodes lines as writeLines writes them, or nothing if a character does not fit Windows-1252.
std::optional<QByteArray> encodeLines(const QStringList &lines);

/// Tells whether a file name is one the file layer gives its temporary files.
bool isTemporaryFileName(const QString &name);

/// Removes the file layer's temporary files from a directory (not its sub-directories); returns
/// the paths removed.
QStringList removeTemporaryFiles(const QString &dir);

/// Removes the temporary files that killed saves left in the data directory, its year directories
/// and the page directories beside it; returns the paths removed.
QStringList removeLeftoverTemporaryFiles();

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

// A seam for tests: every step of a file replace asks the hook first, which
// may let it go on, make it fail with a system error number, or (for a write)
// make it write only part of its bytes, as a full disk or a network drive may.

/// One step of an atomic file replace.
enum class FileStep { Create, Write, Sync, Close, Rename, SyncDirectory };

/// What the hook makes of a step.
struct StepOutcome {
    int error = 0;           // a system error number: the step fails
    bool shortWrite = false; // a write puts only part of its bytes down
};

/// The hook is told the step and the full path of the file being replaced.
using FileStepHook = std::function<StepOutcome(FileStep step, const QString &path)>;

/// Installs a hook asked before every step of every file replace; an empty hook removes it.
void setFileStepHook(FileStepHook hook);

} // namespace quelvara
