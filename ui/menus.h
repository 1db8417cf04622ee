// The menus: main, module, country, the version step and run-time.
#pragma once

#include <cstdint>

namespace qov {

// The key code with which the update panel "PSETUP" was left; 0 when none.
extern int16_t pending_update_key;

// Runs the main menu until the module menu is left with 287, 27 or -5.
void run_main_menu();

} // namespace qov
