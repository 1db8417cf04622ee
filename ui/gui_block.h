// Parameter blocks of the GUI library.
//
// A block is a 16-bit return code, a header of 16-bit lengths whose first
// entry is the header's own size in bytes, then a numeric part (header entry
// 2 bytes), a character part (entry 3 bytes) and a variable part. Numbers are
// 16-bit little-endian and numbered from 1 within their part; characters are
// numbered from 1. GuiBlockView reads and writes such a block in place, over
// any bytes; GuiBlock owns its bytes. Every access is bounds-checked: an
// out-of-range number, character or entry reads as 0 and is never written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "system/fixed_text.h"

namespace qov {

int16_t get_le16(std::span<const uint8_t> bytes, std::size_t offset);
void put_le16(std::span<uint8_t> bytes, std::size_t offset, int16_t value);

class GuiBlockView {
public:
  explicit GuiBlockView(std::span<uint8_t> bytes) : bytes_(bytes) {}

  int16_t return_code() const { return get_le16(bytes_, 0); }
  void set_return_code(int16_t value) { put_le16(bytes_, 0, value); }

  // Header entries, numbered from 1; entry 1 is the header's size in bytes.
  std::size_t header_count() const;
  int16_t header(std::size_t entry) const;
  void set_header(std::size_t entry, int16_t value);

  // Numbers of the numeric part, numbered from 1.
  int16_t number(std::size_t n) const;
  void set_number(std::size_t n, int16_t value);

  // Characters of the character part, numbered from 1.
  char character(std::size_t n) const;
  void set_character(std::size_t n, char value);
  // Writes text from character `first` on, never past the character part.
  void set_characters(std::size_t first, std::string_view text);
  std::string_view characters(std::size_t first, std::size_t count) const;

  // The parts, cut to the bytes that exist.
  std::span<uint8_t> numeric_part() const;
  std::span<uint8_t> character_part() const;
  // Everything after the character part.
  std::span<uint8_t> variable_part() const;

  // Sets the numeric, character and variable parts to NUL.
  void clear_parts();

  std::span<uint8_t> bytes() const { return bytes_; }

private:
  std::size_t numeric_offset() const;
  std::size_t character_offset() const;
  std::size_t variable_offset() const;
  std::span<uint8_t> part(std::size_t offset, std::size_t size) const;

  std::span<uint8_t> bytes_;
};

// A block that owns its bytes: 2 + header + numeric + character + variable.
class GuiBlock {
public:
  // `header` gives every header entry (the first being its own byte size);
  // the numeric and character parts take the sizes of entries 2 and 3, and
  // the variable part has room for `variable_room` bytes.
  GuiBlock(std::initializer_list<int16_t> header, std::size_t variable_room);

  GuiBlockView view() { return GuiBlockView(bytes_); }
  std::span<uint8_t> bytes() { return bytes_; }
  std::span<const uint8_t> bytes() const { return bytes_; }
  // The block without the variable room past `variable_length` bytes.
  std::span<uint8_t> bytes_with_variable(std::size_t variable_length);

private:
  std::size_t fixed_size_;
  std::vector<uint8_t> bytes_;
};

// A run of block bytes as a text field.
inline Field as_field(std::span<uint8_t> bytes) {
  return Field(reinterpret_cast<char*>(bytes.data()), bytes.size());
}

// The empty block: the return code alone.
struct EmptyBlock {
  uint8_t bytes[2] = {0, 0};
};

} // namespace qov
