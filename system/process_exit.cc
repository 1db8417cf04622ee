#include "system/process_exit.h"

#include <cstdio>
#include <cstdlib>

#include "system/trace.h"

namespace qov {
namespace {
int32_t g_pending_exit_code = 0;
StopHook g_stop_hook = nullptr;
} // namespace

int32_t pending_exit_code() {
  return g_pending_exit_code;
}
void set_pending_exit_code(int32_t code) {
  g_pending_exit_code = code;
}

void set_stop_hook(StopHook hook) {
  g_stop_hook = hook;
}

void stop_process() {
  stop_process_with(g_pending_exit_code);
}

void stop_process_with(int status) {
  trace(TraceObject("exit").num("code", status));
  if (g_stop_hook != nullptr) {
    g_stop_hook(status);
    std::abort(); // a hook that returns is a test fault
  }
  close_trace();
  std::fflush(nullptr);
  std::exit(status);
}

} // namespace qov
