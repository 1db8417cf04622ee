#include "ui/gui_block.h"

#include <algorithm>
#include <cstring>

namespace qov {

int16_t get_le16(std::span<const uint8_t> bytes, std::size_t offset) {
  if (offset + 2 > bytes.size())
    return 0;
  return static_cast<int16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

void put_le16(std::span<uint8_t> bytes, std::size_t offset, int16_t value) {
  if (offset + 2 > bytes.size())
    return;
  auto v = static_cast<uint16_t>(value);
  bytes[offset] = static_cast<uint8_t>(v & 0xFF);
  bytes[offset + 1] = static_cast<uint8_t>(v >> 8);
}

namespace {
std::size_t non_negative(int16_t v) {
  return v < 0 ? 0 : static_cast<std::size_t>(v);
}
} // namespace

std::size_t GuiBlockView::header_count() const {
  return non_negative(get_le16(bytes_, 2)) / 2;
}

int16_t GuiBlockView::header(std::size_t entry) const {
  if (entry < 1 || entry > header_count())
    return 0;
  return get_le16(bytes_, 2 + 2 * (entry - 1));
}

void GuiBlockView::set_header(std::size_t entry, int16_t value) {
  if (entry < 1 || (entry > 1 && entry > header_count()))
    return;
  put_le16(bytes_, 2 + 2 * (entry - 1), value);
}

std::size_t GuiBlockView::numeric_offset() const {
  return 2 + non_negative(header(1));
}
std::size_t GuiBlockView::character_offset() const {
  return numeric_offset() + non_negative(header(2));
}
std::size_t GuiBlockView::variable_offset() const {
  return character_offset() + non_negative(header(3));
}

std::span<uint8_t> GuiBlockView::part(std::size_t offset, std::size_t size) const {
  if (offset >= bytes_.size())
    return {};
  return bytes_.subspan(offset, std::min(size, bytes_.size() - offset));
}

std::span<uint8_t> GuiBlockView::numeric_part() const {
  return part(numeric_offset(), non_negative(header(2)));
}
std::span<uint8_t> GuiBlockView::character_part() const {
  return part(character_offset(), non_negative(header(3)));
}
std::span<uint8_t> GuiBlockView::variable_part() const {
  std::size_t offset = variable_offset();
  return part(offset, bytes_.size() > offset ? bytes_.size() - offset : 0);
}

int16_t GuiBlockView::number(std::size_t n) const {
  if (n < 1)
    return 0;
  return get_le16(numeric_part(), 2 * (n - 1));
}

void GuiBlockView::set_number(std::size_t n, int16_t value) {
  if (n < 1)
    return;
  put_le16(numeric_part(), 2 * (n - 1), value);
}

char GuiBlockView::character(std::size_t n) const {
  auto chars = character_part();
  if (n < 1 || n > chars.size())
    return '\0';
  return static_cast<char>(chars[n - 1]);
}

void GuiBlockView::set_character(std::size_t n, char value) {
  auto chars = character_part();
  if (n < 1 || n > chars.size())
    return;
  chars[n - 1] = static_cast<uint8_t>(value);
}

void GuiBlockView::set_characters(std::size_t first, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    set_character(first + i, text[i]);
}

std::string_view GuiBlockView::characters(std::size_t first, std::size_t count) const {
  auto chars = character_part();
  if (first < 1 || first > chars.size())
    return {};
  count = std::min(count, chars.size() - (first - 1));
  return {reinterpret_cast<const char*>(chars.data()) + first - 1, count};
}

void GuiBlockView::clear_parts() {
  std::size_t offset = std::min(numeric_offset(), bytes_.size());
  std::fill(bytes_.begin() + offset, bytes_.end(), 0);
}

GuiBlock::GuiBlock(std::initializer_list<int16_t> header, std::size_t variable_room) {
  std::vector<int16_t> entries(header);
  std::size_t header_bytes = 2 * entries.size();
  std::size_t numeric = entries.size() > 1 ? non_negative(entries[1]) : 0;
  std::size_t characters = entries.size() > 2 ? non_negative(entries[2]) : 0;
  fixed_size_ = 2 + header_bytes + numeric + characters;
  bytes_.assign(fixed_size_ + variable_room, 0);
  for (std::size_t i = 0; i < entries.size(); ++i)
    put_le16(bytes_, 2 + 2 * i, entries[i]);
}

std::span<uint8_t> GuiBlock::bytes_with_variable(std::size_t variable_length) {
  return std::span<uint8_t>(bytes_).first(std::min(bytes_.size(), fixed_size_ + variable_length));
}

} // namespace qov
