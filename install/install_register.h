// The install register: one file of 80-byte records per run-time family,
// c:/qovexemf/qovinst.dir and c:/qovexerm/qovinst.dir, naming the folders
// the installer has installed into.
#pragma once

namespace qov {

// update_folder := the folder of the first valid record of the "mf" file, or
// else of the "rm" file, or spaces.
void find_recorded_folder();
// Records the installation in the file of the chosen family, then erases the
// same folder from the other family's file.
void record_installation();
void unrecord_other_family();
// Builds the update list; proposes the installation with the highest version.
void list_installations();
// Sets the run-time, country and version choices from update_line.
void apply_update_line();
// Puts the update list into the field "DIR" of the panel "PSETUP".
void show_installation_list();

} // namespace qov
