#include "platform/windows/zip_entry_guard.h"

#include <array>
#include <cctype>

namespace qov {
namespace {

constexpr unsigned kUnixHost = 3;
constexpr uint32_t kUnixTypeMask = 0170000;
constexpr uint32_t kUnixLink = 0120000;
constexpr uint32_t kUnixFile = 0100000;
constexpr uint32_t kUnixFolder = 0040000;
constexpr uint32_t kWindowsReparsePoint = 0x400;

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// "CON", "NUL", "COM1", "lpt2.txt" and the like name devices on Windows
// whatever folder they are in and whatever follows the first dot.
bool is_device_name(std::string_view component) {
  std::string stem = upper(component.substr(0, component.find('.')));
  while (!stem.empty() && stem.back() == ' ')
    stem.pop_back();
  static constexpr std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
  for (std::string_view d : plain)
    if (stem == d)
      return true;
  return stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

std::optional<std::string> unsafe_component(std::string_view c) {
  if (c == "..")
    return "entry name climbs out of the destination with \"..\"";
  if (c.empty() || c == ".")
    return std::nullopt;
  // Windows drops trailing dots and spaces, so "..." or ".. " would become
  // another name than the one checked.
  if (c.back() == '.' || c.back() == ' ')
    return "entry name ends a part with a dot or a space";
  if (is_device_name(c))
    return "entry name is a device";
  return std::nullopt;
}

} // namespace

bool is_folder_entry(std::string_view name) {
  return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

std::optional<std::string> unsafe_entry_reason(std::string_view name, uint16_t made_by,
                                               uint32_t external) {
  if (name.empty())
    return "entry without a name";
  if (name.find('\0') != std::string_view::npos)
    return "entry name holds a NUL";
  if (name[0] == '/' || name[0] == '\\')
    return "entry name starts at the root";
  for (unsigned char c : name) {
    if (c == ':')
      return "entry name holds a drive letter or a stream (\":\")";
    if (c < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*')
      return "entry name holds a character Windows does not allow";
  }
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos)
      end = name.size();
    if (auto reason = unsafe_component(name.substr(start, end - start)))
      return reason;
    start = end + 1;
  }
  if ((made_by >> 8) == kUnixHost) {
    uint32_t type = (external >> 16) & kUnixTypeMask;
    if (type == kUnixLink)
      return "entry is a symbolic link";
    if (type != 0 && type != kUnixFile && type != kUnixFolder)
      return "entry is a device or another special file";
  } else if ((external & kWindowsReparsePoint) != 0) {
    return "entry is a link (reparse point)";
  }
  return std::nullopt;
}

} // namespace qov
