// qov-gui-show: shows the Win32 front end's boards for screenshots, with
// the blocks the installer passes: the main menu on "PANEL001", then the
// update screen with the panel "PSETUP" over it, listing two installations.
//
// Usage: qov-gui-show MARKER_FOLDER. After each board it writes NAME.ready
// into the folder and keeps the windows alive until NAME.done appears there
// (names "main" and "psetup"), or for 60 seconds.
#include <windows.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/windows/win32_gui.h"
#include "system/fixed_text.h"
#include "system/win1252.h"
#include "ui/gui_block.h"
#include "ui/gui_library.h"
#include "ui/panel_blocks.h"
#include "ui/screen_tables.h"
#include "ui/update_panel_data.h"
#include "ui/windows.h"

namespace qov {
namespace {

std::string g_markers;

void wait_for(const std::string& name) {
  std::FILE* f = std::fopen((g_markers + "\\" + name + ".ready").c_str(), "w");
  if (f != nullptr)
    std::fclose(f);
  std::string done = g_markers + "\\" + name + ".done";
  for (int i = 0; i < 600 && GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(100);
  }
}

int two_digits(const char (&d)[2]) {
  return (d[0] - '0') * 10 + (d[1] - '0');
}

// Clears "PANEL001" and draws the screen's items on it, as the menus do.
void draw(ScreenTable screen) {
  std::array<uint8_t, 10> name{};
  std::memcpy(name.data() + 2, "PANEL001", 8);
  gui_call(kGuiClearPanel, name);
  GuiBlockView panel = panel_definition_block().view();
  panel.clear_parts();
  panel.set_number(1, 80);
  panel.set_number(2, 30);
  panel.set_characters(1, "PANEL001");
  put_le16(key_list(), 0, 27);
  gui_call(kGuiDefinePanel, panel_definition_block().bytes());

  GuiBlockView field = field_definition_block().view();
  field.clear_parts();
  int16_t number = 0;
  std::size_t keys = 1;
  for (ScreenItem& item : screen) {
    if (is_spaces(item.picture))
      continue;
    int16_t code = button_code(item);
    field.set_number(1, ++number);
    field.set_number(6, static_cast<int16_t>(two_digits(item.row)));
    field.set_number(7, static_cast<int16_t>(two_digits(item.column)));
    field.set_number(18, code);
    field.set_character(32, 'y');
    field.set_character(58, 's');
    field.set_character(62, 'i');
    field.set_character(66, code != 0 ? 'w' : '\0');
    field.set_character(70, 'i');
    field.set_character(74, 5);
    std::memcpy(field.variable_part().data(), item.picture, 20);
    if (code != 0 && keys < 19)
      put_le16(key_list(), 2 * keys++, code);
    gui_call(kGuiSetField, field_definition_bytes());
  }
  gui_call(kGuiDefinePanel, panel_definition_block().bytes());
}

void show(GuiBlock& converse, const char* panel_name) {
  GuiBlockView v = converse.view();
  v.set_characters(1, panel_name);
  v.set_character(103, 'n');
  gui_call(kGuiConverse, converse.bytes());
}

std::string list_line(const char* folder, bool pos, const char* language, const char* version) {
  std::string line(57, ' ');
  std::string f = folder;
  line.replace(0, f.size(), f);
  line[41] = pos ? 'X' : ' ';
  line.replace(44, 7, language);
  line.replace(51, 6, version);
  return line;
}

// The list of "DIR" handed to the panel, as the register does: the
// proposed line first, then the recorded installations.
void fill_psetup_list(Win32Gui& gui, const std::string& proposed) {
  Panel* p = gui.panels().find("PSETUP  ");
  if (p == nullptr || !p->fields.count(1))
    return;
  std::string list = proposed + proposed + list_line("C:\\QOV\\POSTO", true, "RmCobol", " 6.001");
  FieldDefinition& f = p->fields[1];
  std::size_t offset = static_cast<std::size_t>(f.entry(5) + f.entry(6));
  std::size_t old_length = static_cast<std::size_t>(f.entry(7));
  std::vector<uint8_t> rest(f.variable.begin() + static_cast<long>(offset + old_length),
                            f.variable.end());
  f.variable.resize(offset);
  f.variable.insert(f.variable.end(), list.begin(), list.end());
  f.variable.insert(f.variable.end(), rest.begin(), rest.end());
  f.header[6] = static_cast<int16_t>(list.size());
  f.header[3] = static_cast<int16_t>(f.variable.size());
}

} // namespace
} // namespace qov

int main(int argc, char** argv) {
  using namespace qov;
  if (argc != 2) {
    std::fprintf(stderr, "usage: qov-gui-show MARKER_FOLDER\n");
    return 2;
  }
  g_markers = argv[1];
  Win32Gui gui;
  set_gui_library(&gui);
  reset_screen_tables();
  reset_panel_blocks();

  open_main_window();
  draw(main_menu_screen());
  show(converse_block(), "PANEL001");
  wait_for("main");

  draw(update_screen());
  show(converse_block(), "PANEL001");
  gui_call(kGuiLoadStoredPanel, psetup_stored_panel());
  GuiBlock window = blank_window_definition();
  window.view().set_characters(9, "PSETUP  ");
  gui_call(kGuiOpenWindow, window.bytes());
  EmptyBlock empty;
  gui_call(kGuiAfterOpen, empty.bytes);
  std::string proposed = list_line("C:\\QOV\\EMPRESA", false, "MfCobol", " 6.000");
  fill_psetup_list(gui, proposed);
  std::memcpy(psetup_dir_value().data(), proposed.data(), 57);
  show(psetup_converse_block(), "PSETUP  ");
  wait_for("psetup");

  gui_call(kGuiCloseWindow, empty.bytes);
  close_gui();
  return 0;
}
