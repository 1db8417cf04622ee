#include "system/fixed_text.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace qov {

void set_spaces(Field field) {
  std::fill(field.begin(), field.end(), ' ');
}

void set_nuls(Field field) {
  std::fill(field.begin(), field.end(), '\0');
}

void set_text(Field field, std::string_view value) {
  set_spaces(field);
  std::size_t n = std::min(field.size(), value.size());
  std::memcpy(field.data(), value.data(), n);
}

void copy_field(Field to, ConstField from) {
  set_text(to, view(from));
}

std::string_view view(ConstField field) {
  return {field.data(), field.size()};
}

bool is_spaces(ConstField field) {
  return std::all_of(field.begin(), field.end(), [](char c) { return c == ' '; });
}

bool is_nuls(ConstField field) {
  return std::all_of(field.begin(), field.end(), [](char c) { return c == '\0'; });
}

bool holds(ConstField field, std::string_view value) {
  if (value.size() > field.size())
    return false;
  return view(field).substr(0, value.size()) == value && is_spaces(field.subspan(value.size()));
}

std::string_view folder_piece(ConstField field) {
  std::string_view text = view(field);
  return text.substr(0, text.find('\0'));
}

std::string_view choice_piece(ConstField field) {
  std::string_view text = view(field);
  return text.substr(0, text.find(' '));
}

std::string_view cd_root_piece(ConstField cd_root) {
  if (!cd_root.empty() && cd_root[0] == '"')
    return folder_piece(cd_root.subspan(1));
  return folder_piece(cd_root);
}

std::string name_of(ConstField field) {
  std::string_view text = folder_piece(field);
  std::size_t end = text.find_last_not_of(' ');
  return std::string(end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1));
}

NameJoiner::NameJoiner(Field field) : field_(field) {
  set_spaces(field_);
}

NameJoiner& NameJoiner::literal(std::string_view text) {
  std::size_t n = std::min(field_.size() - used_, text.size());
  std::memcpy(field_.data() + used_, text.data(), n);
  used_ += n;
  return *this;
}

void end_folder_field(Field field) {
  if (field.empty())
    return;
  std::size_t keep = 0; // index of the last character kept
  for (std::size_t i = field.size() - 1; i >= 1; --i) {
    if (field[i] != ' ') {
      keep = i;
      break;
    }
  }
  std::fill(field.begin() + keep + 1, field.end(), '\0');
}

void replace_all(Field field, std::string_view from, std::string_view to) {
  assert(from.size() == to.size());
  if (from.empty() || from.size() > field.size())
    return;
  std::size_t pos = 0;
  while (pos + from.size() <= field.size()) {
    if (view(field).substr(pos, from.size()) == from) {
      std::memcpy(field.data() + pos, to.data(), to.size());
      pos += from.size();
    } else {
      ++pos;
    }
  }
}

} // namespace qov
