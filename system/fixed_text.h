// Fixed-width Windows-1252 text fields.
//
// Every field of the installer's working data is a run of bytes of fixed
// width, padded on the right with spaces; folder fields that other names are
// built from end at their first NUL. These helpers are the only place where
// such fields are filled, measured, joined and scanned.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace qov {

using Field = std::span<char>;
using ConstField = std::span<const char>;

// Sets every byte of the field to a space / to NUL.
void set_spaces(Field field);
void set_nuls(Field field);

// Sets the field to spaces, then puts the value left-aligned, cut at the
// field width.
void set_text(Field field, std::string_view value);

// Copies one field into another of any width: cut, or padded with spaces.
void copy_field(Field to, ConstField from);

// The field's bytes as a view.
std::string_view view(ConstField field);

bool is_spaces(ConstField field);
bool is_nuls(ConstField field);
// True when the field holds exactly the value followed by spaces (or nothing).
bool holds(ConstField field, std::string_view value);

// The text of a folder field: before its first NUL, or the whole field.
std::string_view folder_piece(ConstField field);
// The text of a choice field: before its first space, or the whole field.
std::string_view choice_piece(ConstField field);
// The CD root as a piece: from its second character when the first is a
// double quote (at most 79 characters), otherwise its text before the first
// NUL.
std::string_view cd_root_piece(ConstField cd_root);

// The name an operation receives from a name field: the text before the
// first NUL with its trailing spaces removed. Embedded spaces stay.
std::string name_of(ConstField field);

// Builds a name left-aligned in a field that it first sets to spaces. Pieces
// are appended with no separator; once the field is full, the rest of a piece
// and every later piece are dropped without an error.
class NameJoiner {
public:
  explicit NameJoiner(Field field);

  NameJoiner& literal(std::string_view text);
  NameJoiner& folder(ConstField field) { return literal(folder_piece(field)); }
  NameJoiner& choice(ConstField field) { return literal(choice_piece(field)); }
  NameJoiner& cd_root(ConstField field) { return literal(cd_root_piece(field)); }

  // How many characters have been written so far.
  std::size_t length() const { return used_; }

private:
  Field field_;
  std::size_t used_ = 0;
};

// Ends a folder field: searches from the last position down to the second
// for a character that is not a space (stopping at the first position when
// all are spaces) and turns every position after it into NUL. The first
// position is never looked at or changed.
void end_folder_field(Field field);

// Replaces every occurrence of `from` by `to` (of the same length), scanning
// the start positions left to right and going on after each replacement.
void replace_all(Field field, std::string_view from, std::string_view to);

} // namespace qov
