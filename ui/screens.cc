#include "ui/screens.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "system/fixed_text.h"
#include "ui/gui_library.h"
#include "ui/panel_blocks.h"

namespace qov {
namespace {

constexpr std::string_view kPanelName = "PANEL001";
constexpr std::size_t kKeyListNumbers = 20;
// Key-list numbers 2 to 19 take the buttons; number 20 stays 0.
constexpr std::size_t kLastButtonKey = 19;

std::array<ScreenItem, kScreenWorkItems> g_work_area;

int16_t key_at(std::size_t n) {
  return get_le16(key_list(), 2 * (n - 1));
}
void set_key_at(std::size_t n, int16_t code) {
  put_le16(key_list(), 2 * (n - 1), code);
}

bool all_spaces(const ScreenItem& item) {
  const char* bytes = reinterpret_cast<const char*>(&item);
  return std::all_of(bytes, bytes + sizeof item, [](char c) { return c == ' '; });
}

int16_t two_digits(const char (&digits)[2]) {
  auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : 0; };
  return static_cast<int16_t>(10 * digit(digits[0]) + digit(digits[1]));
}

// The first key-list number from 2 to 19 that holds the code or is free gets
// it: a code is listed once, and a 19th distinct button is left out.
void add_button_key(int16_t code) {
  for (std::size_t n = 2; n <= kLastButtonKey; ++n) {
    int16_t held = key_at(n);
    if (held == code)
      return;
    if (held == 0) {
      set_key_at(n, code);
      return;
    }
  }
}

void draw_item(const ScreenItem& item, bool first) {
  GuiBlockView field = field_definition_block().view();
  if (first)
    field.clear_parts();
  constexpr std::array<int16_t, 15> kHeader = {30, 52, 74, 20, 0, 0, 20, 0, 0, 0, 0, 0, 0, -1, 44};
  for (std::size_t entry = 1; entry <= kHeader.size(); ++entry)
    field.set_header(entry, kHeader[entry - 1]);
  int16_t code = button_code(item);
  field.set_number(1, static_cast<int16_t>(field.number(1) + 1));
  field.set_number(6, two_digits(item.row));
  field.set_number(7, two_digits(item.column));
  field.set_number(18, code);
  field.set_character(32, 'y');
  field.set_character(58, 's');
  field.set_character(62, 'i');
  field.set_character(66, code != 0 ? 'w' : '\0');
  field.set_character(70, 'i');
  field.set_character(74, '\x05');
  std::memcpy(field.variable_part().data(), item.picture, sizeof item.picture);
  if (code != 0)
    add_button_key(code);
  gui_call(kGuiSetField, field_definition_bytes());
}

} // namespace

std::span<ScreenItem, kScreenWorkItems> screen_work_area() {
  return g_work_area;
}

void clear_panel() {
  uint8_t name_block[2 + kPanelName.size()] = {};
  std::memcpy(name_block + 2, kPanelName.data(), kPanelName.size());
  gui_call(kGuiClearPanel, name_block);

  GuiBlockView panel = panel_definition_block().view();
  panel.clear_parts();
  panel.set_number(1, 80);
  panel.set_number(2, 30);
  panel.set_characters(1, kPanelName);
  set_key_at(1, 27);
  gui_call(kGuiDefinePanel, panel.bytes());
}

void draw_screen(ScreenTable table) {
  std::memset(g_work_area.data(), ' ', sizeof g_work_area);
  std::copy_n(table.begin(), std::min(table.size(), g_work_area.size()), g_work_area.begin());
  bool first = true;
  for (const ScreenItem& item : g_work_area) {
    if (all_spaces(item))
      break;
    if (is_spaces(ConstField(item.picture)))
      continue;
    draw_item(item, first);
    first = false;
  }
  gui_call(kGuiDefinePanel, panel_definition_block().bytes());
}

void prepare_converse(bool show_only) {
  GuiBlockView v = converse_block().view();
  v.clear_parts();
  v.set_characters(1, kPanelName);
  if (show_only)
    v.set_character(103, 'n');
}

int16_t converse_screen() {
  for (;;) {
    gui_call(kGuiConverse, converse_block().bytes());
    int16_t key = last_key_code();
    if (key == -5)
      return key;
    for (std::size_t n = 1; n <= kKeyListNumbers; ++n) {
      int16_t listed = key_at(n);
      if (listed == key)
        return key;
      if (listed == 0)
        break;
    }
  }
}

int16_t last_key_code() {
  return converse_block().view().number(1);
}
void set_last_key_code(int16_t code) {
  converse_block().view().set_number(1, code);
}

} // namespace qov
