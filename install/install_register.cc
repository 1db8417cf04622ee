#include "install/install_register.h"

#include "install/install_choices.h"
#include "system/fixed_text.h"

namespace qov {

// Hooks until the register is read and written: nothing is recorded.
void find_recorded_folder() {
  set_spaces(install_choices.update_folder);
}
void record_installation() {}
void unrecord_other_family() {}
void list_installations() {}
void apply_update_line() {}
void show_installation_list() {}

} // namespace qov
