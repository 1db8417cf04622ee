// The install register: one file of 80-byte records per run-time family,
// c:/qovexemf/qovinst.dir and c:/qovexerm/qovinst.dir, naming the folders
// the installer has installed into.
//
// An install record, Windows-1252 text:
//   1-6    version text: "0", the version code's first character, ".", its
//          second and third characters, then the country digit
//   7-75   the folder, the first 69 characters of update_folder
//   76-78  the Zavod mark: "pos" for the module "pos", otherwise spaces
//   79-80  CR LF
// An erased record is 78 spaces and CR LF. Readers skip every record whose
// folder is all spaces or whose first two bytes are not both digits.
#pragma once

#include <cstddef>

namespace qov {

inline constexpr std::size_t kUpdateListSize = 4000;
inline constexpr std::size_t kUpdateLineSize = 57;

// The register's working fields; the family part of the file name is the
// only state one operation leaves for the next.
struct RegisterFields {
  // "c:/qovexe", the family (characters 10 and 11), "/qovinst.dir".
  char file_name[23];
  // The update list: line 1 the proposed installation, the recorded
  // installations from character 58 on, 57 characters each.
  char update_list[kUpdateListSize];
  // Character position of the next line of the list, 4 decimal digits.
  char list_position[4];
  // The highest version text met by any listing of the run.
  char best_version[6];
  // The Zavod mark of the record being written: "pos" or spaces.
  char zavod_mark[3];
};

extern RegisterFields register_fields;

// Puts the working fields in their state at program start: the "mf" file
// name, the list spaces, list position "0058", best version "000000".
void reset_register_fields();

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
