// The installer's screens: picture boards of bitmaps, some of which are
// buttons, each at a fixed row and column.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qov {

// One item of a screen, 26 bytes.
struct ScreenItem {
  char row[2];      // two decimal digits
  char column[2];   // two decimal digits
  uint8_t code[2];  // button code, 16-bit little-endian; 0 for a plain picture
  char picture[20]; // 8 spaces, then the bitmap file name in 12 characters
};
static_assert(sizeof(ScreenItem) == 26);

using ScreenTable = std::span<ScreenItem>;

int16_t button_code(const ScreenItem& item);
// The 12-character bitmap name of the picture field (characters 9 to 20).
std::span<char, 12> bitmap_name(ScreenItem& item);

// The five screens. The menus and the update path overwrite the bitmap names
// of some items with choices already made, so the tables are mutable.
ScreenTable main_menu_screen();
ScreenTable module_screen();
ScreenTable country_screen();
ScreenTable runtime_screen();
// Items 3 to 5 (country, run-time, version) are set from the installation
// being proposed.
ScreenTable update_screen();

// Puts every table back in its state at program start.
void reset_screen_tables();

} // namespace qov
