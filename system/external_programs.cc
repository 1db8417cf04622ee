#include "system/external_programs.h"

#include <cstring>
#include <string>

#include "system/process_exit.h"
#include "system/trace.h"

namespace qov {
namespace {
ExternalPrograms* g_programs = nullptr;
ExtractionBlock g_extraction{};
FolderDialogBlock g_folder_dialog{};

template <typename Block> std::span<const uint8_t> bytes_of(const Block& block) {
  return {reinterpret_cast<const uint8_t*>(&block), sizeof block};
}
} // namespace

void set_external_programs(ExternalPrograms* programs) {
  g_programs = programs;
}

ExtractionBlock& extraction_block() {
  return g_extraction;
}
FolderDialogBlock& folder_dialog_block() {
  return g_folder_dialog;
}

void reset_external_program_blocks() {
  std::memset(&g_extraction, 0, sizeof g_extraction);
  std::memset(&g_folder_dialog, 0, sizeof g_folder_dialog);
}

int32_t call_reredodi() {
  TraceObject object{std::string(kReredodi)};
  object.hex("in", bytes_of(g_extraction));
  std::string error;
  int32_t result = g_programs != nullptr ? g_programs->extract(g_extraction, &error) : 0;
  set_pending_exit_code(result);
  object.num("result", result);
  if (!error.empty())
    object.str("error", error);
  trace(object);
  return result;
}

int32_t call_ravuvu32() {
  TraceObject object{std::string(kRavuvu32)};
  object.hex("in", bytes_of(g_folder_dialog));
  int32_t result = g_programs != nullptr ? g_programs->folder_dialog(g_folder_dialog) : 0;
  set_pending_exit_code(result);
  trace(object.hex("out", bytes_of(g_folder_dialog)).num("result", result));
  return result;
}

void release_program(std::string_view program) {
  if (g_programs != nullptr)
    g_programs->release(program);
  trace(TraceObject("release").str("program", program));
}

} // namespace qov
