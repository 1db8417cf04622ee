// The machine the installer runs on, on Windows itself: the C run-time's
// current drive and folders (_chdrive, _wchdir), file details from the file
// system, copies, the process environment and the system command shell.
//
// Names are the installer's Windows-1252 names; they reach Windows through
// the W calls, so the PC's ANSI code page does not matter.
#pragma once

#include "platform/host_names.h"
#include "system/platform_services.h"

namespace qov {

class WindowsMachine : public PlatformServices, public HostNames {
public:
  // PlatformServices. Error numbers are the C run-time's errno for the
  // drive and folder calls, and Win32 error numbers (GetLastError) for the
  // copy.
  std::string current_folder() override;
  int set_drive(char letter) override;
  int change_folder(const std::string& name) override;
  std::optional<FileInfo> file_info(const std::string& name) override;
  int copy_file(const std::string& from, const std::string& to) override;
  int run_command(const std::string& line) override;
  void set_env(const std::string& name, const std::string& value) override;
  std::optional<std::string> get_env(const std::string& name) override;
  std::unique_ptr<RecordFile> new_record_file() override;

  // HostNames: the host path of a name is its full Windows name, in UTF-8.
  std::optional<std::string> existing(const std::string& windows_name) override;
  std::optional<std::string> for_create(const std::string& windows_name) override;
  std::string drives() override;
  std::vector<std::string> folders_in(const std::string& windows_folder) override;
};

// The full name of a Windows name (GetFullPathName), resolved against the
// current drive and folders; empty for a name Windows refuses.
std::wstring full_name(const std::wstring& name);

// The command line given to the command shell for `line`: the shell, "/S /C"
// and the line in quotes, which /S takes off again, so that the shell sees
// the line exactly as written.
std::wstring shell_command_line(const std::wstring& comspec, const std::wstring& line);

} // namespace qov
