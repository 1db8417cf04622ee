#include "install/target_folder.h"

namespace qov {

// Hook: filled in with the folder dialog and its questions.
bool select_target_folder() {
  return false;
}

} // namespace qov
