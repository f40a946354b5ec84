#include "itemlist.h"

namespace quelvara {
// Filled in with the item list.
} // namespace quelvara
