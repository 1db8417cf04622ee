#include "install/installation_procedure.h"

#include "install/application_archives.h"
#include "install/completion.h"
#include "install/install_choices.h"
#include "install/runtime_installation.h"
#include "install/support_files.h"
#include "install/target_folder.h"
#include "system/fixed_text.h"

namespace qov {

void run_installation_procedure() {
  install_runtime();
  if (holds(install_choices.module_code, "run")) {
    install_support_files();
    return;
  }
  build_source_folders();
  if (!select_target_folder())
    return; // cancelled: the run-time and controls stay, nothing is recorded
  extract_application_archives();
  install_support_files();
  complete_installation();
}

} // namespace qov
