#include "platform/posix/windows_names.h"

#include <cstring>

namespace qov::posix {
namespace {

bool is_separator(char c) {
  return c == '\\' || c == '/';
}

bool allowed_in_name(std::string_view part) {
  for (char c : part) {
    auto u = static_cast<unsigned char>(c);
    if (u < 32 || std::strchr("<>:\"|?*", c) != nullptr)
      return false;
  }
  return true;
}

bool is_letter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::vector<std::string> split(std::string_view text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || is_separator(text[i])) {
      if (i > start)
        parts.emplace_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// Windows drops trailing dots and spaces of the last name ("EMPRESA." is
// EMPRESA), except for the names "." and "..".
void trim_last(std::vector<std::string>& parts) {
  if (parts.empty() || parts.back() == "." || parts.back() == "..")
    return;
  std::string& last = parts.back();
  std::size_t end = last.find_last_not_of(". ");
  if (end == std::string::npos)
    parts.pop_back();
  else
    last.resize(end + 1);
}

} // namespace

std::optional<WindowsName> parse_windows_name(std::string_view name) {
  WindowsName result;
  std::string_view rest = name;
  if (name.size() >= 2 && is_separator(name[0]) && is_separator(name[1])) {
    std::vector<std::string> parts = split(name.substr(2));
    if (parts.size() < 2 || parts[0] == "." || parts[0] == ".." || parts[1] == "." ||
        parts[1] == "..")
      return std::nullopt;
    result.anchor = Anchor::kShare;
    result.server = parts[0];
    result.share = parts[1];
    result.parts.assign(parts.begin() + 2, parts.end());
    rest = {};
    for (const std::string& p : parts)
      if (!allowed_in_name(p))
        return std::nullopt;
  } else if (name.size() >= 2 && name[1] == ':') {
    if (!is_letter(name[0]))
      return std::nullopt;
    result.drive = upper(name[0]);
    rest = name.substr(2);
    result.anchor =
        !rest.empty() && is_separator(rest[0]) ? Anchor::kDriveRoot : Anchor::kDriveCurrent;
  } else if (!name.empty() && is_separator(name[0])) {
    result.anchor = Anchor::kCurrentRoot;
  } else if (name.empty()) {
    return std::nullopt;
  }
  if (result.anchor != Anchor::kShare) {
    result.parts = split(rest);
    for (const std::string& p : result.parts)
      if (!allowed_in_name(p))
        return std::nullopt;
  }
  trim_last(result.parts);
  return result;
}

void walk(std::vector<std::string>& folder, const std::vector<std::string>& parts) {
  for (const std::string& p : parts) {
    if (p == ".")
      continue;
    if (p == "..") {
      if (!folder.empty())
        folder.pop_back();
      continue;
    }
    folder.push_back(p);
  }
}

std::string folded(std::string_view utf8) {
  std::string out(utf8);
  for (std::size_t i = 0; i < out.size(); ++i) {
    auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    } else if (c == 0xC3 && i + 1 < out.size()) {
      // U+00C0..U+00DE, the multiplication sign U+00D7 excepted.
      auto next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97)
        out[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return out;
}

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && folded(a) == folded(b);
}

} // namespace qov::posix
