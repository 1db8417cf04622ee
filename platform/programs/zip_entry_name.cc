#include "platform/programs/zip_entry_name.h"

namespace qov {
namespace {

bool is_separator(char c) {
  return c == '/' || c == '\\';
}

std::optional<std::vector<std::string>> refuse(std::string* why, const char* reason) {
  *why = reason;
  return std::nullopt;
}

} // namespace

std::optional<std::vector<std::string>> safe_entry_path(std::string_view name, std::string* why) {
  if (name.empty())
    return refuse(why, "empty entry name");
  if (name.find('\0') != std::string_view::npos)
    return refuse(why, "NUL in entry name");
  if (is_separator(name.front()))
    return refuse(why, "absolute entry name");
  // Windows names hold no ":" but after a drive letter ("C:x") or before a
  // stream name; either would escape the destination folder.
  if (name.find(':') != std::string_view::npos)
    return refuse(why, "drive letter in entry name");

  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !is_separator(name[end]))
      ++end;
    std::string_view part = name.substr(start, end - start);
    if (part == "..")
      return refuse(why, "\"..\" in entry name");
    if (!part.empty() && part != ".")
      parts.emplace_back(part);
    start = end + 1;
  }
  if (parts.empty())
    return refuse(why, "entry names no file or folder");
  return parts;
}

} // namespace qov
