#pragma once

#include "fileresult.h"

#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>

// One copy of the program per data folder. Two copies working on the same
// files would each write back what they read before the other's save, so the
// later save undoes the earlier one. Every program that writes the folder's
// files (the window program, the command line) takes this lock first and keeps
// it until it ends.
//
// The lock is a file in the working directory holding the computer's name and
// the process number of its holder. A lock left by a copy that crashed on this
// computer is recognised (its process is gone) and taken over. A lock held
// from another computer is never taken over by age: that copy may simply have
// been open for long; the copy on that computer takes it over when started
// there again.
namespace quelvara {

/// Who holds a folder's lock, as far as its lock file tells.
struct LockHolder {
    QString computer; // empty when not known
    qint64 process = 0; // 0 when not known
};

class FolderLock {
public:
    enum class Status { Unlocked, Acquired, HeldByOther, Failed };

    /// Prepares the lock of a folder without taking it.
    explicit FolderLock(const QString &folder);

    /// Releases the lock if it is held.
    ~FolderLock();

    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    /// Takes the lock, taking over one that a crashed copy left on this computer; tells how it
    /// went.
    Status acquire();

    /// Returns who holds the lock when acquire() found it held by another copy.
    std::optional<LockHolder> holder() const;

    /// Releases the lock (nothing happens when it is not held).
    void release();

    /// Returns the state of the last acquire() or release().
    Status status() const { return status_; }

    /// Returns the path of the lock file.
    QString path() const { return path_; }

    /// Returns the name of the lock file in a folder.
    static QString fileName();

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    Status status_ = Status::Unlocked;
};

/// Takes the working directory for this copy of the program with the lock given for it, then
/// removes the temporary files that killed saves left; or returns the message that says why the
/// program cannot go on, having touched no file.
FileResult takeWorkingFolder(FolderLock &lock);

} // namespace quelvara
