// The pending exit code and the end of the process.
//
// Every call of the GUI library and of the helper programs stores the value
// it returns as the pending exit code; nothing tests it, and the process ends
// with it.
#pragma once

#include <cstdint>

namespace qov {

int32_t pending_exit_code();
void set_pending_exit_code(int32_t code);

// Ends the process with the pending exit code: traces the exit object,
// closes the trace and exits. Tests replace the way out with set_stop_hook.
[[noreturn]] void stop_process();
// Ends the process with a given status (usage and script errors).
[[noreturn]] void stop_process_with(int status);

using StopHook = void (*)(int status);
// The hook runs instead of exit(); it must not return (a test throws).
void set_stop_hook(StopHook hook);

} // namespace qov
