// What the GUI library keeps between calls: its windows, panels and fields.
//
// Both back ends (answer file and terminal) keep their state here, so they
// answer codes 0, 5, 7, 8, 12, 71 and 128 the same way. Field definitions are
// kept as the caller passed them; a field's value is the third sub-item of
// the variable part, after the sub-items whose lengths are header entries 5
// and 6, its length being entry 7; the sub-items after it have the lengths
// of entries 9, 10 and 11 (entry 8 is not part of the variable part).
//
// Code 7 stores the definition of the field numbered in number 1 on the
// current panel; code 8 writes the stored definition, header included, back
// into the caller's block. Both check bounds and answer in the return code:
// kMalformed for a definition that declares more bytes than its block holds
// (or sub-items longer than its variable part), kNoRoom for a stored
// definition longer than the room the caller's block declares, kNoSuchField
// for a field that is not there. A refused call writes nothing but the
// return code.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gui/stored_panel.h"

namespace qov {

// The largest variable part a field definition may declare.
inline constexpr int16_t kMaxVariableLength = 9999;

struct FieldDefinition {
  std::vector<int16_t> header; // every header entry, entry 1 first
  std::vector<uint8_t> numeric;
  std::vector<uint8_t> characters;
  std::vector<uint8_t> variable;

  int16_t entry(std::size_t n) const;
  int16_t number(std::size_t n) const;
  char character(std::size_t n) const;
  // The value sub-item, cut to the variable part.
  std::span<const uint8_t> value() const;
};

struct Panel {
  std::string name;                          // 8 characters, as passed
  std::vector<int16_t> keys;                 // the key list of its definition
  std::map<int16_t, FieldDefinition> fields; // by field number
  std::vector<uint8_t> stored;               // the stored definition loaded with code 128
  std::optional<StoredPanel> layout;         // what that definition shows
};

class PanelStore {
public:
  // Result codes the library gives back in a block's return code.
  static constexpr int16_t kDone = 0;
  static constexpr int16_t kNoSuchField = 1;
  static constexpr int16_t kNoRoom = 2;
  static constexpr int16_t kMalformed = 3;

  // Handles the codes that only keep state; returns false for other codes.
  bool handle(int16_t code, std::span<uint8_t> block);

  // The panel named (8 characters), or the current panel.
  Panel* find(const std::string& name);
  Panel* current();
  const std::string& current_name() const { return current_; }
  // Names of the open windows' panels, outermost first ("" for the main one).
  const std::vector<std::string>& windows() const { return windows_; }

private:
  int16_t open_window(std::span<uint8_t> block);
  int16_t close_window();
  int16_t clear_panel(std::span<uint8_t> block);
  int16_t define_panel(std::span<uint8_t> block);
  int16_t set_field(std::span<uint8_t> block);
  int16_t get_field(std::span<uint8_t> block);
  int16_t load_stored(std::span<uint8_t> block);

  std::map<std::string, Panel> panels_;
  std::vector<std::string> windows_;
  std::string current_;
};

// The field definition a stored panel's list field starts with: header 30,
// 52, 74, then the variable length and the sub-items name (8), picture (10),
// value (the field's width, spaces), entry 8 unused, kind (8: "LISTBOX ").
FieldDefinition list_field_definition(const StoredPanel::ListField& field);

// Parses a block with a header into a field definition; nothing when the
// header, the parts or the sub-items it declares do not fit the bytes.
std::optional<FieldDefinition> parse_field_definition(std::span<const uint8_t> block);

} // namespace qov
