// Putting a screen on the panel "PANEL001" and waiting for one of its buttons.
//
// There is one panel, "PANEL001", reused for every menu screen. Each screen
// starts by clearing it, then its items are added one field at a time and the
// panel is defined again with the key list of the screen's buttons. The
// converse loop then waits until a key of that list comes back.
#pragma once

#include <cstdint>
#include <span>

#include "ui/screen_tables.h"

namespace qov {

inline constexpr std::size_t kScreenWorkItems = 60;

// The 60-item area a screen is copied into before it is drawn.
std::span<ScreenItem, kScreenWorkItems> screen_work_area();

// Code 71 with the panel-name block "PANEL001", then the panel definition
// reset (numbers 1 and 2 = 80 and 30, the name, key-list number 1 = 27) and
// code 5.
void clear_panel();

// Copies the table into the work area, the rest spaces, and draws it: code 7
// for every item up to the first all-spaces one (an item with a blank picture
// is skipped), the buttons' codes added to the key list, then code 5.
void draw_screen(ScreenTable table);

// Prepares the converse block of "PANEL001": parts NUL, the panel name, and
// character 103 "n" when the screen is only to be shown.
void prepare_converse(bool show_only = false);

// Conversing with "PANEL001" (code 19) until the key code is -5 or matches
// the key list up to its first free entry. Returns the key code.
int16_t converse_screen();

// The key code in number 1 of the converse block: the last menu choice.
int16_t last_key_code();
void set_last_key_code(int16_t code);

} // namespace qov
