// RAVUVU32 on Windows: the system's folder picker (SHBrowseForFolder) with
// the block's title, opened at the proposed folder. Cancelling gives "CAN"
// in the function field; a chosen folder goes into the folder field.
#pragma once

#include "platform/programs/helper_programs.h"
#include "platform/windows/win32_gui.h"

namespace qov {

class Win32FolderDialog : public FolderDialog {
public:
  // The dialog is owned by the GUI's window (none when null).
  explicit Win32FolderDialog(Win32Gui* gui) : gui_(gui) {}
  int32_t choose(FolderDialogBlock& block) override;

private:
  Win32Gui* gui_;
};

} // namespace qov
