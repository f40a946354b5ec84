#pragma once

#include "folderlock.h"

// The step between choosing the data folder and opening the main window.
namespace quelvara {

/// Takes the working folder for this copy of the program (its lock, then the removal of what
/// killed saves left); says why and returns false when the program must end without a window.
bool startInWorkingFolder(FolderLock &lock);

} // namespace quelvara
