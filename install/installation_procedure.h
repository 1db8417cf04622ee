// The installation procedure: the steps of one installation, in order.
#pragma once

namespace qov {

// Installs the run-time and, for "pos" and "apl", the application into a
// folder the user picks. Returns to the menus for "run" and when the user
// cancels the target folder; otherwise ends the process.
void run_installation_procedure();

} // namespace qov
