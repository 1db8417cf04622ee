#include "ui/message_block.h"

#include <cstring>

#include "system/fixed_text.h"
#include "system/win1252.h"
#include "ui/gui_library.h"

namespace qov {
namespace {

constexpr std::size_t kTitleWidth = 60;
constexpr std::size_t kTextWidth = 180;

Message make(int16_t number, const char (&letters)[4], const char* title, const char* text,
             Message::Padding padding) {
  Message m;
  m.number = number;
  std::memcpy(m.letters, letters, 3);
  m.title = w1252(title);
  m.text = w1252(text);
  m.text_padding = padding;
  return m;
}

} // namespace

Message cd_not_found_message() {
  return make(1, "s\0\0", "QOV-Software      Erro de Instalação",
              "Não foi encontrado \"CD de Instalação\"", Message::Padding::kSpaces);
}

Message version_too_old_message() {
  return make(1, "\0\0\0", "Versão Desactualizada!",
              "Este CD só permite instalar Versões 4.89x ou posteriores.", Message::Padding::kNuls);
}

Message cancel_question() {
  return make(1, "qny", "Cancelamento da Instalação", "Pretende cancelar a Instalação?",
              Message::Padding::kSpaces);
}

Message no_folder_question() {
  return make(1, "qyy", "Não indicou directório de Instalação",
              "Pretende repetir directório de Instalação", Message::Padding::kSpaces);
}

Message completion_message(const std::string& text) {
  Message m = make(2, "io\0", "Fim da Instalação", "", Message::Padding::kNuls);
  m.text = text;
  return m;
}

GuiBlock& message_block() {
  static GuiBlock block({12, 2, 4, 240, 60, 180}, kTitleWidth + kTextWidth);
  return block;
}

char show_message(const Message& message) {
  GuiBlockView v = message_block().view();
  v.clear_parts();
  v.set_number(1, message.number);
  for (std::size_t i = 0; i < 3; ++i)
    v.set_character(i + 1, message.letters[i]);
  Field variable = as_field(v.variable_part());
  set_text(variable.first(kTitleWidth), message.title);
  Field text = variable.subspan(kTitleWidth, kTextWidth);
  if (message.text_padding == Message::Padding::kSpaces) {
    set_text(text, message.text);
  } else {
    set_nuls(text);
    std::memcpy(text.data(), message.text.data(), std::min(text.size(), message.text.size()));
  }
  gui_call(kGuiMessage, message_block().bytes());
  return v.character(4);
}

} // namespace qov
