#pragma once

#include "codec.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Files for tests: a fresh working directory, and a file's bytes in and out.

// Runs a test in a fresh, empty working directory, restored afterwards. The
// directory lies one level inside a private one, so that a path that escapes
// it ("../x") still lands in nothing shared with other programs.
class ScratchDir {
public:
    ScratchDir()
        : previous_(QDir::currentPath())
        , work_(QDir(outer_.path()).filePath(QStringLiteral("work")))
    {
        QDir().mkdir(work_);
        QDir::setCurrent(work_);
    }
    ~ScratchDir() { QDir::setCurrent(previous_); }
    QString path() const { return work_; }
    QString file(const QString &relative) const { return QDir(work_).filePath(relative); }

private:
    QTemporaryDir outer_;
    QString previous_;
    QString work_;
};

// Returns a file's bytes, or "<unreadable>" so that a missing file never passes for an empty one.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArrayLiteral("<unreadable>");
    }
    return file.readAll();
}

// Writes a file by hand (its directories created), as a user or an older program might have.
inline void putFile(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Returns every file under the working directory with its bytes, to show that nothing was written.
inline QMap<QString, QByteArray> treeBytes()
{
    QMap<QString, QByteArray> files;
    QDirIterator it(QDir::currentPath(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, fileBytes(path));
    }
    return files;
}

// Writes a file (its directories created); tells whether every byte was written, so that a test
// checks its own set-up: QVERIFY(writeFile(...)).
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) &&
           file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Puts a directory where a file belongs: nothing can read or replace it as a file, not even root.
inline bool blockWithDirectory(const QString &path)
{
    return (!QFileInfo::exists(path) || QFile::remove(path)) && QDir().mkpath(path);
}

// Copies the sample registries and profile into the working directory's "dados", writable;
// tells whether every file was copied.
inline bool copySampleData(const ScratchDir &dir)
{
    const QDir samples(QStringLiteral(QUELVARA_SAMPLES_DIR));
    const QString target = dir.file(QStringLiteral("dados"));
    if (!samples.exists() || !QDir().mkpath(target)) {
        return false;
    }
    // Copied by hand: QFile::copy syncs every file to disk, which makes a suite of
    // hundreds of small tests wait on a busy disk.
    for (const QFileInfo &entry : samples.entryInfoList(QDir::Files)) {
        QFile source(entry.filePath());
        QFile copy(QDir(target).filePath(entry.fileName()));
        if (!source.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly) ||
            copy.write(source.readAll()) != source.size()) {
            return false;
        }
    }
    return true;
}

// Returns the bytes of a sample file of the data folder.
inline QByteArray sampleBytes(const QString &name)
{
    return fileBytes(QStringLiteral(QUELVARA_SAMPLES_DIR "/") + name);
}

// Returns the records of a sample file (each line without its CR LF).
inline QStringList sampleLines(const QString &name)
{
    QStringList lines =
        quelvara::decodeCp1252(sampleBytes(name)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

// Returns the bytes of a text file that holds the lines, each ended by CR LF, in Windows-1252.
inline QByteArray crlfBytes(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line + QStringLiteral("\r\n");
    }
    return quelvara::encodeCp1252(text).value_or(QByteArrayLiteral("<unencodable>"));
}

// Returns every file under a directory, relative to it, with its bytes (directories as "<dir>").
inline QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(QDir(root).relativeFilePath(path),
                       QFileInfo(path).isDir() ? QByteArrayLiteral("<dir>") : fileBytes(path));
    }
    return entries;
}

// A folder's files with the moments they were written taken out: the open data and the
// indexes tell when their page was written, which differs between two runs.
inline QMap<QString, QByteArray> timeless(const QString &root)
{
    static const QRegularExpression iso(
        QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d"));
    static const QRegularExpression shown(QStringLiteral("\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d"));
    QMap<QString, QByteArray> files = snapshot(root);
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (it.key().endsWith(QStringLiteral(".json")) ||
            it.key().endsWith(QStringLiteral("index.html"))) {
            // Latin-1 keeps every byte as it is; only ASCII digits are replaced.
            QString text = QString::fromLatin1(it.value());
            text.replace(iso, QStringLiteral("<instante>"))
                .replace(shown, QStringLiteral("<instante>"));
            it.value() = text.toLatin1();
        }
    }
    return files;
}

// Golden files: committed bytes of what the program writes, in tests/golden. Running a test with
// QUELVARA_REGENERATE_GOLDEN=1 in the environment writes what it produces there instead of
// comparing; nothing else ever writes them.
inline QString goldenPath(const QString &name)
{
    return QStringLiteral(QUELVARA_GOLDEN_DIR "/") + name;
}

// Returns the golden bytes to compare with; when regenerating, first replaces them by `actual`.
inline QByteArray goldenBytes(const QString &name, const QByteArray &actual)
{
    if (qEnvironmentVariableIntValue("QUELVARA_REGENERATE_GOLDEN") == 1) {
        QFile file(goldenPath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(actual) != actual.size()) {
            return QByteArrayLiteral("<golden file not written>");
        }
    }
    return fileBytes(goldenPath(name));
}

// Compares bytes with a golden file; a difference is reported line by line first, so that the
// message shows the first line that differs.
#define QUELVARA_COMPARE_GOLDEN(actual, name)                                                      \
    do {                                                                                           \
        const QByteArray actual_ = (actual);                                                       \
        const QByteArray golden_ = goldenBytes(name, actual_);                                     \
        if (actual_ != golden_) {                                                                  \
            QCOMPARE(actual_.split('\n'), golden_.split('\n'));                                    \
            QCOMPARE(actual_, golden_);                                                            \
        }                                                                                          \
    } while (false)
