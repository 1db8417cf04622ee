#include "install/completion.h"

#include <cstring>
#include <string>
#include <string_view>

#include "install/application_archives.h"
#include "install/install_choices.h"
#include "system/fixed_text.h"
#include "system/primitives.h"
#include "system/process_exit.h"
#include "system/win1252.h"
#include "ui/message_block.h"
#include "ui/windows.h"

namespace qov {
namespace {

bool is_pos() {
  return holds(install_choices.module_code, "pos");
}

// folder, stem, version, the country digit when asked for, ".doc". Angola's
// documents carry the country in the version digits; the replacement is made
// in the file name only, so that a folder holding "4601" keeps its name.
void join_document(Field field, ConstField folder, std::string_view stem, bool with_digit) {
  const InstallChoices& c = install_choices;
  NameJoiner name(field);
  std::size_t folder_length = name.folder(folder).length();
  name.literal(stem).choice(c.version_code);
  if (with_digit)
    name.choice(c.country_digit);
  name.literal(".doc");
  if (holds(c.country, "angola"))
    replace_all(field.subspan(folder_length), "4601", "4611");
}

void copy_document(ConstField source_folder, std::string_view stem, bool with_digit) {
  join_document(primitive_area.copy_source, source_folder, stem, with_digit);
  join_document(primitive_area.copy_target, install_choices.target_folder, stem, with_digit);
  copy_file();
}

void copy_documents() {
  if (is_pos())
    copy_document(posto_source_folder, "\\pos0", true);
  else
    copy_document(app_source_folder, "\\qov", false);
  copy_document(app_source_folder, "\\emp0", true);
}

// The first character of the target folder before its first ":", or a space.
char target_drive_letter() {
  std::string_view folder = view(install_choices.target_folder);
  std::string_view drive = folder.substr(0, folder.find(':'));
  return drive.empty() ? ' ' : drive[0];
}

// Runs the product's batch file in the target folder, with "cobdir" set for it.
void launch_product(char drive) {
  primitive_area.drive_letter[0] = drive;
  set_drive();
  set_spaces(primitive_area.name_text);
  std::memcpy(primitive_area.name_text, install_choices.target_folder,
              sizeof install_choices.target_folder);
  change_folder();
  set_text(primitive_area.name_text, is_pos() ? "set cobdir=qovxxx & %comspec% /C call posto.bat"
                                              : "set cobdir=qovxxx & %comspec% /C call qov.bat");
  run_command();
}

// Tells the user what to run in the target folder.
void show_closing_message() {
  std::string text =
      w1252(is_pos() ? "Deve executar \"Zavod\" na Pasta \"" : "Deve executar \"Qov\" na Pasta \"");
  text += folder_piece(install_choices.target_folder);
  text += w1252("\" para configurar Instalação.");
  show_message(completion_message(text));
}

} // namespace

void complete_installation() {
  copy_documents();
  close_gui();
  char drive = target_drive_letter();
  if (drive >= 'A' && drive <= 'Z')
    launch_product(drive);
  else
    show_closing_message();
  stop_process();
}

} // namespace qov
