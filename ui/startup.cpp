#include "startup.h"

#include "platform.h"

namespace quelvara {

bool startInWorkingFolder(FolderLock &lock)
{
    const FileResult taken = takeWorkingFolder(lock);
    if (!taken.ok()) {
        // No window exists yet: the message stands alone, and then the program ends.
        platform().showMessage(nullptr, taken.message());
        return false;
    }
    return true;
}

} // namespace quelvara
