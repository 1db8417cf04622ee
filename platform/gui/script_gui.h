// The answer-file back end of the GUI library: runs without a screen, taking
// what a person would do from the answer file.
#pragma once

#include "platform/gui/answer_file.h"
#include "platform/gui/panel_store.h"
#include "ui/gui_library.h"

namespace qov {

class ScriptGui : public GuiLibrary {
public:
  explicit ScriptGui(AnswerFile& answers) : answers_(answers) {}
  int32_t call(int16_t code, std::span<uint8_t> block) override;

  PanelStore& panels() { return panels_; }

private:
  void converse(std::span<uint8_t> block);
  void message(std::span<uint8_t> block);

  AnswerFile& answers_;
  PanelStore panels_;
};

} // namespace qov
