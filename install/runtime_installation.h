// The run-time installation: marks the installation as started, makes sure
// the system controls are installed and extracts the run-time of the chosen
// family into C:\.
#pragma once

namespace qov {

void install_runtime();

} // namespace qov
