#include "textfile.h"

#include "codec.h"
#include "messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

namespace quelvara {

namespace {

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < n) {
        lines.append(text.mid(start));
    }
    return lines;
}

// fsync of a directory makes a rename in it durable.
void syncDirectory(const QString &dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

TextLines readLines(const QString &path)
{
    TextLines result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.status = ReadStatus::Missing;
        return result;
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        result.status = ReadStatus::Unreadable;
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = ReadStatus::Unreadable;
        return result;
    }
    result.status = ReadStatus::Ok;
    result.lines = splitLines(decodeCp1252(bytes));
    return result;
}

FileResult writeLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    qsizetype size = 0;
    for (const QString &line : lines) {
        size += line.size() + 2;
    }
    bytes.reserve(size);
    for (const QString &line : lines) {
        if (!appendCp1252(bytes, line)) {
            // A text no file can hold is never written in part.
            return FileResult::failed(msg::cannotCreateFile(path));
        }
        bytes += "\r\n";
    }
    return writeBytes(path, bytes);
}

FileResult writeBytes(const QString &path, const QByteArray &bytes)
{
    const FileResult failed = FileResult::failed(msg::cannotCreateFile(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return failed;
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return failed;
    }
    // QSaveFile does not report a failed sync: do it here, before the rename.
    if (::fsync(file.handle()) != 0) {
        file.cancelWriting();
        file.commit();
        return failed;
    }
    if (!file.commit()) {
        return failed;
    }
    syncDirectory(QFileInfo(path).absolutePath());
    return FileResult::done();
}

namespace {

// The encoded text goes to the file in pieces of this size.
constexpr qsizetype kWriterBuffer = 64 * 1024;

} // namespace

TextFileWriter::TextFileWriter(const QString &path)
    : path_(path)
    , file_(std::make_unique<QSaveFile>(path))
{
    failed_ = !file_->open(QIODevice::WriteOnly);
    buffer_.reserve(kWriterBuffer + 1024);
}

TextFileWriter::~TextFileWriter()
{
    if (file_->isOpen()) {
        file_->cancelWriting();
        file_->commit();
    }
}

void TextFileWriter::write(QStringView text)
{
    if (failed_) {
        return;
    }
    // A text no file can hold is never written in part.
    failed_ = !appendCp1252(buffer_, text);
    if (buffer_.size() >= kWriterBuffer) {
        flush();
    }
}

void TextFileWriter::write(QLatin1String ascii)
{
    if (failed_) {
        return;
    }
    buffer_.append(ascii.data(), ascii.size());
    if (buffer_.size() >= kWriterBuffer) {
        flush();
    }
}

void TextFileWriter::flush()
{
    if (!failed_ && !buffer_.isEmpty()) {
        failed_ = file_->write(buffer_) != buffer_.size();
    }
    buffer_.clear();
}

FileResult TextFileWriter::commit()
{
    const FileResult failed = FileResult::failed(msg::cannotCreateFile(path_));
    flush();
    if (!file_->isOpen()) {
        return failed;
    }
    // Synced before the rename, as writeLines does.
    if (failed_ || !file_->flush() || ::fsync(file_->handle()) != 0) {
        file_->cancelWriting();
        file_->commit();
        return failed;
    }
    if (!file_->commit()) {
        return failed;
    }
    syncDirectory(QFileInfo(path_).absolutePath());
    return FileResult::done();
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

} // namespace quelvara
