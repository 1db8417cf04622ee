#include "app/startup.h"

namespace qov {

// Filled in with the CD search and the environment set-up.
void run_startup() {}

} // namespace qov
