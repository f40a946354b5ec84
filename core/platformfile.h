#pragma once

#include <QFile>
#include <QString>

// The few calls of the file layer that differ between operating systems, one
// small function each, so that everything above them builds everywhere.
namespace quelvara::platformfile {

/// Forces the written data of an open file onto the disk; tells whether that worked.
bool syncFile(QFile &file);

/// Forces a directory's entries (a rename just made in it) onto the disk; tells whether that
/// worked or the system has no such sync, and false only on a real failure.
bool syncDirectory(const QString &dir);

/// Puts a file in place of another in one step, replacing it if it exists; tells whether that
/// worked.
bool replaceFile(const QString &source, const QString &target);

} // namespace quelvara::platformfile
