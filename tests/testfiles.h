#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
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
