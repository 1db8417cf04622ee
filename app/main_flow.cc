#include "app/main_flow.h"

#include "app/startup.h"
#include "install/install_choices.h"
#include "install/install_register.h"
#include "system/external_programs.h"
#include "system/fixed_text.h"
#include "system/primitives.h"
#include "system/process_exit.h"
#include "ui/menus.h"
#include "ui/panel_blocks.h"
#include "ui/screen_tables.h"
#include "ui/update_panel.h"
#include "ui/windows.h"

namespace qov {

void reset_run_state() {
  reset_install_choices();
  reset_primitive_area();
  reset_external_program_blocks();
  set_pending_exit_code(0);
  pending_update_key = 0;
  reset_screen_tables();
  reset_panel_blocks();
  reset_register_fields();
}

void run_installer() {
  run_startup();
  open_main_window();
  find_recorded_folder();
  if (!is_spaces(install_choices.update_folder))
    run_update_path();
  run_main_menu();
  release_program(kReredodi);
  release_program(kRavuvu32);
  close_gui();
  stop_process();
}

} // namespace qov
