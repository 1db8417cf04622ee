// The update path: the update screen and the panel "PSETUP", offered when the
// register holds an installation.
#pragma once

namespace qov {

// Shows the proposed installation on the update screen and the list of
// recorded installations on "PSETUP" until the user leaves the panel with
// -5, 3, 15 or 316. Each change of the selection redraws the update screen
// and reopens the panel. Leaves `update_folder` set to the selected folder
// (40 characters, then spaces) and the key in `pending_update_key`.
void run_update_path();

// The register operations the update path calls, the install register's by
// default. Tests put their own recorded installations in this way.
struct UpdateRegisterSteps {
  void (*list_installations)();
  void (*apply_update_line)();
  void (*show_installation_list)();
};
UpdateRegisterSteps install_register_steps();
void set_update_register_steps(const UpdateRegisterSteps& steps);

} // namespace qov
