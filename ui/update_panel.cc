#include "ui/update_panel.h"

#include <cstdint>
#include <cstring>

#include "install/install_choices.h"
#include "install/install_register.h"
#include "system/fixed_text.h"
#include "ui/gui_library.h"
#include "ui/menus.h"
#include "ui/panel_blocks.h"
#include "ui/screens.h"
#include "ui/update_panel_data.h"
#include "ui/windows.h"

namespace qov {
namespace {

UpdateRegisterSteps g_steps = install_register_steps();

// Byte 7 of the variable part marks the first converse of an opening.
constexpr std::size_t kFirstConverseByte = 7;
constexpr std::size_t kFolderCharacters = 40;

bool leaves_panel(int16_t key) {
  return key == -5 || key == 3 || key == 15 || key == 316;
}

void show_update_screen() {
  draw_screen(update_screen());
  prepare_converse(/*show_only=*/true);
  converse_screen();
  converse_block().view().set_character(103, '\0');
}

void open_panel_window() {
  gui_call(kGuiLoadStoredPanel, psetup_stored_panel());
  GuiBlock window = blank_window_definition();
  window.view().set_characters(9, "PSETUP  ");
  gui_call(kGuiOpenWindow, window.bytes());
  EmptyBlock empty;
  gui_call(kGuiAfterOpen, empty.bytes);
}

void close_panel_window() {
  EmptyBlock empty;
  gui_call(kGuiCloseWindow, empty.bytes);
}

void prepare_panel_converse() {
  GuiBlockView v = psetup_converse_block().view();
  v.clear_parts();
  v.set_characters(1, "PSETUP  ");
  v.variable_part()[kFirstConverseByte - 1] = 'x';
}

// Converses with "PSETUP" until a leaving key comes back or the selection in
// "DIR" is no longer `update_line`. Returns the last key.
int16_t converse_panel() {
  GuiBlockView v = psetup_converse_block().view();
  for (;;) {
    gui_call(kGuiConverse, v.bytes());
    v.variable_part()[kFirstConverseByte - 1] = '\0';
    int16_t key = v.number(1);
    if (leaves_panel(key))
      return key;
    if (view(psetup_dir_value()) != view(install_choices.update_line))
      return key;
  }
}

} // namespace

UpdateRegisterSteps install_register_steps() {
  return {list_installations, apply_update_line, show_installation_list};
}

void set_update_register_steps(const UpdateRegisterSteps& steps) {
  g_steps = steps;
}

void run_update_path() {
  g_steps.list_installations();
  for (;;) {
    clear_panel();
    g_steps.apply_update_line();
    show_update_screen();
    open_panel_window();
    prepare_panel_converse();
    g_steps.show_installation_list();
    int16_t key = converse_panel();
    if (leaves_panel(key)) {
      Field dir = psetup_dir_value();
      set_spaces(install_choices.update_folder);
      std::memcpy(install_choices.update_folder, dir.data(), kFolderCharacters);
      close_panel_window();
      pending_update_key = key;
      return;
    }
    close_panel_window();
    copy_field(install_choices.update_line, psetup_dir_value());
  }
}

} // namespace qov
