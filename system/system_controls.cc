#include "system/system_controls.h"

namespace qov {

// Hook: filled in with the copies and registrations.
void install_system_controls() {}

} // namespace qov
