#include "install/runtime_installation.h"

#include <string_view>

#include "install/install_choices.h"
#include "system/external_programs.h"
#include "system/fixed_text.h"
#include "system/primitives.h"
#include "system/system_controls.h"

namespace qov {
namespace {

// The CD's runtimes\qovexe archive of the family with the given extension,
// extracted into the destination already set.
void extract_runtime_archive(std::string_view extension) {
  NameJoiner(extraction_block().archive)
      .cd_root(install_choices.cd_root)
      .literal("runtimes\\qovexe")
      .literal(view(install_choices.runtime_family))
      .literal(extension);
  extract_archive();
}

} // namespace

void install_runtime() {
  set_text(install_choices.install_started, "S");
  install_system_controls();
  set_text(extraction_block().destination, "c:\\");
  if (holds(install_choices.runtime_family, "mf"))
    extract_runtime_archive(".ex@");
  extract_runtime_archive(".co@");
}

} // namespace qov
