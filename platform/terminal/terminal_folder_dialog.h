// The folder dialog (our RAVUVU32) on the terminal: the block's title, an
// editable folder field holding the proposal, the machine's drives and the
// folders of the one shown, to browse with keys or mouse. Enter (or "OK")
// gives the field back in the block's folder field, space-padded and cut at
// 80 characters; Esc, "Cancelar" or closing puts "CAN" in the function field.
#pragma once

#include <string>
#include <vector>

#include "platform/host_names.h"
#include "platform/programs/helper_programs.h"
#include "platform/terminal/terminal_gui.h"

namespace qov {

class TerminalFolderDialog : public FolderDialog {
public:
  // Without host names the dialog offers no drives or folders to browse.
  TerminalFolderDialog(TerminalGui& gui, HostNames* names) : gui_(gui), names_(names) {}
  int32_t choose(FolderDialogBlock& block) override;

  void set_host_names(HostNames* names) { names_ = names; }

private:
  enum Focus { kField, kDrives, kFolders, kOk, kCancel, kFocusCount };
  enum class Outcome { kWaiting, kChosen, kCancelled };

  void show_folder(const std::string& folder);
  void draw();
  Outcome on_key(int key);
  Outcome on_text(wchar_t c);
  Outcome on_click(int row, int column);
  Outcome activate();
  void edit(int key);

  TerminalGui& gui_;
  HostNames* names_;
  std::wstring title_;
  std::string field_; // Windows-1252, at most 80 characters
  std::size_t cursor_ = 0;
  std::string shown_; // the folder whose folders are listed
  std::string drives_;
  std::vector<std::string> folders_; // ".." first when not at a drive root
  int drive_ = 0, folder_ = 0, first_folder_ = 0;
  Focus focus_ = kField;
  // Where the last drawing put things, for the mouse.
  terminal::Rect field_area_, drives_area_, folders_area_, ok_area_, cancel_area_;
};

} // namespace qov
