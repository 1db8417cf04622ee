// Our stand-ins for the maker's helper programs, REREDODI and RAVUVU32,
// behind the external-programs boundary.
#pragma once

#include <set>
#include <string>

#include "platform/gui/answer_file.h"
#include "system/external_programs.h"

namespace qov {

// What REREDODI does with an extraction block.
class Extractor {
public:
  virtual ~Extractor() = default;
  virtual int32_t extract(ExtractionBlock& block, std::string* error) = 0;
};

// What RAVUVU32 does with a folder-dialog block.
class FolderDialog {
public:
  virtual ~FolderDialog() = default;
  virtual int32_t choose(FolderDialogBlock& block) = 0;
};

// The two programs, loaded on first call and unloaded by release().
class HelperPrograms : public ExternalPrograms {
public:
  HelperPrograms(Extractor* extractor, FolderDialog* dialog)
      : extractor_(extractor), dialog_(dialog) {}
  int32_t extract(ExtractionBlock& block, std::string* error) override;
  int32_t folder_dialog(FolderDialogBlock& block) override;
  void release(std::string_view program) override;

  bool loaded(std::string_view program) const { return loaded_.count(std::string(program)) > 0; }

private:
  Extractor* extractor_;
  FolderDialog* dialog_;
  std::set<std::string> loaded_;
};

// The folder dialog answered from the answer file: "folder TEXT" or "cancel".
class ScriptFolderDialog : public FolderDialog {
public:
  explicit ScriptFolderDialog(AnswerFile& answers) : answers_(answers) {}
  int32_t choose(FolderDialogBlock& block) override;

private:
  AnswerFile& answers_;
};

} // namespace qov
