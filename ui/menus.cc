#include "ui/menus.h"

#include <string_view>

#include "install/install_choices.h"
#include "install/installation_procedure.h"
#include "system/fixed_text.h"
#include "ui/message_block.h"
#include "ui/panel_blocks.h"
#include "ui/screens.h"

namespace qov {

int16_t pending_update_key = 0;

namespace {

// Buttons of the screens.
constexpr int16_t kInstall = 279;
constexpr int16_t kLeave = 287;
constexpr int16_t kPosOrPortugal = 281;
constexpr int16_t kAplOrAngola = 286;
constexpr int16_t kMfOrMocambique = 306;
constexpr int16_t kRm = 275;
// Keys of the update panel that steer the menus.
constexpr int16_t kUpdateOtherVersions = 316;
constexpr int16_t kUpdateOk = 15;

// -5 and 27 belong to no button; on a menu they mean leave, like 287.
bool is_leave(int16_t key) {
  return key == -5 || key == 27 || key == kLeave;
}

bool installation_started() {
  return holds(install_choices.install_started, "S");
}

void set_bitmap(ScreenItem& item, ConstField bitmap) {
  copy_field(bitmap_name(item), bitmap);
}

void set_module(std::string_view code, std::string_view bitmap) {
  set_text(install_choices.module_code, code);
  set_text(install_choices.module_bitmap, bitmap);
}

// What the module menu and the later levels decide; country_digit is never
// blanked.
void blank_module_choices() {
  InstallChoices& c = install_choices;
  set_spaces(c.module_code);
  set_spaces(c.module_bitmap);
  set_spaces(c.country);
  set_spaces(c.country_bitmap);
  set_spaces(c.version_code);
  set_spaces(c.version_bitmap);
  set_spaces(c.runtime_family);
  set_spaces(c.runtime_bitmap);
}

// Draws the main menu screen; it is never conversed.
void show_main_menu() {
  clear_panel();
  draw_screen(main_menu_screen());
  set_spaces(install_choices.action_code);
  set_spaces(install_choices.action_bitmap);
  blank_module_choices();
  set_text(install_choices.install_started, "N");
}

// The module of the installation selected on the update panel: a Zavod
// installation has "X" in character 42 of its line.
void set_module_from_update_line() {
  set_text(install_choices.action_code, "inst");
  if (psetup_dir_value()[41] == 'X')
    set_module("pos", "cdopc_po.bmp");
  else
    set_module("apl", "cdopc_ap.bmp");
}

bool version_is_current() {
  return view(install_choices.version_code) >= std::string_view("489");
}

// One pass of the module menu with no update pending: the module screen, and
// the level the chosen module leads to. False when the user leaves.
bool choose_module() {
  clear_panel();
  draw_screen(module_screen());
  blank_module_choices();
  prepare_converse();
  int16_t key = converse_screen();
  if (is_leave(key))
    return false;
  if (key == kPosOrPortugal) {
    set_module("pos", "cdopc_po.bmp");
    run_country_menu();
  } else if (key == kAplOrAngola) {
    set_module("apl", "cdopc_ap.bmp");
    run_country_menu();
  } else {
    set_module("run", "cdopc_ru.bmp");
    set_text(install_choices.runtime_bitmap, "cd_mf.bmp   ");
    run_version_step();
  }
  return true;
}

void set_country(std::string_view country, std::string_view digit, std::string_view bitmap) {
  set_text(install_choices.country, country);
  set_text(install_choices.country_digit, digit);
  set_text(install_choices.country_bitmap, bitmap);
}

} // namespace

void run_main_menu() {
  for (;;) {
    if (pending_update_key == kUpdateOtherVersions || pending_update_key == kUpdateOk) {
      set_module_from_update_line();
    } else {
      show_main_menu();
      // The key with which the user left the module menu last time.
      if (is_leave(last_key_code()))
        return;
    }
    // The main menu's install button is taken as pressed.
    set_last_key_code(kInstall);
    set_text(install_choices.action_code, "inst");
    set_text(install_choices.action_bitmap, "cd_inst.bmp ");
    run_module_menu();
  }
}

void run_module_menu() {
  for (;;) {
    if (pending_update_key == kUpdateOtherVersions) {
      run_version_step();
    } else if (pending_update_key == kUpdateOk) {
      if (!version_is_current()) {
        // Offered instead: another version into the same folder.
        show_message(version_too_old_message());
        pending_update_key = kUpdateOtherVersions;
        continue;
      }
      run_installation_procedure();
    } else if (!choose_module()) {
      return;
    }
    pending_update_key = 0;
    if (installation_started())
      return;
  }
}

void run_country_menu() {
  do {
    clear_panel();
    ScreenTable screen = country_screen();
    set_bitmap(screen[1], install_choices.action_bitmap);
    set_bitmap(screen[2], install_choices.module_bitmap);
    draw_screen(screen);
    InstallChoices& c = install_choices;
    set_spaces(c.country);
    set_spaces(c.country_bitmap);
    set_spaces(c.version_code);
    set_spaces(c.version_bitmap);
    set_spaces(c.runtime_family);
    set_spaces(c.runtime_bitmap);
    prepare_converse();
    int16_t key = converse_screen();
    if (is_leave(key))
      return;
    if (key == kPosOrPortugal)
      set_country("portugal", "0", "cd_por.bmp  ");
    else if (key == kAplOrAngola)
      set_country("angola  ", "1", "cd_ang.bmp  ");
    else
      set_country("mocambiq", "2", "cd_moc.bmp  ");
    run_version_step();
  } while (!installation_started());
}

void run_version_step() {
  set_text(install_choices.version_code, "600");
  set_text(install_choices.version_bitmap, "cd_ver60.bmp");
  set_text(install_choices.runtime_bitmap, "cd_mf.bmp   ");
  run_runtime_menu();
}

void run_runtime_menu() {
  InstallChoices& c = install_choices;
  clear_panel();
  ScreenTable screen = runtime_screen();
  set_bitmap(screen[1], c.action_bitmap);
  set_bitmap(screen[2], c.module_bitmap);
  set_bitmap(screen[3], c.country_bitmap);
  set_bitmap(screen[4], c.version_bitmap);
  set_bitmap(screen[6], c.runtime_bitmap);
  draw_screen(screen);
  set_spaces(c.runtime_family);
  set_spaces(c.runtime_bitmap);
  prepare_converse();
  int16_t key = converse_screen();
  if (is_leave(key))
    return;
  if (key == kMfOrMocambique) {
    set_text(c.runtime_family, "mf");
    set_text(c.archive_extension, "in@");
  } else if (key == kRm) {
    set_text(c.runtime_family, "rm");
    set_text(c.archive_extension, "co@");
  }
  if (holds(c.action_code, "inst"))
    run_installation_procedure();
}

} // namespace qov
