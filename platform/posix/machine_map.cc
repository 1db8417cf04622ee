#include "platform/posix/machine_map.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <dirent.h>
#include <sys/stat.h>

#include "platform/posix/windows_names.h"

namespace qov::posix {
namespace fs = std::filesystem;

namespace {

std::optional<std::string> real_path(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::canonical(path, ec);
  if (ec)
    return std::nullopt;
  return p.string();
}

// Whether the real path is the root or lies below it.
bool holds(const std::string& root, const std::string& path) {
  if (root == "/")
    return true;
  return path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                          path[root.size()] == '/');
}

std::vector<std::string> entries(const std::string& folder) {
  std::vector<std::string> names;
  DIR* d = opendir(folder.c_str());
  if (d == nullptr)
    return names;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n != "." && n != "..")
      names.push_back(n);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

} // namespace

bool is_folder(const std::string& host_path) {
  struct stat st;
  return stat(host_path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> matching_entry(const std::string& folder, std::string_view name) {
  struct stat st;
  std::string exact = folder + (folder.ends_with('/') ? "" : "/") + std::string(name);
  if (lstat(exact.c_str(), &st) == 0)
    return std::string(name);
  for (const std::string& e : entries(folder))
    if (same_name(e, name))
      return e;
  return std::nullopt;
}

MachineMap MachineMap::in_folder(std::string dir) {
  MachineMap m;
  m.dir_ = std::move(dir);
  return m;
}

MachineMap MachineMap::host_default(std::string data_dir) {
  MachineMap m;
  m.dir_ = std::move(data_dir);
  m.default_ = true;
  return m;
}

std::optional<std::string> MachineMap::find_drive(char letter) const {
  if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z')))
    return std::nullopt;
  char lower = static_cast<char>(letter | 0x20);
  char up = static_cast<char>(lower - 'a' + 'A');
  if (default_) {
    if (up == 'Z')
      return std::string("/");
    if (up == 'C')
      return dir_ + "/c";
    return std::nullopt;
  }
  for (char c : {lower, up}) {
    std::string path = dir_ + "/" + std::string(1, c);
    if (is_folder(path))
      return path;
  }
  return std::nullopt;
}

std::optional<std::string> MachineMap::drive_root(char letter) const {
  std::optional<std::string> root = find_drive(letter);
  if (root && default_ && !is_folder(*root)) {
    std::error_code ec;
    fs::create_directories(*root, ec);
  }
  if (!root || !is_folder(*root))
    return std::nullopt;
  return root;
}

std::optional<std::string> MachineMap::share_root(std::string_view server,
                                                  std::string_view share) const {
  if (default_)
    return std::nullopt;
  std::string folder = dir_ + "/unc";
  for (std::string_view name : {server, share}) {
    std::optional<std::string> entry = matching_entry(folder, name);
    if (!entry)
      return std::nullopt;
    folder += "/" + *entry;
  }
  if (!is_folder(folder))
    return std::nullopt;
  return folder;
}

std::optional<MachineMap::Owner> MachineMap::owner_of(const std::string& real) const {
  std::optional<Owner> best;
  auto consider = [&](Owner candidate, const std::string& host_root) {
    std::optional<std::string> root = real_path(host_root);
    if (!root || !is_folder(*root) || !holds(*root, real))
      return;
    if (best && best->root.size() >= root->size())
      return;
    candidate.root = *root;
    best = candidate;
  };
  for (char letter = 'A'; letter <= 'Z'; ++letter)
    if (std::optional<std::string> root = find_drive(letter))
      consider(Owner{letter, "", "", ""}, *root);
  if (!default_) {
    std::string unc = dir_ + "/unc";
    for (const std::string& server : entries(unc))
      for (const std::string& share : entries(unc + "/" + server))
        consider(Owner{0, server, share, ""}, unc + "/" + server + "/" + share);
  }
  return best;
}

std::string MachineMap::drives() const {
  std::string letters;
  for (char letter = 'A'; letter <= 'Z'; ++letter)
    if (default_ ? find_drive(letter).has_value() : drive_root(letter).has_value())
      letters += letter;
  return letters;
}

std::string MachineMap::registry_file() const {
  return dir_ + "/registry/controls.txt";
}

} // namespace qov::posix
