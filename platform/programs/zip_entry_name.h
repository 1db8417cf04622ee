// The safety rules for the names inside an archive.
//
// An archive comes from a CD that we do not control; every entry name is
// checked before anything is written, and an archive with one bad name is
// refused whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qov {

// The folder components of a safe entry name, in order ("." and empty
// components dropped). Both "/" and "\" separate folders, as on Windows.
// Nothing, with the reason in *why, when the name is empty, holds a NUL,
// starts with a separator, names a drive or a stream (any ":"), or climbs
// with "..". A name that is only separators and "." gives no components and
// is refused too: it would name the destination itself.
std::optional<std::vector<std::string>> safe_entry_path(std::string_view name, std::string* why);

} // namespace qov
