#include "platform/gui/panel_store.h"

#include <algorithm>
#include <cstring>

#include "ui/gui_block.h"
#include "ui/gui_library.h"

namespace qov {
namespace {

std::size_t non_negative(int16_t v) {
  return v < 0 ? 0 : static_cast<std::size_t>(v);
}

std::string name_at(std::span<const uint8_t> bytes, std::size_t offset) {
  std::string name(8, '\0');
  for (std::size_t i = 0; i < 8 && offset + i < bytes.size(); ++i)
    name[i] = static_cast<char>(bytes[offset + i]);
  return name;
}

} // namespace

int16_t FieldDefinition::entry(std::size_t n) const {
  return n >= 1 && n <= header.size() ? header[n - 1] : 0;
}

int16_t FieldDefinition::number(std::size_t n) const {
  return n >= 1 ? get_le16(numeric, 2 * (n - 1)) : 0;
}

char FieldDefinition::character(std::size_t n) const {
  return n >= 1 && n <= characters.size() ? static_cast<char>(characters[n - 1]) : '\0';
}

std::span<const uint8_t> FieldDefinition::value() const {
  std::size_t offset = non_negative(entry(5)) + non_negative(entry(6));
  if (offset >= variable.size())
    return {};
  return std::span<const uint8_t>(variable).subspan(
      offset, std::min(non_negative(entry(7)), variable.size() - offset));
}

std::optional<FieldDefinition> parse_field_definition(std::span<const uint8_t> block) {
  if (block.size() < 4)
    return std::nullopt;
  int16_t declared_header = get_le16(block, 2);
  if (declared_header < 8 || declared_header % 2 != 0 ||
      2 + static_cast<std::size_t>(declared_header) > block.size())
    return std::nullopt;
  std::size_t header_bytes = static_cast<std::size_t>(declared_header);
  FieldDefinition def;
  for (std::size_t i = 0; i < header_bytes / 2; ++i)
    def.header.push_back(get_le16(block, 2 + 2 * i));
  if (def.entry(2) < 0 || def.entry(3) < 0 || def.entry(4) < 0 || def.entry(4) > kMaxVariableLength)
    return std::nullopt;
  std::size_t numeric = non_negative(def.entry(2));
  std::size_t characters = non_negative(def.entry(3));
  std::size_t variable = non_negative(def.entry(4));
  std::size_t offset = 2 + header_bytes;
  // Every declared byte must be there: a definition longer than the block
  // it came in is refused, not cut.
  if (offset + numeric + characters + variable > block.size())
    return std::nullopt;
  // The sub-items (entries 5 to 7 and 9 to 11) lie inside the variable part.
  std::size_t sub_items = 0;
  for (std::size_t entry : {5, 6, 7, 9, 10, 11}) {
    if (def.entry(entry) < 0)
      return std::nullopt;
    sub_items += non_negative(def.entry(entry));
  }
  if (sub_items > variable)
    return std::nullopt;
  def.numeric.assign(block.begin() + offset, block.begin() + offset + numeric);
  offset += numeric;
  def.characters.assign(block.begin() + offset, block.begin() + offset + characters);
  offset += characters;
  def.variable.assign(block.begin() + offset, block.begin() + offset + variable);
  return def;
}

Panel* PanelStore::find(const std::string& name) {
  auto it = panels_.find(name);
  return it == panels_.end() ? nullptr : &it->second;
}

Panel* PanelStore::current() {
  return find(current_);
}

bool PanelStore::handle(int16_t code, std::span<uint8_t> block) {
  int16_t rc;
  switch (code) {
  case kGuiOpenWindow:
    rc = open_window(block);
    break;
  case kGuiCloseWindow:
    rc = close_window();
    break;
  case kGuiClearPanel:
    rc = clear_panel(block);
    break;
  case kGuiDefinePanel:
    rc = define_panel(block);
    break;
  case kGuiSetField:
    rc = set_field(block);
    break;
  case kGuiGetField:
    rc = get_field(block);
    break;
  case kGuiLoadStoredPanel:
    rc = load_stored(block);
    break;
  default:
    return false;
  }
  put_le16(block, 0, rc);
  return true;
}

int16_t PanelStore::open_window(std::span<uint8_t> block) {
  GuiBlockView v(block);
  std::string panel(v.characters(9, 8));
  if (std::all_of(panel.begin(), panel.end(), [](char c) { return c == '\0'; }))
    panel.clear();
  windows_.push_back(panel);
  if (!panel.empty())
    current_ = panel;
  return kDone;
}

int16_t PanelStore::close_window() {
  if (!windows_.empty())
    windows_.pop_back();
  // The panel shown in the window underneath becomes current again.
  if (!windows_.empty() && !windows_.back().empty())
    current_ = windows_.back();
  else
    current_ = "PANEL001";
  return kDone;
}

int16_t PanelStore::clear_panel(std::span<uint8_t> block) {
  std::string name = name_at(block, 2);
  Panel& p = panels_[name];
  p.name = name;
  p.fields.clear();
  p.keys.clear();
  current_ = name;
  return kDone;
}

int16_t PanelStore::define_panel(std::span<uint8_t> block) {
  GuiBlockView v(block);
  if (v.header_count() < 8)
    return kMalformed;
  std::string name(v.characters(1, 8));
  Panel& p = panels_[name];
  p.name = name;
  // The key list is the fourth sub-item of the variable part.
  std::size_t offset = 0;
  for (std::size_t entry = 5; entry <= 7; ++entry)
    offset += non_negative(v.header(entry));
  std::size_t length = non_negative(v.header(8));
  auto variable = v.variable_part();
  p.keys.clear();
  for (std::size_t i = 0; i + 1 < length && offset + i + 1 < variable.size(); i += 2)
    p.keys.push_back(get_le16(variable, offset + i));
  current_ = name;
  return kDone;
}

int16_t PanelStore::set_field(std::span<uint8_t> block) {
  auto def = parse_field_definition(block);
  if (!def)
    return kMalformed;
  Panel& p = panels_[current_];
  p.name = current_;
  int16_t number = def->number(1);
  p.fields[number] = std::move(*def);
  return kDone;
}

int16_t PanelStore::get_field(std::span<uint8_t> block) {
  GuiBlockView v(block);
  Panel* p = current();
  int16_t number = v.number(1);
  if (p == nullptr || !p->fields.count(number))
    return kNoSuchField;
  const FieldDefinition& def = p->fields[number];
  // The caller's block gives the room: its header size and part sizes must
  // be those of the definition, and the variable length it declares (entry
  // 4) must hold the definition's. A definition that does not fit is
  // refused with nothing written but the return code.
  std::size_t header_bytes = 2 * def.header.size();
  std::size_t room_variable = non_negative(v.header(4));
  std::size_t needed = 2 + header_bytes + def.numeric.size() + def.characters.size();
  if (header_bytes != non_negative(v.header(1)) ||
      def.numeric.size() != non_negative(v.header(2)) ||
      def.characters.size() != non_negative(v.header(3)) || def.variable.size() > room_variable ||
      needed + def.variable.size() > block.size())
    return kNoRoom;
  std::size_t offset = 2;
  for (int16_t e : def.header) {
    put_le16(block, offset, e);
    offset += 2;
  }
  std::memcpy(block.data() + offset, def.numeric.data(), def.numeric.size());
  offset += def.numeric.size();
  std::memcpy(block.data() + offset, def.characters.data(), def.characters.size());
  offset += def.characters.size();
  std::memcpy(block.data() + offset, def.variable.data(), def.variable.size());
  return kDone;
}

FieldDefinition list_field_definition(const StoredPanel::ListField& field) {
  FieldDefinition def;
  int16_t width = static_cast<int16_t>(std::max(0, field.width));
  def.header = {30, 52, 74, static_cast<int16_t>(8 + 10 + width + 8), 8, 10, width, 0, 8, 0, 0, 0,
                0,  -1, 44};
  def.numeric.assign(52, 0);
  put_le16(def.numeric, 0, static_cast<int16_t>(field.number));
  put_le16(def.numeric, 10, static_cast<int16_t>(field.row));
  put_le16(def.numeric, 12, static_cast<int16_t>(field.column));
  def.characters.assign(74, 0);
  auto padded = [](const std::string& s, std::size_t n) {
    std::string out = s.substr(0, n);
    out.resize(n, ' ');
    return out;
  };
  std::string variable = padded(field.name, 8) + padded(field.picture, 10) +
                         std::string(static_cast<std::size_t>(width), ' ') + "LISTBOX ";
  def.variable.assign(variable.begin(), variable.end());
  return def;
}

int16_t PanelStore::load_stored(std::span<uint8_t> block) {
  auto layout = parse_stored_panel(block);
  if (!layout)
    return kMalformed;
  Panel& p = panels_[layout->name];
  p.name = layout->name;
  p.stored.assign(block.begin() + 10, block.end());
  p.fields.clear();
  for (const StoredPanel::ListField& f : layout->lists)
    p.fields[static_cast<int16_t>(f.number)] = list_field_definition(f);
  p.layout = std::move(layout);
  current_ = p.name;
  return kDone;
}

} // namespace qov
