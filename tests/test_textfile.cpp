#include "testfiles.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quelvara;

namespace {

// Everything in a directory but the named file: a failed save leaves no temporary behind.
QStringList othersIn(const QString &dir, const QString &name)
{
    QStringList entries = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    entries.removeAll(name);
    return entries;
}

bool runningAsRoot() { return ::geteuid() == 0; }

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT

private slots:
    void readsLineEnds_data();
    void readsLineEnds();
    void missingAndUnreadable();
    void writesCrLfAndCp1252();
    void replacesWholeFile();
    void writerKeepsPiecesInOrder();
    void overwriteChangesOnlyItsBytes_data();
    void overwriteChangesOnlyItsBytes();
    void changedLinesOnlyAreWritten_data();
    void changedLinesOnlyAreWritten();
    void unencodableLeavesFileAlone();
    void failedWriteKeepsOldFile_directoryInPlace();
    void failedWriteKeepsOldFile_sizeLimit();
    void failedWriteKeepsOldFile_readOnlyDirectory();
    void failedWriteInMissingDirectory();
    void paths();
    void hugeFileIsRefused();
    void pipeIsUnreadable();
    void temporaryNames_data();
    void temporaryNames();
    void leftoversRemovedOnlyWhereTheProgramWrites();
};

void TestTextFile::readsLineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("last without end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("tabs kept") << QByteArray("01\tIPTU\t\r\n") << QStringList{"01\tIPTU\t"};
    QTest::newRow("cp1252") << QByteArray("Fun\xE7\xE3o\r\n") << QStringList{"Função"};
}

void TestTextFile::readsLineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath("f.vqd");
    putFile(path, bytes);
    const TextLines read = readLines(path);
    QCOMPARE(read.status, ReadStatus::Ok);
    QCOMPARE(read.lines, lines);
}

void TestTextFile::missingAndUnreadable()
{
    QTemporaryDir dir;
    QCOMPARE(readLines(dir.filePath("none.vqd")).status, ReadStatus::Missing);

    QVERIFY(QDir(dir.path()).mkdir("adir.vqd"));
    QCOMPARE(readLines(dir.filePath("adir.vqd")).status, ReadStatus::Unreadable);

    if (!runningAsRoot()) {
        const QString locked = dir.filePath("locked.vqd");
        putFile(locked, "x\r\n");
        QFile::setPermissions(locked, QFileDevice::WriteOwner);
        QCOMPARE(readLines(locked).status, ReadStatus::Unreadable);
    }
}

void TestTextFile::writesCrLfAndCp1252()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.vqd");
    QVERIFY(writeLines(path, {"01\tImposto Predial\t", "", "Função º"}).ok());
    QCOMPARE(fileBytes(path), QByteArray("01\tImposto Predial\t\r\n\r\nFun\xE7\xE3o \xBA\r\n"));
    QCOMPARE(othersIn(dir.path(), "f.vqd"), QStringList());

    QVERIFY(writeLines(path, {}).ok());
    QCOMPARE(fileBytes(path), QByteArray());
}

void TestTextFile::replacesWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.vqd");
    putFile(path, "a much longer old content\r\nline two\r\n");
    QVERIFY(writeLines(path, {"new"}).ok());
    QCOMPARE(fileBytes(path), QByteArray("new\r\n"));
}

// Pieces of every size, buffered or written through, reach the file in the
// order they were written.
void TestTextFile::writerKeepsPiecesInOrder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.vqd");
    const QByteArray large(200 * 1024, 'x');
    QByteArray expected;
    {
        TextFileWriter writer(path);
        for (int round = 0; round < 3; ++round) {
            writer.write(QStringView(u"Fun\u00E7\u00E3o "));
            writer.write(QLatin1String("a\r\n"));
            writer.write(QByteArrayView(large).first(70000 + round));
            expected += "Fun\xE7\xE3o a\r\n" + large.first(70000 + round);
        }
        QVERIFY(writer.commit().ok());
    }
    QCOMPARE(fileBytes(path), expected);
}

// Bytes written over others, whether they still wait in the writer or are
// already in the file, change those bytes alone; what is written after them
// still goes at the end. Bytes past what was written fail the file.
void TestTextFile::overwriteChangesOnlyItsBytes_data()
{
    QTest::addColumn<int>("before"); // bytes written before the overwrite
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("size");
    constexpr int piece = int(TextFileWriter::kPiece);
    QTest::newRow("waiting") << 100 << 3 << 10;
    QTest::newRow("in the file") << piece + 200 << 3 << 10;
    QTest::newRow("across the file and what waits") << piece + 200 << piece + 96 << 10;
    QTest::newRow("at the very end") << 100 << 90 << 10;
    QTest::newRow("past the end") << 100 << 95 << 10;
    QTest::newRow("past the end, in the file") << piece + 200 << piece + 195 << 10;
}

void TestTextFile::overwriteChangesOnlyItsBytes()
{
    QFETCH(int, before);
    QFETCH(int, offset);
    QFETCH(int, size);
    QTemporaryDir dir;
    const QString path = dir.filePath("f.vqd");
    putFile(path, "antigo");
    QByteArray expected(before, 'a');
    for (int i = 0; i < before; ++i) {
        expected[i] = char('a' + i % 26);
    }
    const QByteArray patch(size, '#');
    TextFileWriter writer(path);
    // 100 bytes; for a large file then a piece, which goes to the file at once, and 100 that wait.
    qsizetype at = 0;
    for (const qsizetype chunk : {qsizetype(100), TextFileWriter::kPiece, qsizetype(100)}) {
        if (at < before) {
            writer.write(QByteArrayView(expected).sliced(at, chunk));
            at += chunk;
        }
    }
    writer.overwrite(offset, patch);
    writer.write(QLatin1String("fim"));
    const bool fits = offset + size <= before;
    QCOMPARE(writer.commit().ok(), fits);
    QCOMPARE(fileBytes(path), fits ? expected.replace(offset, size, patch) + "fim" : "antigo");
}

void TestTextFile::changedLinesOnlyAreWritten_data()
{
    QTest::addColumn<QByteArray>("old"); // empty: no file
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("replaced");

    const QString large(100 * 1024, u'x');
    const QByteArray largeBytes = QByteArray(100 * 1024, 'x') + "\r\n";
    QTest::newRow("same bytes") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"} << false;
    QTest::newRow("same size") << QByteArray("a\r\nb\r\n") << QStringList{"a", "c"} << true;
    QTest::newRow("longer file") << QByteArray("a\r\nb\r\n") << QStringList{"a"} << true;
    QTest::newRow("shorter file") << QByteArray("a\r\n") << QStringList{"a", "b"} << true;
    QTest::newRow("other line ends") << QByteArray("a\nb\n\n") << QStringList{"a", "b"} << true;
    QTest::newRow("no file") << QByteArray() << QStringList{"a"} << true;
    QTest::newRow("no file, no lines") << QByteArray() << QStringList{} << true;
    QTest::newRow("large, same") << largeBytes + largeBytes << QStringList{large, large} << false;
    QTest::newRow("large, last byte")
        << largeBytes + largeBytes.first(largeBytes.size() - 3) + "y\r\n"
        << QStringList{large, large} << true;
}

void TestTextFile::changedLinesOnlyAreWritten()
{
    QFETCH(QByteArray, old);
    QFETCH(QStringList, lines);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    const QString path = dir.filePath("f.vqd");
    if (!old.isEmpty()) {
        putFile(path, old);
    }
    // A replaced file is a new one: the old is renamed over.
    struct stat before {};
    const bool existed = ::stat(QFile::encodeName(path).constData(), &before) == 0;
    QVERIFY(writeChangedLines(path, lines).ok());
    struct stat after {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &after), 0);
    QCOMPARE(!existed || after.st_ino != before.st_ino, replaced);
    QCOMPARE(fileBytes(path), *encodeLines(lines));
    QCOMPARE(othersIn(dir.path(), "f.vqd"), QStringList());
}

void TestTextFile::unencodableLeavesFileAlone()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.vqd");
    putFile(path, "old\r\n");
    QVERIFY(!writeLines(path, {"ok", "seta → aqui"}).ok());
    QVERIFY(!writeChangedLines(path, {"ok", "seta → aqui"}).ok());
    QCOMPARE(fileBytes(path), QByteArray("old\r\n"));
    QCOMPARE(othersIn(dir.path(), "f.vqd"), QStringList());
}

void TestTextFile::failedWriteKeepsOldFile_directoryInPlace()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.vqd");
    QVERIFY(QDir(dir.path()).mkdir("f.vqd"));
    putFile(dir.filePath("f.vqd/inside"), "keep");
    QVERIFY(!writeLines(path, {"x"}).ok());
    QCOMPARE(fileBytes(dir.filePath("f.vqd/inside")), QByteArray("keep"));
    QCOMPARE(othersIn(dir.path(), "f.vqd"), QStringList());
}

void TestTextFile::failedWriteKeepsOldFile_sizeLimit()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.vqd");
    putFile(path, "old content\r\n");

    // A file-size limit makes the write fail part-way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit limited = previous;
    limited.rlim_cur = 64;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const FileResult status = writeLines(path, QStringList(100, QString(40, u'x')));
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &previous), 0);

    QVERIFY(!status.ok());
    QCOMPARE(fileBytes(path), QByteArray("old content\r\n"));
    QCOMPARE(othersIn(dir.path(), "f.vqd"), QStringList());
}

void TestTextFile::failedWriteKeepsOldFile_readOnlyDirectory()
{
    if (runningAsRoot()) {
        QSKIP("root writes into read-only directories");
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("f.vqd");
    putFile(path, "old\r\n");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const FileResult status = writeLines(path, {"new"});
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!status.ok());
    QCOMPARE(fileBytes(path), QByteArray("old\r\n"));
}

void TestTextFile::failedWriteInMissingDirectory()
{
    QTemporaryDir dir;
    QVERIFY(!writeLines(dir.filePath("no/such/f.vqd"), {"x"}).ok());
    QVERIFY(!QFileInfo::exists(dir.filePath("no")));
}

void TestTextFile::paths()
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QString base = QDir::currentPath();
    QCOMPARE(baseDir(), base);
    QCOMPARE(dataDir(), base + "/dados");
    QCOMPARE(dataFile("cnpj.vqd"), base + "/dados/cnpj.vqd");
    QVERIFY(!dirExists(dataDir()));
    QVERIFY(makeDir(dataDir()));
    QVERIFY(dirExists(dataDir()));
    QVERIFY(makeDir(dataDir()));      // existing is fine
    QVERIFY(!makeDir(base + "/a/b")); // one level only
    QVERIFY(!fileExists(dataDir()));
    QCOMPARE(nativePath("dados/x.vqd"), QDir::toNativeSeparators(base + "/dados/x.vqd"));
    QDir::setCurrent(previous);
}

void TestTextFile::hugeFileIsRefused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.vqd");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(kMaxFileSize + 1)); // sparse: costs no disk
    file.close();
    const TextLines read = readLines(path);
    QCOMPARE(read.status, ReadStatus::Unreadable);
    QVERIFY(read.tooLarge);
    QVERIFY(read.lines.isEmpty());
    QVERIFY(!readLines(dir.filePath("none.vqd")).tooLarge);
}

void TestTextFile::pipeIsUnreadable()
{
    // Opening a pipe would wait for a writer for ever.
    QTemporaryDir dir;
    const QString path = dir.filePath("f.vqd");
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QCOMPARE(readLines(path).status, ReadStatus::Unreadable);
}

void TestTextFile::temporaryNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("temporary");
    QTest::newRow("made by a save") << "tributos.vqd.a1b2c3d4.quelvara-tmp" << true;
    QTest::newRow("page") << "trib-arrec-3-2005.htm.zzzzzzzz.quelvara-tmp" << true;
    QTest::newRow("data file") << "tributos.vqd" << false;
    QTest::newRow("user's backup") << "tributos.vqd.backup" << false;
    QTest::newRow("short random part") << "tributos.vqd.a1b2c3.quelvara-tmp" << false;
    QTest::newRow("upper case") << "tributos.vqd.A1B2C3D4.quelvara-tmp" << false;
    QTest::newRow("suffix alone") << ".a1b2c3d4.quelvara-tmp" << false;
    QTest::newRow("more after it") << "x.a1b2c3d4.quelvara-tmp.vqd" << false;
}

void TestTextFile::temporaryNames()
{
    QFETCH(QString, name);
    QFETCH(bool, temporary);
    QCOMPARE(isTemporaryFileName(name), temporary);
}

void TestTextFile::leftoversRemovedOnlyWhereTheProgramWrites()
{
    ScratchDir scratch;
    const QStringList leftovers{"dados/prefs.vqd.00aa11bb.quelvara-tmp",
                                "dados/2005/trib-arrec-3-2005.vqd.00aa11bb.quelvara-tmp",
                                "2005/trib-arrec-3-2005.htm.00aa11bb.quelvara-tmp"};
    const QStringList kept{"dados/prefs.vqd", "dados/prefs.vqd.backup0.tmp",
                           "notas/x.vqd.00aa11bb.quelvara-tmp",
                           "dados/2005/antigos/x.vqd.00aa11bb.quelvara-tmp"};
    for (const QString &name : leftovers + kept) {
        putFile(scratch.file(name), "x");
    }
    QStringList removed = removeLeftoverTemporaryFiles();
    QStringList expected;
    for (const QString &name : leftovers) {
        expected.append(scratch.file(name));
    }
    removed.sort();
    expected.sort();
    QCOMPARE(removed, expected);
    for (const QString &name : kept) {
        QCOMPARE(fileBytes(scratch.file(name)), QByteArray("x"));
    }
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "test_textfile.moc"
