// An in-memory machine for tests of the installer's logic: files and folders
// by Windows name (matched without regard to case, "/" as "\"), the current
// folder, the environment and the command lines run.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "system/platform_services.h"

namespace qov::testing {

class FakePlatform : public PlatformServices {
public:
  // Adds a file (and its folders).
  void add_file(const std::string& name, const std::string& content = "x");
  void add_folder(const std::string& name);
  bool has_file(const std::string& name) const;
  std::string content(const std::string& name) const;
  void remove_file(const std::string& name);

  std::string current = "D:\\AUTORUN\\BIN";
  std::vector<std::string> commands;      // every command line run
  std::map<std::string, std::string> env; // upper-case names
  // Record files whose open for extension fails with this status ("" none).
  std::string extend_failure;

  std::string current_folder() override { return current; }
  int set_drive(char letter) override;
  int change_folder(const std::string& name) override;
  std::optional<FileInfo> file_info(const std::string& name) override;
  int copy_file(const std::string& from, const std::string& to) override;
  int run_command(const std::string& line) override;
  void set_env(const std::string& name, const std::string& value) override;
  std::optional<std::string> get_env(const std::string& name) override;
  std::unique_ptr<RecordFile> new_record_file() override;

  // The key a name is stored under.
  static std::string key(const std::string& name);
  // The same for a folder: trailing backslashes do not count.
  static std::string folder_key(const std::string& name);

  std::map<std::string, std::string> files; // by key
  std::set<std::string> folders;            // by key
};

} // namespace qov::testing
