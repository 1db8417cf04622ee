// Messages and questions: one block layout and one way of filling it for
// every message the installer shows (GUI library code 48).
#pragma once

#include <cstdint>
#include <string>

#include "ui/gui_block.h"

namespace qov {

struct Message {
  enum class Padding { kSpaces, kNuls };

  int16_t number = 1;
  char letters[3] = {0, 0, 0}; // letters 1 to 3; letter 4 receives the answer
  std::string title;           // Windows-1252, at most 60 characters
  std::string text;            // Windows-1252, at most 180 characters
  Padding text_padding = Padding::kSpaces;
};

// The messages of the installer, texts exactly as shown.
Message cd_not_found_message();
Message version_too_old_message();
Message cancel_question();
Message no_folder_question();
// The closing message; its text is made by the completion step.
Message completion_message(const std::string& text);

// The one message block: header 12, 2, 4, 240, 60, 180; the number, four
// letters, then a 60-character title and a 180-character text.
GuiBlock& message_block();

// Clears the block's parts, fills the number, letters 1 to 3, the title
// (space-padded) and the text (padded as the message says), calls code 48
// and returns letter 4: the answer to a question ("y" or "n"), NUL when none.
char show_message(const Message& message);

} // namespace qov
