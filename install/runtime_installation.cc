#include "install/runtime_installation.h"

#include "install/install_choices.h"
#include "system/fixed_text.h"

namespace qov {

// Hook: filled in with the system controls and the run-time archives.
void install_runtime() {
  set_text(install_choices.install_started, "S");
}

} // namespace qov
