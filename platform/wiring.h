// Chooses the layers behind the installer's boundaries for this run, from
// the environment (QOV_TRACE, QOV_GUI_SCRIPT, QOV_MACHINE) and the terminal,
// and installs them. On a usage error, says so on standard error and ends the
// process (status 2, or 99 for a bad answer file) before any window opens.
#pragma once

namespace qov {

void wire_platform();

} // namespace qov
