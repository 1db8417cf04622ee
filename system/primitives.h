// File, folder and command primitives.
//
// Every file, folder and command step of the installer is built from these
// operations. They take their arguments in the fixed-width fields of one
// shared parameter area, perform one platform service and return; none of
// them reports anything to the user or stops the installation.
#pragma once

#include <cstdint>

namespace qov {

struct PrimitiveArea {
  uint8_t run_result;       // result of the run service; never examined
  uint8_t file_details[16]; // size, date, time; all zero when absent
  char name_text[105];      // the one name argument, and the current folder
  char copy_source[80];
  char copy_target[80];
  uint16_t status;              // 0 or the platform's error number; read by none
  uint32_t folder_query_flags;  // always 0
  uint32_t folder_query_length; // 100
  char drive_letter[1];
};

extern PrimitiveArea primitive_area;

// Puts the area in its state at program start.
void reset_primitive_area();

// Makes the drive letter the current drive.
void set_drive();
// Makes the folder named in the name text the current folder.
void change_folder();
// Writes the full name of the current folder (at most 100 characters) and a
// NUL at the start of the name text.
void get_current_folder();
// Fills the file details of the file named in the name text. Returns true
// when the file exists, that is when a byte of the details is non-zero.
bool file_exists();
// Copies the copy source to the copy target, replacing the target.
void copy_file();
// Runs the name text, less its trailing spaces, through the command shell and
// waits for it to end.
void run_command();
// Has REREDODI extract the archive of the extraction block into its
// destination; the result becomes the pending exit code.
void extract_archive();

// Sets an environment variable of the process from a name and a value
// (trailing spaces belong to neither), and reads one into a field.
void set_environment(const char (&name)[8], const char (&value)[80]);
void read_environment(const char (&name)[8], char (&value)[80]);

} // namespace qov
