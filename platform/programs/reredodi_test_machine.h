// Test support: a small machine of drive folders under a temporary root
// ("c", "d", ...), with HostNames over it, for the extraction tests.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host_names.h"
#include "platform/programs/zip_host_tree.h"

namespace qov::testing {

namespace fs = std::filesystem;

// A fresh temporary folder, removed with everything in it at the end.
class TempFolder {
public:
  TempFolder() {
    std::string templ = (fs::temp_directory_path() / "reredodi-XXXXXX").string();
    path_ = mkdtemp(templ.data());
  }
  ~TempFolder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

private:
  fs::path path_;
};

inline std::string read_all(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void write_all(const fs::path& file, const std::string& data) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << data;
}

// Every path under the folder, relative to it, sorted.
inline std::vector<std::string> tree_of(const fs::path& folder) {
  std::vector<std::string> paths;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    paths.push_back(fs::relative(e.path(), folder).string());
  std::sort(paths.begin(), paths.end());
  return paths;
}

// Drive X: is the folder "x" under the root; names match without regard to
// case, and a missing component keeps the case given. Enough of the machine
// for REREDODI, which uses existing() and for_create() only.
class FolderMachine : public HostNames {
public:
  explicit FolderMachine(fs::path root) : root_(std::move(root)) {}

  std::optional<std::string> existing(const std::string& name) override {
    auto path = resolve(name);
    if (!path || !fs::exists(*path))
      return std::nullopt;
    return path;
  }
  std::optional<std::string> for_create(const std::string& name) override { return resolve(name); }
  std::string drives() override { return "CD"; }
  std::vector<std::string> folders_in(const std::string&) override { return {}; }

private:
  std::optional<std::string> resolve(const std::string& name) {
    if (name.size() < 2 || name[1] != ':')
      return std::nullopt;
    fs::path path = root_ / fold_case(name.substr(0, 1));
    if (!fs::is_directory(path))
      return std::nullopt;
    std::stringstream parts(name.substr(2));
    std::string part;
    while (std::getline(parts, part, '\\')) {
      if (part.empty())
        continue;
      if (part == "..")
        return std::nullopt;
      path /= match(path, part).value_or(part);
    }
    return path.string();
  }
  static std::optional<std::string> match(const fs::path& folder, const std::string& part) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
      if (fold_case(e.path().filename().string()) == fold_case(part))
        return e.path().filename().string();
    return std::nullopt;
  }
  fs::path root_;
};

} // namespace qov::testing
