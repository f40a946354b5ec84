#include "folderlock.h"

#include "messages.h"
#include "textfile.h"

#include <QDir>

namespace quelvara {

FolderLock::FolderLock(const QString &folder)
    : path_(QDir(folder).filePath(fileName()))
    , lock_(std::make_unique<QLockFile>(path_))
{
    // Zero: never stale by age. Another computer's copy may be open for days;
    // only a holder that is gone from this computer is stale.
    lock_->setStaleLockTime(0);
}

FolderLock::~FolderLock() { release(); }

FolderLock::Status FolderLock::acquire()
{
    if (status_ == Status::Acquired) {
        return status_;
    }
    if (lock_->tryLock(0)) {
        status_ = Status::Acquired;
    } else {
        status_ = lock_->error() == QLockFile::LockFailedError ? Status::HeldByOther
                                                                : Status::Failed;
    }
    return status_;
}

std::optional<LockHolder> FolderLock::holder() const
{
    qint64 pid = 0;
    QString hostname;
    QString appname;
    if (status_ != Status::HeldByOther || !lock_->getLockInfo(&pid, &hostname, &appname)) {
        return std::nullopt;
    }
    return LockHolder{hostname, pid > 0 ? pid : 0};
}

void FolderLock::release()
{
    if (status_ == Status::Acquired) {
        lock_->unlock();
    }
    status_ = Status::Unlocked;
}

QString FolderLock::fileName() { return QStringLiteral("quelvara.lock"); }

FileResult takeWorkingFolder(FolderLock &lock)
{
    switch (lock.acquire()) {
    case FolderLock::Status::Acquired:
        break;
    case FolderLock::Status::HeldByOther: {
        const LockHolder holder = lock.holder().value_or(LockHolder{});
        return FileResult::failed(msg::folderInUse(baseDir(), holder.computer, holder.process));
    }
    default:
        return FileResult::failed(msg::cannotLockFolder(lock.path()));
    }
    // Only now that no other copy can be saving here may its temporary files go.
    removeLeftoverTemporaryFiles();
    return FileResult::done();
}

} // namespace quelvara
