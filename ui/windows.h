// The installer's windows: the main window and closing the GUI.
#pragma once

#include "ui/gui_block.h"

namespace qov {

// A window definition with its numeric, character and variable parts NUL:
// header lengths 10, 38, 38, 100, 100; 19 numbers, 38 characters, 100 bytes.
GuiBlock blank_window_definition();

// The definition of the main window "SETUP", titled "QOV-Software (Setup)".
GuiBlock main_window_definition();

// Opens the main window: code 0 with its definition, code 3 with the empty
// block, code 34 with the definition (its reply is not read).
void open_main_window();

// Closes the window opened last (code 12) and shuts the library down (code 16).
void close_gui();

} // namespace qov
