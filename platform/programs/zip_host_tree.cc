#include "platform/programs/zip_host_tree.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace qov {
namespace {

// The destination itself comes from the machine's own name resolution and
// may lie behind a link; only the links inside it are never followed.
bool is_folder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::string fold_case(const std::string& name) {
  std::string key = name;
  for (char& c : key)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return key;
}

bool HostTree::make_root(std::string* why) {
  if (is_folder(root_))
    return true;
  for (size_t slash = root_.find('/', 1);; slash = root_.find('/', slash + 1)) {
    std::string path = root_.substr(0, slash);
    if (!path.empty() && mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
      *why = "cannot create the destination folder: " + std::string(std::strerror(errno));
      return false;
    }
    if (slash == std::string::npos)
      break;
  }
  if (is_folder(root_))
    return true;
  *why = "the destination is not a folder";
  return false;
}

HostTree::Listing& HostTree::listing(const std::string& folder) {
  auto [it, fresh] = listings_.try_emplace(folder);
  if (!fresh)
    return it->second;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* d = readdir(dir)) {
      std::string name = d->d_name;
      if (name == "." || name == "..")
        continue;
      Kind kind = Kind::kOther;
      unsigned char type = d->d_type;
      if (type == DT_UNKNOWN) {
        struct stat st;
        if (lstat((folder + "/" + name).c_str(), &st) == 0)
          type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
      }
      if (type == DT_DIR)
        kind = Kind::kFolder;
      else if (type == DT_REG)
        kind = Kind::kFile;
      // Two host names that differ only in case: the first one listed wins,
      // as it would for any later lookup.
      it->second.by_key.try_emplace(fold_case(name), name, kind);
    }
    closedir(dir);
  }
  return it->second;
}

bool HostTree::folder(const std::vector<std::string>& parts, size_t count, std::string* host,
                      std::string* why) {
  std::string path = root_;
  for (size_t i = 0; i < count; ++i) {
    Listing& list = listing(path);
    auto found = list.by_key.find(fold_case(parts[i]));
    if (found == list.by_key.end()) {
      std::string next = path + "/" + parts[i];
      if (mkdir(next.c_str(), 0755) != 0) {
        *why = "cannot create folder " + parts[i] + ": " + std::strerror(errno);
        return false;
      }
      list.by_key.try_emplace(fold_case(parts[i]), parts[i], Kind::kFolder);
      path = std::move(next);
      continue;
    }
    if (found->second.second != Kind::kFolder) {
      *why = "cannot create folder " + parts[i] + ": a file or link of that name is in the way";
      return false;
    }
    path += "/" + found->second.first;
  }
  *host = std::move(path);
  return true;
}

bool HostTree::file_name(const std::string& folder, const std::string& name, std::string* found,
                         std::string* why) {
  Listing& list = listing(folder);
  auto it = list.by_key.find(fold_case(name));
  if (it == list.by_key.end()) {
    *found = name;
    return true;
  }
  if (it->second.second == Kind::kFolder) {
    *why = "file " + name + " would replace a folder";
    return false;
  }
  *found = it->second.first;
  return true;
}

void HostTree::added_file(const std::string& folder, const std::string& name) {
  listing(folder).by_key.insert_or_assign(fold_case(name), std::make_pair(name, Kind::kFile));
}

} // namespace qov
