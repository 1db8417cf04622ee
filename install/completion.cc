#include "install/completion.h"

#include "system/process_exit.h"
#include "ui/windows.h"

namespace qov {

// Hook: filled in with the documentation files and the launch.
void complete_installation() {
  close_gui();
  stop_process();
}

} // namespace qov
