// The extraction progress on the terminal: while REREDODI works, a box with
// the archive's name and a progress bar over the installer's windows; a
// failure notice waits until the user dismisses it.
//
// Archive names are Windows-1252 (as in the extraction block); failure
// reasons are UTF-8.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/programs/extraction_progress.h"
#include "platform/terminal/terminal_gui.h"

namespace qov {

class TerminalProgress : public ExtractionProgress {
public:
  explicit TerminalProgress(TerminalGui& gui) : gui_(gui) {}

  void begin(const std::string& archive, uint64_t total) override;
  void advance(uint64_t done) override;
  void end() override;
  void failure(const std::string& archive, const std::string& reason) override;

private:
  void draw();

  TerminalGui& gui_;
  std::string archive_;
  uint64_t total_ = 0, done_ = 0;
  int shown_percent_ = -1;
  std::chrono::steady_clock::time_point shown_at_;
};

// The bar for `done` of `total` in `width` cells: filled and empty blocks,
// then the percentage; without a total, the amount written so far.
std::wstring progress_bar(uint64_t done, uint64_t total, int width);

} // namespace qov
