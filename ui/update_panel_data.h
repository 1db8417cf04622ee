// The stored panel "PSETUP": the update panel's definition, held by the
// program and loaded into the GUI library with code 128.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qov {

inline constexpr std::size_t kPsetupDefinitionLength = 1368;

// The block for code 128: return code, "PSETUP  ", then the 1,368-byte
// definition. The same bytes on every call.
std::span<uint8_t> psetup_stored_panel();

} // namespace qov
