#include "install/application_archives.h"

#include "system/fixed_text.h"

namespace qov {

char posto_source_folder[80];
char app_source_folder[80];

// Hooks: filled in with the source folders and the archive table.
void build_source_folders() {
  set_spaces(posto_source_folder);
  set_spaces(app_source_folder);
}

void extract_application_archives() {}

} // namespace qov
