// Start-up: finds the installation CD, makes its "autorun\bin" folder the
// current folder, points the GUI library at its configuration files and
// detects the Windows system folder. Stops the process when no CD is found.
#pragma once

namespace qov {

void run_startup();

} // namespace qov
