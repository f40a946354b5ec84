#include "catalogue.h"

namespace quelvara {
// Filled in with the catalogue tables.
} // namespace quelvara
