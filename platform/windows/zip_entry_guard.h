// Which archive entries REREDODI refuses on Windows.
//
// An archive with any unsafe entry is refused whole, before anything is
// written: an entry may never name a file outside the destination folder,
// nor a device, nor a link.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qov {

// Why the entry is unsafe, or nothing when it may be extracted. `name` is
// the entry name as stored; `made_by` and `external` are the central
// directory's "version made by" and external attributes.
std::optional<std::string> unsafe_entry_reason(std::string_view name, uint16_t made_by,
                                               uint32_t external);

// Whether the entry names a folder (its name ends with "/" or "\").
bool is_folder_entry(std::string_view name);

} // namespace qov
