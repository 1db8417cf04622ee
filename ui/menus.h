// The menus: main, module, country, the version step and run-time.
//
// They are nested: the main menu runs the module menu, which runs the country
// menu or the version step, which run the run-time menu, which starts the
// installation procedure. Each menu blanks the choices it and the later levels
// decide before it waits, so coming back to a menu starts from blank fields.
#pragma once

#include <cstdint>

namespace qov {

// The key code with which the update panel "PSETUP" was left; 0 when none.
extern int16_t pending_update_key;

// Runs the main menu until the module menu is left with 287, 27 or -5.
void run_main_menu();

// The levels under it, repeated until the installation procedure has been
// entered (`install_started` "S") or the user leaves them.
void run_module_menu();
void run_country_menu();
// Sets the version "600" without asking, then runs the run-time menu once.
void run_version_step();
void run_runtime_menu();

} // namespace qov
