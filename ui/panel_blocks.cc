#include "ui/panel_blocks.h"

namespace qov {
namespace {

GuiBlock new_panel_definition() {
  return GuiBlock({30, 48, 76, 551, 80, 100, 50, 40, 0, 200, 1, 80, 0, -1, 40}, 551);
}
GuiBlock new_field_definition() {
  return GuiBlock({30, 52, 74, 20, 0, 0, 20, 0, 0, 0, 0, 0, 0, -1, 44}, 9999);
}
GuiBlock new_converse_block() {
  return GuiBlock({20, 40, 106, 6, 2, 0, 0, 0, 0, 0}, 8);
}
GuiBlock new_psetup_converse_block() {
  return GuiBlock({20, 40, 106, 6, 2, 57, 4, 4, 0, 0}, 73);
}

GuiBlock g_panel = new_panel_definition();
GuiBlock g_field = new_field_definition();
GuiBlock g_converse = new_converse_block();
GuiBlock g_psetup = new_psetup_converse_block();

// The key list follows the sub-items of 80, 100 and 50 bytes.
constexpr std::size_t kKeyListOffset = 80 + 100 + 50;
constexpr std::size_t kKeyListSize = 40;
constexpr std::size_t kDirValueOffset = 8;
constexpr std::size_t kDirValueSize = 57;

} // namespace

GuiBlock& panel_definition_block() {
  return g_panel;
}
std::span<uint8_t> key_list() {
  return g_panel.view().variable_part().subspan(kKeyListOffset, kKeyListSize);
}

GuiBlock& field_definition_block() {
  return g_field;
}
std::span<uint8_t> field_definition_bytes() {
  int16_t declared = g_field.view().header(4);
  return g_field.bytes_with_variable(declared < 0 ? 0 : static_cast<std::size_t>(declared));
}

GuiBlock& converse_block() {
  return g_converse;
}
GuiBlock& psetup_converse_block() {
  return g_psetup;
}
Field psetup_dir_value() {
  return as_field(g_psetup.view().variable_part().subspan(kDirValueOffset, kDirValueSize));
}

void reset_panel_blocks() {
  g_panel = new_panel_definition();
  g_field = new_field_definition();
  g_converse = new_converse_block();
  g_psetup = new_psetup_converse_block();
}

} // namespace qov
