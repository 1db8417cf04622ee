#include "platform/windows/win32_folder_dialog.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstring>

#include "platform/windows/wide_text.h"
#include "system/fixed_text.h"

namespace qov {
namespace {

int CALLBACK on_dialog_event(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data != 0)
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

} // namespace

int32_t Win32FolderDialog::choose(FolderDialogBlock& block) {
  std::wstring title = wide_from_w1252(name_of(block.title));
  std::wstring proposed = wide_from_w1252(name_of(block.folder));
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  BROWSEINFOW info{};
  info.hwndOwner = gui_ != nullptr ? gui_->owner() : nullptr;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
  info.lpfn = on_dialog_event;
  info.lParam = proposed.empty() ? 0 : reinterpret_cast<LPARAM>(proposed.c_str());
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);

  std::wstring folder;
  if (chosen != nullptr) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(chosen, path))
      folder = path;
    CoTaskMemFree(chosen);
  }
  if (SUCCEEDED(com))
    CoUninitialize();
  if (chosen == nullptr) {
    std::memcpy(block.function, "CAN", 3);
    return 0;
  }
  set_text(block.folder, w1252_from_wide(folder));
  return 0;
}

} // namespace qov
