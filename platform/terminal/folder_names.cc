#include "platform/terminal/folder_names.h"

namespace qov::terminal {
namespace {

std::string_view without_trailing_backslashes(std::string_view folder) {
  while (folder.size() > 1 && folder.back() == '\\')
    folder.remove_suffix(1);
  return folder;
}

} // namespace

std::string drive_root(char drive) {
  return std::string(1, drive) + ":\\";
}

bool is_drive_root(std::string_view folder) {
  std::string_view f = without_trailing_backslashes(folder);
  return f.find('\\') == std::string_view::npos;
}

std::string parent_folder(std::string_view folder) {
  std::string_view f = without_trailing_backslashes(folder);
  std::size_t cut = f.rfind('\\');
  if (cut == std::string_view::npos)
    return f.size() == 2 && f[1] == ':' ? std::string(f) + "\\" : std::string(folder);
  std::string parent(f.substr(0, cut));
  // A parent that is the drive keeps its backslash: "C:\".
  if (parent.size() == 2 && parent[1] == ':')
    parent += '\\';
  return parent;
}

std::string child_folder(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (out.empty() || out.back() != '\\')
    out += '\\';
  return out + std::string(name);
}

} // namespace qov::terminal
