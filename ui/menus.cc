#include "ui/menus.h"

namespace qov {

int16_t pending_update_key = 0;

// Filled in with the menu screens.
void run_main_menu() {}

} // namespace qov
