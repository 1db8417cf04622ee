// The GUI library's format of a stored panel (loaded with code 128).
//
// The block is the 16-bit return code, the 8-character panel name, then the
// panel definition:
//
//   offset  size  content
//   0       2     total length: the definition's own size in bytes
//   2       2     the window's width, in character cells
//   4       2     the window's height, in character cells
//   6       ...   items, one after another
//
// Each item is a 16-bit type, a 16-bit data size and that many bytes of data;
// an item of type 0 ends the list and NULs fill the rest up to the total
// length. Rows and columns count from 1. All
// numbers are 16-bit little-endian; texts are Windows-1252, the fixed-width
// ones padded with spaces. A reader refuses a definition whose length, or
// any item, runs past the bytes given; it skips items of a type it does not
// know.
//
// On loading, the library gives every list field a field definition that
// code 8 reads back and code 7 replaces: header 30, 52, 74, the variable
// length, then the sub-item lengths 8 (name), 10 (picture), the field's width
// (the value, spaces), 0 (entry 8, not in the variable part), 8 (the kind,
// "LISTBOX "), 0, 0.
#pragma once

#include <cstddef>
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
  // data: the panel's caption text
  kCaption = 1,
  // data: column (16-bit; the character of the list line it stands over),
  // then the heading text
  kHeading = 2,
  // data: field number, row, column, width in characters, visible lines
  // (16-bit each), the 8-character field name, then the picture ("X(57)").
  // The field's value is its selected line; its list is the value handed
  // over with code 7, one line every `width` characters.
  kListField = 3,
  // data: key code, row, column (16-bit each), the 10-character button name,
  // the 12-character bitmap name, then the caption. Choosing the button ends
  // the converse with its key code.
  kButton = 4,
};

} // namespace qov::stored_panel
