// The boundary to the GUI library "SP2".
//
// The library has one entry point: a 16-bit function code and a parameter
// block passed by reference. Its 32-bit result becomes the pending exit code
// and is never tested. The installer reaches the library only through
// gui_call(); which library answers is chosen at start (a script back end for
// tests and tools, a terminal back end for people).
#pragma once

#include <cstdint>
#include <span>

namespace qov {

// Function codes the installer uses.
enum GuiCode : int16_t {
  kGuiOpenWindow = 0,
  kGuiAfterOpen = 3,
  kGuiDefinePanel = 5,
  kGuiSetField = 7,
  kGuiGetField = 8,
  kGuiCloseWindow = 12,
  kGuiShutdown = 16,
  kGuiConverse = 19,
  kGuiWindowInfo = 34,
  kGuiMessage = 48,
  kGuiClearPanel = 71,
  kGuiLoadStoredPanel = 128,
};

class GuiLibrary {
public:
  virtual ~GuiLibrary() = default;
  // The block is the whole area the installer passes; the library never
  // reads or writes past its end.
  virtual int32_t call(int16_t code, std::span<uint8_t> block) = 0;
};

// The library that gui_call() reaches. Not owned.
void set_gui_library(GuiLibrary* library);
GuiLibrary* gui_library();

// Calls the library, traces the call and stores the result as the pending
// exit code.
int32_t gui_call(int16_t code, std::span<uint8_t> block);

} // namespace qov
