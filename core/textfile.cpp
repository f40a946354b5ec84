#include "textfile.h"

#include "codec.h"
#include "messages.h"
#include "platformfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace quelvara {

namespace {

const QString kTemporarySuffix = QStringLiteral(".quelvara-tmp");
constexpr int kRandomLength = 8;

// Large files go down in pieces, each one a step a full disk can fail. Each
// piece is a system call, and a call costs more than copying a few kilobytes:
// a piece holds the fullest writer buffer (just under twice its size) whole.
constexpr qint64 kWriteChunk = 2 * TextFileWriter::kPiece;

FileStepHook &stepHook()
{
    static FileStepHook hook;
    return hook;
}

StepOutcome askHook(FileStep step, const QString &path)
{
    return stepHook() ? stepHook()(step, path) : StepOutcome{};
}

QString temporaryName(const QString &targetName)
{
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString name = targetName + u'.';
    for (int i = 0; i < kRandomLength; ++i) {
        name += QChar(kAlphabet[QRandomGenerator::global()->bounded(36)]);
    }
    return name + kTemporarySuffix;
}

// Creates a new temporary file beside the target; never opens an existing one.
bool createTemporary(QFile &file, const QString &dir, const QString &targetName)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        file.setFileName(QDir(dir).filePath(temporaryName(targetName)));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            return true;
        }
        if (QFileInfo::exists(file.fileName())) {
            continue; // another name is free
        }
        return false;
    }
    return false;
}

// Writes the bytes into the temporary file of a replace of `path`.
bool writeAll(QFile &file, const QString &path, const char *data, qint64 size)
{
    qint64 left = size;
    do {
        qint64 chunk = std::min(left, kWriteChunk);
        const StepOutcome outcome = askHook(FileStep::Write, path);
        if (outcome.error != 0) {
            return false;
        }
        if (outcome.shortWrite && chunk > 1) {
            chunk /= 2;
        }
        if (chunk > 0 && file.write(data, chunk) != chunk) {
            return false;
        }
        data += chunk;
        left -= chunk;
    } while (left > 0);
    return true;
}

// Where a replace writes: the file a link points to (the link stays), its
// directory, and the permissions a replaced file keeps.
struct ReplaceTarget {
    QString dir;
    QString finalPath;
    QString fileName;
    std::optional<QFileDevice::Permissions> permissions;
};

// Tells where a replace of the path writes, or nothing if the file there
// cannot be replaced (a directory, a read-only file).
std::optional<ReplaceTarget> replaceTarget(const QString &path)
{
    QFileInfo target(path);
    if (target.isSymLink()) {
        target.setFile(target.symLinkTarget());
    }
    ReplaceTarget result;
    if (target.exists()) {
        if (!target.isFile() || !target.isWritable()) {
            return std::nullopt;
        }
        result.permissions = target.permissions();
    }
    result.dir = target.absolutePath();
    result.finalPath = target.absoluteFilePath();
    result.fileName = target.fileName();
    return result;
}

// Creates the temporary file of a replace, open for writing.
bool beginReplace(QFile &file, const ReplaceTarget &target)
{
    if (askHook(FileStep::Create, target.finalPath).error != 0 ||
        !createTemporary(file, target.dir, target.fileName)) {
        return false;
    }
    if (target.permissions) {
        // A replaced file keeps its permissions; a failure here loses no data.
        file.setPermissions(*target.permissions);
        file.unsetError();
    }
    return true;
}

// Syncs and closes the temporary file and renames it over the target, then
// syncs the directory; removes the temporary file if it is not in place.
bool finishReplace(QFile &file, const QString &dir, const QString &finalPath)
{
    bool ok = askHook(FileStep::Sync, finalPath).error == 0 && platformfile::syncFile(file);
    const bool closeFailed = askHook(FileStep::Close, finalPath).error != 0;
    file.close();
    ok = ok && !closeFailed && file.error() == QFileDevice::NoError;
    if (!ok) {
        file.remove();
        return false;
    }
    if (askHook(FileStep::Rename, finalPath).error != 0 ||
        !platformfile::replaceFile(file.fileName(), finalPath)) {
        file.remove();
        return false;
    }
    // The new file is in place, but until the directory is synced a power
    // cut may still bring back the old one: the user must hear of it.
    return askHook(FileStep::SyncDirectory, finalPath).error == 0 &&
           platformfile::syncDirectory(dir);
}

// Calls line(begin, end) for each line of the bytes. A line ends at its first
// CR or LF; a CR LF is one end; the last line needs none. The ends are the
// same bytes in Windows-1252 as in the decoded text, so a line's bytes and
// its characters stand at the same positions.
template <typename Line>
void forEachLine(QByteArrayView bytes, Line line)
{
    const char *const begin = bytes.data();
    const char *p = begin;
    const char *const end = p + bytes.size();
    // Both ends are found with the C library's search, which looks at many
    // bytes at a time.
    while (p < end) {
        const auto *lf = static_cast<const char *>(std::memchr(p, '\n', std::size_t(end - p)));
        const char *lineEnd = lf ? lf : end;
        const auto *cr = static_cast<const char *>(std::memchr(p, '\r', std::size_t(lineEnd - p)));
        if (cr) {
            lineEnd = cr;
        }
        line(p - begin, lineEnd - begin);
        if (lineEnd == end) {
            break;
        }
        p = lineEnd + (*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n' ? 2 : 1);
    }
}

// Reads a whole file's bytes, or tells in the status why it could not.
QByteArray readBytes(const QString &path, ReadStatus &status, bool &tooLarge)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        status = ReadStatus::Missing;
        return {};
    }
    status = ReadStatus::Unreadable;
    if (info.size() > kMaxFileSize) {
        tooLarge = true;
        return {};
    }
    // A directory, a pipe or a device in place of a file is no data (and a
    // pipe would never end).
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray bytes = file.read(info.size());
    // The file may have grown since it was measured.
    char more[16 * 1024];
    for (qint64 got; (got = file.read(more, sizeof more)) > 0;) {
        bytes.append(more, got);
        if (bytes.size() > kMaxFileSize) {
            tooLarge = true;
            return {};
        }
    }
    if (file.error() != QFileDevice::NoError) {
        return {};
    }
    status = ReadStatus::Ok;
    return bytes;
}

} // namespace

QStringList decodeLines(const QByteArray &bytes)
{
    // Each line is decoded straight from its bytes.
    QStringList lines;
    forEachLine(bytes, [&](qsizetype begin, qsizetype end) {
        lines.append(decodeCp1252(QByteArrayView(bytes.constData() + begin, end - begin)));
    });
    return lines;
}

std::optional<QByteArray> encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    qsizetype size = 0;
    for (const QString &line : lines) {
        size += line.size() + 2;
    }
    bytes.reserve(size);
    for (const QString &line : lines) {
        if (!appendCp1252(bytes, line)) {
            return std::nullopt;
        }
        bytes += "\r\n";
    }
    return bytes;
}

TextLines readLines(const QString &path)
{
    TextLines result;
    const QByteArray bytes = readBytes(path, result.status, result.tooLarge);
    if (result.status == ReadStatus::Ok) {
        result.lines = decodeLines(bytes);
    }
    return result;
}

WholeText readWholeText(const QString &path)
{
    WholeText result;
    const QByteArray bytes = readBytes(path, result.status, result.tooLarge);
    if (result.status == ReadStatus::Ok) {
        result.text = decodeCp1252(bytes);
        const QChar *const text = result.text.constData();
        forEachLine(bytes, [&](qsizetype begin, qsizetype end) {
            result.lines.append(QStringView(text + begin, text + end));
        });
    }
    return result;
}

namespace {

FileResult replaceWithLines(const QString &path, const QStringList &lines, bool keepWhenSame)
{
    const std::optional<QByteArray> bytes = encodeLines(lines);
    if (!bytes) {
        // A text no file can hold is never written in part.
        return FileResult::failed(msg::cannotCreateFile(path));
    }
    if (keepWhenSame) {
        // Rewriting the same bytes would only cost a sync and a rename; a
        // file that cannot be read in full is written.
        ReadStatus status = ReadStatus::Missing;
        bool tooLarge = false;
        if (readBytes(path, status, tooLarge) == *bytes && status == ReadStatus::Ok) {
            return FileResult::done();
        }
    }
    return writeBytes(path, *bytes);
}

} // namespace

FileResult writeLines(const QString &path, const QStringList &lines)
{
    return replaceWithLines(path, lines, false);
}

FileResult writeChangedLines(const QString &path, const QStringList &lines)
{
    return replaceWithLines(path, lines, true);
}

FileResult writeBytes(const QString &path, const QByteArray &bytes)
{
    const FileResult failed = FileResult::failed(msg::cannotCreateFile(path));
    const std::optional<ReplaceTarget> target = replaceTarget(path);
    if (!target) {
        return failed;
    }
    QFile temporary;
    if (!beginReplace(temporary, *target)) {
        return failed;
    }
    if (!writeAll(temporary, target->finalPath, bytes.constData(), bytes.size())) {
        temporary.close();
        temporary.remove();
        return failed;
    }
    return finishReplace(temporary, target->dir, target->finalPath) ? FileResult::done() : failed;
}

TextFileWriter::TextFileWriter(const QString &path)
    : path_(path)
    , file_(std::make_unique<QFile>())
{
    buffer_.reserve(kWriteChunk); // room for the fullest buffer
    const std::optional<ReplaceTarget> target = replaceTarget(path);
    failed_ = !target || !beginReplace(*file_, *target);
    if (target) {
        dir_ = target->dir;
        finalPath_ = target->finalPath;
    }
}

TextFileWriter::~TextFileWriter() { abandon(); }

void TextFileWriter::abandon()
{
    if (file_->isOpen()) {
        file_->close();
        file_->remove();
    }
}

void TextFileWriter::write(QStringView text)
{
    if (failed_) {
        return;
    }
    // A text no file can hold is never written in part.
    failed_ = !appendCp1252(buffer_, text);
    if (buffer_.size() >= kPiece) {
        flush();
    }
}

void TextFileWriter::write(QLatin1String ascii)
{
    write(QByteArrayView(ascii.data(), ascii.size()));
}

void TextFileWriter::write(QByteArrayView bytes)
{
    if (failed_) {
        return;
    }
    if (bytes.size() >= kPiece) {
        // A piece that fills the buffer by itself goes to the file as it is,
        // without a copy.
        flush();
        failed_ = failed_ || !writeAll(*file_, finalPath_, bytes.data(), bytes.size());
        return;
    }
    appendBytes(buffer_, bytes);
    if (buffer_.size() >= kPiece) {
        flush();
    }
}

void TextFileWriter::flush()
{
    if (!failed_ && !buffer_.isEmpty()) {
        failed_ = !writeAll(*file_, finalPath_, buffer_.constData(), buffer_.size());
    }
    // Emptied, not released: the next piece fills the same room.
    buffer_.resize(0);
}

void TextFileWriter::overwrite(qsizetype offset, QByteArrayView bytes)
{
    if (failed_) {
        return;
    }
    const qint64 inFile = file_->pos(); // the file is written in order: all before the buffer
    if (offset < 0 || offset + bytes.size() > inFile + buffer_.size()) {
        failed_ = true;
        return;
    }
    if (offset >= inFile) {
        // Not yet in the file: changed where it waits.
        std::memcpy(buffer_.data() + (offset - inFile), bytes.data(), std::size_t(bytes.size()));
        return;
    }
    flush();
    const qint64 end = file_->pos();
    failed_ = failed_ || !file_->seek(offset) ||
              !writeAll(*file_, finalPath_, bytes.data(), bytes.size()) || !file_->seek(end);
}

FileResult TextFileWriter::commit()
{
    const FileResult failed = FileResult::failed(msg::cannotCreateFile(path_));
    flush();
    if (failed_ || !file_->isOpen()) {
        abandon();
        return failed;
    }
    return finishReplace(*file_, dir_, finalPath_) ? FileResult::done() : failed;
}

bool isTemporaryFileName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^.+\\.[a-z0-9]{%1}%2$")
                                                .arg(kRandomLength)
                                                .arg(QRegularExpression::escape(kTemporarySuffix)));
    return pattern.match(name).hasMatch();
}

QStringList removeTemporaryFiles(const QString &dir)
{
    QStringList removed;
    const QDir directory(dir);
    const QStringList names =
        directory.entryList({QStringLiteral("*") + kTemporarySuffix},
                            QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QString path = directory.filePath(name);
        if (isTemporaryFileName(name) && QFile::remove(path)) {
            removed.append(path);
        }
    }
    return removed;
}

QStringList removeLeftoverTemporaryFiles()
{
    // The program writes into the data directory, its year directories, and
    // the page directories (named by a four-digit year) beside it.
    static const QRegularExpression year(QStringLiteral("^\\d{4}$"));
    QStringList dirs{dataDir()};
    const QStringList years =
        QDir(dataDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &name : years) {
        dirs.append(QDir(dataDir()).filePath(name));
    }
    const QStringList pages = QDir(baseDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : pages) {
        if (year.match(name).hasMatch()) {
            dirs.append(QDir(baseDir()).filePath(name));
        }
    }
    QStringList removed;
    for (const QString &dir : dirs) {
        removed += removeTemporaryFiles(dir);
    }
    return removed;
}

QString baseDir() { return QDir::currentPath(); }

QString dataDir() { return QDir(baseDir()).filePath(QStringLiteral("dados")); }

QString dataFile(const QString &name) { return QDir(dataDir()).filePath(name); }

bool dirExists(const QString &path) { return QFileInfo(path).isDir(); }

bool makeDir(const QString &path)
{
    if (dirExists(path)) {
        return true;
    }
    QDir().mkdir(path);
    return dirExists(path);
}

bool fileExists(const QString &path) { return QFileInfo(path).isFile(); }

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

void setFileStepHook(FileStepHook hook) { stepHook() = std::move(hook); }

} // namespace quelvara
