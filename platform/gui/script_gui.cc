#include "platform/gui/script_gui.h"

#include <algorithm>
#include <cstring>

#include "ui/gui_block.h"

namespace qov {
namespace {
// A line of the "DIR" list, and the value of the field.
constexpr std::size_t kLineSize = 57;
} // namespace

int32_t ScriptGui::call(int16_t code, std::span<uint8_t> block) {
  if (panels_.handle(code, block))
    return 0;
  if (code == kGuiConverse)
    converse(block);
  else if (code == kGuiMessage)
    message(block);
  return 0;
}

void ScriptGui::converse(std::span<uint8_t> block) {
  GuiBlockView v(block);
  // "n" in character 103: show the panel and return at once.
  if (v.character(103) == 'n') {
    v.set_number(1, 0);
    return;
  }
  std::string panel(v.characters(1, 8));
  const Answer& a = answers_.take({Answer::Kind::kKey, Answer::Kind::kSelect},
                                  "converse (code 19) on \"" + panel + "\"");
  if (a.kind == Answer::Kind::kKey) {
    v.set_number(1, a.number);
    return;
  }
  // select N: line N of the list held by the panel's field 1, "DIR", becomes
  // the field's value in bytes 9 to 65 of the variable part. A line the list
  // does not have is an error of the answer file.
  std::string call = "converse (code 19) on \"" + panel + "\"";
  Panel* p = panels_.find(panel);
  auto variable = v.variable_part();
  if (p == nullptr || !p->fields.count(1) || variable.size() < 8 + kLineSize)
    answers_.refuse(a, call, "the panel has no list");
  std::span<const uint8_t> list = p->fields[1].value();
  std::size_t lines = list.size() / kLineSize;
  if (static_cast<std::size_t>(a.number) > lines)
    answers_.refuse(a, call, "the list holds " + std::to_string(lines) + " lines");
  std::size_t start = kLineSize * static_cast<std::size_t>(a.number - 1);
  std::memcpy(variable.data() + 8, list.data() + start, kLineSize);
  v.set_number(1, 0);
}

void ScriptGui::message(std::span<uint8_t> block) {
  GuiBlockView v(block);
  const Answer& a = answers_.take({Answer::Kind::kAnswer}, "message (code 48)");
  v.set_character(4, a.letter);
}

} // namespace qov
