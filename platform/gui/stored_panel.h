// Reads a stored panel definition (code 128) into what a back end shows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qov {

struct StoredPanel {
  struct Heading {
    int column;
    std::string text; // Windows-1252
  };
  struct ListField {
    int number = 0, row = 0, column = 0, width = 0, lines = 0;
    std::string name;    // "DIR"
    std::string picture; // "X(57)"
  };
  struct Button {
    int key = 0, row = 0, column = 0;
    std::string name, bitmap, caption; // trailing spaces removed
  };

  std::string name; // 8 characters
  int width = 0, height = 0;
  std::string caption;
  std::vector<Heading> headings;
  std::vector<ListField> lists;
  std::vector<Button> buttons;
};

// Parses the block of a code-128 call. Nothing when any length or item runs
// past the bytes given or past the definition's own length.
std::optional<StoredPanel> parse_stored_panel(std::span<const uint8_t> block);

} // namespace qov
