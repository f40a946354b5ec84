#include "platformfile.h"

#include <QDir>

#include <windows.h>

namespace quelvara::platformfile {

// Qt gives no handle of a file it opened by name on Windows; a second handle
// to the same file flushes the same data (the system caches per file).
bool syncFile(QFile &file)
{
    const QString name = QDir::toNativeSeparators(file.fileName());
    const HANDLE handle = ::CreateFileW(reinterpret_cast<const wchar_t *>(name.utf16()),
                                        GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool flushed = ::FlushFileBuffers(handle) != 0;
    ::CloseHandle(handle);
    return flushed;
}

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
