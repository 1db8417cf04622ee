#include "platform/programs/helper_programs.h"

#include <cstdio>
#include <cstring>

#include "system/fixed_text.h"

namespace qov {

int32_t HelperPrograms::extract(ExtractionBlock& block, std::string* error) {
  loaded_.insert(std::string(kReredodi));
  return extractor_->extract(block, error);
}

int32_t HelperPrograms::folder_dialog(FolderDialogBlock& block) {
  loaded_.insert(std::string(kRavuvu32));
  return dialog_->choose(block);
}

void HelperPrograms::release(std::string_view program) {
  loaded_.erase(std::string(program));
}

int32_t ScriptFolderDialog::choose(FolderDialogBlock& block) {
  const Answer& a =
      answers_.take({Answer::Kind::kFolder, Answer::Kind::kCancel}, "folder dialog (RAVUVU32)");
  if (a.kind == Answer::Kind::kCancel) {
    std::memcpy(block.function, "CAN", 3);
    return 0;
  }
  set_text(block.folder, a.text);
  return 0;
}

} // namespace qov
