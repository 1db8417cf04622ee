// The target folder: proposed, chosen in the folder dialog RAVUVU32, checked,
// and recorded in the register.
#pragma once

namespace qov {

// Returns true when a folder was accepted (and recorded), false when the user
// cancelled the installation.
bool select_target_folder();

} // namespace qov
