#include "ui/windows.h"

#include "system/fixed_text.h"
#include "ui/gui_library.h"

namespace qov {

GuiBlock blank_window_definition() {
  return GuiBlock({10, 38, 38, 100, 100}, 100);
}

GuiBlock main_window_definition() {
  GuiBlock block = blank_window_definition();
  GuiBlockView v = block.view();
  v.set_number(5, 84);
  v.set_number(6, 34);
  v.set_number(7, 6);
  v.set_number(8, 40);
  v.set_number(13, 1);
  v.set_characters(1, "SETUP   ");
  v.set_character(26, 'd');
  set_text(as_field(v.variable_part()), "QOV-Software (Setup)");
  return block;
}

void open_main_window() {
  GuiBlock window = main_window_definition();
  EmptyBlock empty;
  gui_call(kGuiOpenWindow, window.bytes());
  gui_call(kGuiAfterOpen, empty.bytes);
  gui_call(kGuiWindowInfo, window.bytes());
}

void close_gui() {
  EmptyBlock empty;
  gui_call(kGuiCloseWindow, empty.bytes);
  EmptyBlock last;
  gui_call(kGuiShutdown, last.bytes);
}

} // namespace qov
