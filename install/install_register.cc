#include "install/install_register.h"

#include "install/install_choices.h"
#include "system/fixed_text.h"

namespace qov {

// Until the register is read, nothing is recorded.
void find_recorded_folder() { set_spaces(install_choices.update_folder); }

}  // namespace qov
