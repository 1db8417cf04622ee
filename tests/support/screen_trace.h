// Reading the menu screens back from the trace of GUI calls, and watching the
// choices record as each GUI call is made.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "install/install_choices.h"
#include "tests/support/trace_reader.h"
#include "ui/gui_library.h"

namespace qov::testing {

// A screen of "PANEL001" that waited for the user: what was drawn since the
// last code 71 and what the converse returned.
struct WaitingScreen {
  int drawing = 0;                  // counts the code-71 calls; equal: not redrawn
  std::vector<int> field_numbers;   // number 1 of each code-7 field definition
  std::vector<std::string> bitmaps; // characters 9-20 of each picture field
  std::vector<int> keys;            // the key list of the last code 5, up to its first 0
  int key = 0;                      // number 1 of the converse block returned
};

// The converses on "PANEL001" that waited (character 103 not "n"), in order.
std::vector<WaitingScreen> waiting_screens(const std::vector<TraceEntry>& trace);

// Stands in front of another library and keeps, for every call, its code and
// the choices record as it was when the call was made.
class ObservingGui : public GuiLibrary {
public:
  struct Seen {
    int16_t code;
    InstallChoices choices;
  };
  explicit ObservingGui(GuiLibrary& inner) : inner_(inner) {}
  int32_t call(int16_t code, std::span<uint8_t> block) override;

  // The choices at the first call made with `install_started` "S", or the
  // record now if it is "S" (the installation may end the run before any
  // call): what the installation procedure was entered with.
  std::optional<InstallChoices> choices_when_installing() const;

  std::vector<Seen> seen;

private:
  GuiLibrary& inner_;
};

// A field of the choices record as a string, all its bytes.
template <std::size_t N> std::string text(const char (&field)[N]) {
  return std::string(field, N);
}

} // namespace qov::testing
