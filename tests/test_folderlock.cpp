#include "folderlock.h"
#include "messages.h"
#include "testfiles.h"
#include "textfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QSysInfo>
#include <QTest>

using namespace quelvara;

namespace {

const QByteArray kLeftover = "dados/tributos.vqd.k3j9x0aa.quelvara-tmp";

// Writes a lock file as another copy of the program would have left it.
void putLock(const ScratchDir &dir, qint64 pid, const QString &computer)
{
    putFile(dir.file(FolderLock::fileName()),
            QByteArray::number(pid) + "\nquelvara\n" + computer.toUtf8() + "\n");
}

// Returns the number of a process of this computer that has ended.
qint64 endedProcess()
{
    QProcess process;
    process.start(QStringLiteral("true"), {});
    if (!process.waitForStarted()) {
        return 0;
    }
    const qint64 pid = process.processId();
    process.waitForFinished();
    return pid;
}

} // namespace

class TestFolderLock : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void acquiresAndReleases();
    void secondCopyIsToldWhoHoldsIt();
    void lockOfACrashedCopyIsTakenOver();
    void lockFromAnotherComputerIsNeverStale();
    void folderThatCannotBeLocked();
    void takingTheFolderRemovesLeftovers();
    void secondCopyTouchesNoFile();

private:
    std::unique_ptr<ScratchDir> dir_;
};

void TestFolderLock::init() { dir_ = std::make_unique<ScratchDir>(); }

void TestFolderLock::cleanup() { dir_.reset(); }

void TestFolderLock::acquiresAndReleases()
{
    const QString lockPath = dir_->file(FolderLock::fileName());
    {
        FolderLock lock(dir_->path());
        QCOMPARE(lock.path(), lockPath);
        QCOMPARE(lock.acquire(), FolderLock::Status::Acquired);
        QCOMPARE(lock.acquire(), FolderLock::Status::Acquired); // again: still ours
        QVERIFY(QFileInfo::exists(lockPath));
        lock.release();
        QVERIFY(!QFileInfo::exists(lockPath));
        QCOMPARE(lock.acquire(), FolderLock::Status::Acquired);
    }
    QVERIFY(!QFileInfo::exists(lockPath)); // released on destruction
}

void TestFolderLock::secondCopyIsToldWhoHoldsIt()
{
    FolderLock first(dir_->path());
    QCOMPARE(first.acquire(), FolderLock::Status::Acquired);
    FolderLock second(dir_->path());
    QCOMPARE(second.acquire(), FolderLock::Status::HeldByOther);
    const std::optional<LockHolder> holder = second.holder();
    QVERIFY(holder);
    QCOMPARE(holder->computer, QSysInfo::machineHostName());
    QCOMPARE(holder->process, QCoreApplication::applicationPid());
    QVERIFY(!first.holder()); // the holder has nobody to name
    first.release();
    QCOMPARE(second.acquire(), FolderLock::Status::Acquired);
}

void TestFolderLock::lockOfACrashedCopyIsTakenOver()
{
    const qint64 pid = endedProcess();
    QVERIFY(pid > 0);
    putLock(*dir_, pid, QSysInfo::machineHostName());
    FolderLock lock(dir_->path());
    QCOMPARE(lock.acquire(), FolderLock::Status::Acquired);
}

void TestFolderLock::lockFromAnotherComputerIsNeverStale()
{
    putLock(*dir_, 4242, QStringLiteral("contabilidade-02"));
    QFile file(dir_->file(FolderLock::fileName()));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-3),
                             QFileDevice::FileModificationTime));
    file.close();

    FolderLock lock(dir_->path());
    QCOMPARE(lock.acquire(), FolderLock::Status::HeldByOther);
    QCOMPARE(lock.holder()->computer, QStringLiteral("contabilidade-02"));
    QCOMPARE(lock.holder()->process, 4242);
    const FileResult taken = takeWorkingFolder(lock);
    QCOMPARE(taken.message(), msg::folderInUse(baseDir(), "contabilidade-02", 4242));
    QVERIFY(taken.message().contains(QStringLiteral("no computador contabilidade-02, processo 4242")));
}

void TestFolderLock::folderThatCannotBeLocked()
{
    FolderLock lock(dir_->file(QStringLiteral("no/such/folder")));
    QCOMPARE(lock.acquire(), FolderLock::Status::Failed);
    QVERIFY(!lock.holder());
    const FileResult taken = takeWorkingFolder(lock);
    QVERIFY(!taken.ok());
    QCOMPARE(taken.message(), msg::cannotLockFolder(lock.path()));
}

void TestFolderLock::takingTheFolderRemovesLeftovers()
{
    putFile(dir_->file(kLeftover), "half a save");
    putFile(dir_->file("dados/2005/trib-arrec-3-2005.vqd.00000000.quelvara-tmp"), "x");
    putFile(dir_->file("2005/trib-arrec-3-2005.htm.abcdefgh.quelvara-tmp"), "x");
    putFile(dir_->file("dados/tributos.vqd"), "01\tIPTU\t\r\n");
    putFile(dir_->file("dados/tributos.vqd.backup"), "kept");
    FolderLock lock(dir_->path());
    QVERIFY(takeWorkingFolder(lock).ok());
    QCOMPARE(lock.status(), FolderLock::Status::Acquired);
    QVERIFY(!QFileInfo::exists(dir_->file(kLeftover)));
    QVERIFY(!QFileInfo::exists(dir_->file("dados/2005/trib-arrec-3-2005.vqd.00000000.quelvara-tmp")));
    QVERIFY(!QFileInfo::exists(dir_->file("2005/trib-arrec-3-2005.htm.abcdefgh.quelvara-tmp")));
    QCOMPARE(fileBytes(dir_->file("dados/tributos.vqd")), QByteArray("01\tIPTU\t\r\n"));
    QCOMPARE(fileBytes(dir_->file("dados/tributos.vqd.backup")), QByteArray("kept"));
}

void TestFolderLock::secondCopyTouchesNoFile()
{
    // What looks like a leftover may be the first copy's save in progress.
    putFile(dir_->file(kLeftover), "a save in progress");
    FolderLock first(dir_->path());
    QVERIFY(takeWorkingFolder(first).ok());
    putFile(dir_->file(kLeftover), "a save in progress");
    FolderLock second(dir_->path());
    QVERIFY(!takeWorkingFolder(second).ok());
    QCOMPARE(fileBytes(dir_->file(kLeftover)), QByteArray("a save in progress"));
    QCOMPARE(second.status(), FolderLock::Status::HeldByOther);
}

QTEST_GUILESS_MAIN(TestFolderLock)
#include "test_folderlock.moc"
