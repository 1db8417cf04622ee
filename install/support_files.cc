#include "install/support_files.h"

#include <string_view>

#include "install/application_archives.h"
#include "install/install_choices.h"
#include "system/fixed_text.h"
#include "system/primitives.h"

namespace qov {
namespace {

// c:\qovexe and the two characters of the family: c:\qovexemf, c:\qovexerm.
NameJoiner& runtime_folder(NameJoiner& name) {
  return name.literal("c:\\qovexe").literal(view(install_choices.runtime_family));
}

// A file of the run-time folder copied under another name in that folder.
void copy_within_runtime(std::string_view from, std::string_view to) {
  NameJoiner source(primitive_area.copy_source);
  runtime_folder(source).literal(from);
  NameJoiner target(primitive_area.copy_target);
  runtime_folder(target).literal(to);
  copy_file();
}

void copy_msvcrt() {
  const InstallChoices& c = install_choices;
  bool system32 = holds(c.system32_present, "S");
  NameJoiner(primitive_area.copy_source)
      .choice(c.windows_folder)
      .literal(system32 ? "\\system32\\msvcrt.dll" : "\\system\\msvcrt.dll");
  NameJoiner target(primitive_area.copy_target);
  runtime_folder(target).literal("\\msvcrt.dll");
  copy_file();
}

void copy_unzip() {
  NameJoiner(primitive_area.copy_source)
      .cd_root(install_choices.cd_root)
      .literal("utils\\unzip.exe");
  NameJoiner target(primitive_area.copy_target);
  runtime_folder(target).literal("\\unzip.exe");
  copy_file();
}

void copy_rotation_file() {
  NameJoiner(primitive_area.copy_source).folder(app_source_folder).literal("\\QOVROT.TXT");
  NameJoiner(primitive_area.copy_target)
      .folder(install_choices.target_folder)
      .literal("\\QOVROT.TXT");
  copy_file();
}

} // namespace

void install_support_files() {
  // The GUI library's files under the second names the product loads.
  copy_within_runtime("\\SP2IMA32.DLL", "\\QPRIMA32.DLL");
  copy_within_runtime("\\SP2TVW32.DLL", "\\QPRTVW32.DLL");
  copy_within_runtime("\\SP2OCX32.DLL", "\\QPROCX32.DLL");
  copy_msvcrt();
  copy_unzip();
  if (holds(install_choices.module_code, "run"))
    return;
  // From here on the target folder is joined as a folder field.
  end_folder_field(install_choices.target_folder);
  copy_rotation_file();
}

} // namespace qov
