#include "platformfile.h"

#include <QDir>

#include <io.h>
#include <windows.h>

namespace quelvara::platformfile {

// _commit flushes the file's buffers to the disk (FlushFileBuffers).
bool syncFile(int handle) { return ::_commit(handle) == 0; }

// Windows cannot open a directory to flush it; MoveFileEx below writes the
// rename through instead.
bool syncDirectory(const QString &) { return true; }

bool replaceFile(const QString &source, const QString &target)
{
    const QString from = QDir::toNativeSeparators(source);
    const QString to = QDir::toNativeSeparators(target);
    return ::MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()),
                         reinterpret_cast<const wchar_t *>(to.utf16()),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

} // namespace quelvara::platformfile
