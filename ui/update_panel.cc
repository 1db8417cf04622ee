#include "ui/update_panel.h"

namespace qov {

// Filled in with the update screen and the panel "PSETUP".
void run_update_path() {}

} // namespace qov
