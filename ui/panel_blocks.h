// The GUI blocks shared by the screens, the register and the update panel.
#pragma once

#include <span>

#include "system/fixed_text.h"
#include "ui/gui_block.h"

namespace qov {

// The panel definition of "PANEL001": header 30, 48, 76, 551, 80, 100, 50,
// 40, 0, 200, 1, 80, 0, -1, 40; 24 numbers, 76 characters, 551 bytes whose
// fourth sub-item (40 bytes) is the key list.
GuiBlock& panel_definition_block();
// The key list: 20 numbers inside the panel definition.
std::span<uint8_t> key_list();

// The field definition: header 30, 52, 74, 20, 0, 0, 20, 0, 0, 0, 0, 0, 0,
// -1, 44; 26 numbers, 74 characters, and room for 9,999 variable bytes (the
// update list is handed over in it). Pass it with field_definition_bytes().
GuiBlock& field_definition_block();
// The block cut to the variable length that its header entry 4 declares.
std::span<uint8_t> field_definition_bytes();

// The converse block of "PANEL001": header 20, 40, 106, 6, 2, 0, 0, 0, 0, 0;
// 20 numbers, 106 characters, 8 variable bytes.
GuiBlock& converse_block();

// The converse block of "PSETUP": header 20, 40, 106, 6, 2, 57, 4, 4, 0, 0;
// 73 variable bytes, bytes 9 to 65 the value of "DIR".
GuiBlock& psetup_converse_block();
// The value of "DIR" in that block: the selected line, 57 characters.
Field psetup_dir_value();

// Puts every block in its state at program start.
void reset_panel_blocks();

} // namespace qov
