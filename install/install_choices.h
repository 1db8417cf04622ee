// The installer's one record of working data.
//
// The menus and the update path write what the user chose, start-up writes
// what it found out about the machine and the CD, and the installation
// procedure reads it. Every field is fixed-width Windows-1252 text; procedures
// read and write the fields of the one instance directly.
#pragma once

namespace qov {

struct InstallChoices {
  // Choice fields, in the order the menus blank them.
  char action_code[4];
  char action_bitmap[12];
  char module_code[3];
  char module_bitmap[12];
  char country[8];
  char country_digit[1];
  char country_bitmap[12];
  char version_code[3];
  char version_bitmap[12];
  char runtime_family[2];
  char runtime_bitmap[12];
  char archive_extension[3];
  char install_started[1];

  // Update fields.
  char update_folder[80];
  char update_line[57];

  // Start-up fields.
  char cd_root[80];
  char cd_root_initial[80];
  char start_folder[80];
  char windows_folder[80];
  char system32_present[1];

  // The installation target folder.
  char target_folder[80];
};

// The one instance of the run.
extern InstallChoices install_choices;

// Puts the record in its state at program start: text fields spaces,
// `install_started` and `system32_present` "N", `country_digit`,
// `archive_extension` and `target_folder` NUL.
void reset_install_choices();

} // namespace qov
