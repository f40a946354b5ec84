#include "platformfile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace quelvara::platformfile {

bool syncFile(QFile &file) { return ::fsync(file.handle()) == 0; }

bool syncDirectory(const QString &dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        // A directory that may be written but not listed cannot be opened to
        // be synced; the rename stands, and there is nothing more to do.
        return errno == EACCES || errno == EPERM;
    }
    int result = ::fsync(fd);
    // Some file systems (network ones among them) cannot sync a directory
    // and say so: that is no lost save. An I/O error or a full disk is.
    if (result != 0 && (errno == EINVAL || errno == ENOTSUP || errno == EOPNOTSUPP)) {
        result = 0;
    }
    ::close(fd);
    return result == 0;
}

bool replaceFile(const QString &source, const QString &target)
{
    return ::rename(QFile::encodeName(source).constData(),
                    QFile::encodeName(target).constData()) == 0;
}

} // namespace quelvara::platformfile
