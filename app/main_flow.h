// The installer's top-level sequence.
#pragma once

namespace qov {

// Puts every shared work area in its state at program start.
void reset_run_state();

// Start-up, the main window, the update offer, the menus and the end. Never
// returns: the process ends with the pending exit code.
[[noreturn]] void run_installer();

} // namespace qov
