#include "system/system_controls.h"

#include <string_view>

#include "install/install_choices.h"
#include "system/fixed_text.h"
#include "system/primitives.h"

namespace qov {
namespace {

bool has_system32() {
  return holds(install_choices.system32_present, "S");
}

// The Windows folder as far as its first space, then the system folder.
NameJoiner& system_folder(NameJoiner& name) {
  name.choice(install_choices.windows_folder);
  return name.literal(has_system32() ? "\\system32" : "\\system");
}

bool control_present(std::string_view control) {
  NameJoiner name(primitive_area.name_text);
  system_folder(name).literal(control);
  return file_exists();
}

// Copies the control from the CD's autorun\bin folder into the system folder.
void copy_control(std::string_view control) {
  NameJoiner(primitive_area.copy_source)
      .cd_root(install_choices.cd_root)
      .literal("autorun\\bin")
      .literal(control);
  NameJoiner target(primitive_area.copy_target);
  system_folder(target).literal(control);
  copy_file();
}

// regsvr32 of the system folder, silent, on the control in the system folder.
void register_control(std::string_view control) {
  NameJoiner line(primitive_area.name_text);
  system_folder(line).literal("\\regsvr32.exe /s ");
  system_folder(line).literal(control);
  run_command();
}

constexpr std::string_view kComdlg = "\\comdlg32.ocx";
constexpr std::string_view kMvzipunz = "\\mvzipunz.ocx";

} // namespace

void install_system_controls() {
  if (!control_present(kComdlg)) {
    copy_control(kComdlg);
    register_control(kComdlg);
  }
  if (!control_present(kMvzipunz))
    copy_control(kMvzipunz); // registered below with the first control
  register_control(kComdlg);
  register_control(kMvzipunz);
}

} // namespace qov
