#include "ui/gui_library.h"

#include <vector>

#include "system/process_exit.h"
#include "system/trace.h"

namespace qov {
namespace {
GuiLibrary* g_library = nullptr;
} // namespace

void set_gui_library(GuiLibrary* library) {
  g_library = library;
}
GuiLibrary* gui_library() {
  return g_library;
}

int32_t gui_call(int16_t code, std::span<uint8_t> block) {
  std::vector<uint8_t> in;
  if (trace_enabled())
    in.assign(block.begin(), block.end());
  int32_t result = g_library != nullptr ? g_library->call(code, block) : 0;
  set_pending_exit_code(result);
  if (trace_enabled())
    trace(
        TraceObject("gui").num("code", code).hex("in", in).hex("out", block).num("result", result));
  return result;
}

} // namespace qov
