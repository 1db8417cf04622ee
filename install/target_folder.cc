#include "install/target_folder.h"

#include <cstring>
#include <string_view>

#include "install/install_choices.h"
#include "install/install_register.h"
#include "system/external_programs.h"
#include "system/fixed_text.h"
#include "system/primitives.h"
#include "system/win1252.h"
#include "ui/message_block.h"

namespace qov {
namespace {

// A file of the chosen module and family, for the dialog to look for.
std::string_view module_file_name() {
  bool rm = holds(install_choices.runtime_family, "rm");
  if (holds(install_choices.module_code, "pos"))
    return rm ? "QOVPOS.COB" : "QOVPOS.INT";
  return rm ? "QOV.COB" : "QOV.INT";
}

// A recorded installation first; then c:\usr\qov when the installer was
// started on the CD itself; otherwise the folder it was started in.
void propose_folder(Field folder) {
  const InstallChoices& c = install_choices;
  if (!is_spaces(c.update_folder))
    copy_field(folder, c.update_folder);
  else if (std::memcmp(c.cd_root, c.cd_root_initial, sizeof c.cd_root) == 0)
    set_text(folder, "c:\\usr\\qov");
  else
    set_text(folder, folder_piece(c.start_folder));
}

void build_dialog_block() {
  FolderDialogBlock& block = folder_dialog_block();
  std::memcpy(block.function, "I-O", 3);
  set_text(block.title, w1252("Indique Directório Instalação"));
  set_text(block.first_option, "N");
  set_text(block.second_option, "S");
  set_text(block.file_name, module_file_name());
  propose_folder(block.folder);
}

// Splits the folder at its first two delimiters into the copy source (the
// drive or the empty piece before a share) and the copy target (the folder
// below it). A network name (second character a backslash) is delimited by
// two backslashes, any other name by one.
void split_folder(ConstField folder) {
  std::string_view text = view(folder);
  std::string_view delimiter = text.size() > 1 && text[1] == '\\' ? "\\\\" : "\\";
  set_spaces(primitive_area.copy_source);
  set_spaces(primitive_area.copy_target);
  std::size_t first = text.find(delimiter);
  set_text(primitive_area.copy_source, text.substr(0, first));
  if (first == std::string_view::npos)
    return;
  std::string_view rest = text.substr(first + delimiter.size());
  set_text(primitive_area.copy_target, rest.substr(0, rest.find(delimiter)));
}

enum class Outcome { kAccepted, kAgain, kEnd };

// One pass: the dialog, then the question its answer calls for.
Outcome ask_for_folder() {
  build_dialog_block();
  call_ravuvu32();
  FolderDialogBlock& block = folder_dialog_block();
  copy_field(install_choices.target_folder, block.folder);
  if (view(block.function).substr(0, 3) == "CAN")
    return show_message(cancel_question()) == 'y' ? Outcome::kEnd : Outcome::kAgain;
  split_folder(install_choices.target_folder);
  if (!is_spaces(primitive_area.copy_target))
    return Outcome::kAccepted;
  switch (show_message(no_folder_question())) {
  case 'y':
    return Outcome::kAgain;
  case 'n':
    return Outcome::kAccepted;
  default:
    return Outcome::kEnd;
  }
}

} // namespace

bool select_target_folder() {
  Outcome outcome = ask_for_folder();
  while (outcome == Outcome::kAgain)
    outcome = ask_for_folder();
  if (outcome == Outcome::kEnd)
    return false;
  copy_field(extraction_block().destination, install_choices.target_folder);
  copy_field(install_choices.update_folder, install_choices.target_folder);
  record_installation();
  return true;
}

} // namespace qov
