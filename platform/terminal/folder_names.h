// Windows folder names as the folder dialog walks them: "C:\", "C:\USR\QOV".
#pragma once

#include <string>
#include <string_view>

namespace qov::terminal {

// "C:\" for the drive letter.
std::string drive_root(char drive);

// True for "C:", "C:\" and names without a folder part.
bool is_drive_root(std::string_view folder);

// The folder one level up: "C:\USR" for "C:\USR\QOV" (and "C:\USR\QOV\"),
// "C:\" for "C:\USR"; a drive root stays as it is.
std::string parent_folder(std::string_view folder);

// The folder `name` inside `folder`, with one backslash between.
std::string child_folder(std::string_view folder, std::string_view name);

} // namespace qov::terminal
