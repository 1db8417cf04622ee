// Windows names taken apart, without touching any file.
//
// A Windows name ("C:\QOV\EMPRESA", "D:runtimes\x", "c:/qovexemf/qovinst.dir",
// "\autorun", "\\SERVER\QOV\x") says where it starts from and which names
// follow. The machine joins it to its current folders and finds the host
// files; this file only reads the text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qov::posix {

// Where a Windows name starts from.
enum class Anchor {
  kCurrentFolder, // "a\b": the current folder
  kCurrentRoot,   // "\a": the root of the current drive or share
  kDriveCurrent,  // "X:a": the folder last current on drive X
  kDriveRoot,     // "X:\a"
  kShare,         // "\\SERVER\SHARE\a"
};

struct WindowsName {
  Anchor anchor = Anchor::kCurrentFolder;
  char drive = 0;                 // upper case; for the two drive anchors
  std::string server, share;      // for kShare
  std::vector<std::string> parts; // the names as written, "." and ".." included
};

// Takes a name apart. Both "\" and "/" separate; empty names between
// separators are dropped; trailing dots and spaces of the last name go, as
// Windows drops them. Nothing for an empty name, a drive that is not a
// letter, a share without server or share name, or a character Windows does
// not allow in a name (< > : " | ? * and the controls).
std::optional<WindowsName> parse_windows_name(std::string_view name);

// Follows the parts from a folder given as the names below a root: "."
// stays, ".." goes up one level but never above the root.
void walk(std::vector<std::string>& folder, const std::vector<std::string>& parts);

// A name as Windows compares it: the ASCII letters and the accented Latin-1
// letters (in UTF-8) in lower case.
std::string folded(std::string_view utf8);
bool same_name(std::string_view a, std::string_view b);

} // namespace qov::posix
