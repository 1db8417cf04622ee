#include "platform/gui/script_gui.h"

#include <algorithm>
#include <cstring>

#include "ui/gui_block.h"

namespace qov {

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
  // the field's value in bytes 9 to 65 of the variable part.
  v.set_number(1, 0);
  Panel* p = panels_.find(panel);
  auto variable = v.variable_part();
  if (p == nullptr || !p->fields.count(1) || variable.size() < 65)
    return;
  std::span<const uint8_t> list = p->fields[1].value();
  std::size_t start = 57 * static_cast<std::size_t>(a.number - 1);
  if (start + 57 > list.size())
    return;
  std::memcpy(variable.data() + 8, list.data() + start, 57);
}

void ScriptGui::message(std::span<uint8_t> block) {
  GuiBlockView v(block);
  const Answer& a = answers_.take({Answer::Kind::kAnswer}, "message (code 48)");
  v.set_character(4, a.letter);
}

} // namespace qov
