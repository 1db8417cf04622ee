// The boundary to the maker's helper programs REREDODI (archive extraction)
// and RAVUVU32 (folder dialog), each called by name with one block.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qov {

// The extraction block of REREDODI, 256 bytes.
struct ExtractionBlock {
  char function[3];     // "UNZ"
  char archive[80];     // full name of the archive, space-padded
  char destination[80]; // folder to extract into, space-padded
  char unused[92];      // binary zeros
  char mode[1];         // "2"
};
static_assert(sizeof(ExtractionBlock) == 256);

// The folder-dialog block of RAVUVU32, 245 bytes.
struct FolderDialogBlock {
  char function[3]; // "I-O" on the call, "CAN" on return when cancelled
  char title[80];
  char first_option[1];
  char second_option[1];
  char file_name[80];
  char folder[80]; // proposed folder on the call, chosen folder on return
};
static_assert(sizeof(FolderDialogBlock) == 245);

inline constexpr std::string_view kReredodi = "REREDODI";
inline constexpr std::string_view kRavuvu32 = "RAVUVU32";

class ExternalPrograms {
public:
  virtual ~ExternalPrograms() = default;
  // Extracts the archive into the destination. A failure is reported in
  // *error (empty on success) as well as in the result.
  virtual int32_t extract(ExtractionBlock& block, std::string* error) = 0;
  virtual int32_t folder_dialog(FolderDialogBlock& block) = 0;
  // Unloads the named program from the process; nothing when never called.
  virtual void release(std::string_view program) = 0;
};

// The programs that the calls below reach. Not owned.
void set_external_programs(ExternalPrograms* programs);

// The installer's one extraction block and one folder-dialog block.
ExtractionBlock& extraction_block();
FolderDialogBlock& folder_dialog_block();

// Call the program with its block, trace the call and store the result as the
// pending exit code.
int32_t call_reredodi();
int32_t call_ravuvu32();
void release_program(std::string_view program);

// Sets both blocks to their state at program start (binary zeros).
void reset_external_program_blocks();

} // namespace qov
