// The GUI library's format of a stored panel (loaded with code 128).
//
// The block is the 16-bit return code, the 8-character panel name, then the
// panel definition: a 16-bit total length (the definition's own size in
// bytes), the window's width and height in cells, then items, each a 16-bit
// type, a 16-bit data size and the data; type 0 ends the list and NULs fill
// the rest. All numbers are 16-bit little-endian; texts are Windows-1252.
#pragma once

#include <cstdint>

namespace qov::stored_panel {

inline constexpr std::size_t kNameOffset = 2;        // in the block
inline constexpr std::size_t kDefinitionOffset = 10; // in the block
// Offsets inside the definition.
inline constexpr std::size_t kLengthOffset = 0;
inline constexpr std::size_t kWidthOffset = 2;
inline constexpr std::size_t kHeightOffset = 4;
inline constexpr std::size_t kFirstItemOffset = 6;

enum ItemType : int16_t {
  kEnd = 0,
  // data: the caption text
  kCaption = 1,
  // data: column (16-bit), then the heading text
  kHeading = 2,
  // data: field number, row, column, width, visible lines (16-bit each),
  // the 8-character field name, then the picture ("X(57)")
  kListField = 3,
  // data: key code, row, column (16-bit each), the 10-character button name,
  // the 12-character bitmap name, then the caption
  kButton = 4,
};

} // namespace qov::stored_panel
