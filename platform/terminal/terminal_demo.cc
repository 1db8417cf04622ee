// qov-terminal-demo: makes the installer's kinds of GUI calls through the
// terminal front end, in a fixed order, and writes what each call gave back
// to a result file, one line per call. The tmux tests drive it.
//
//   qov-terminal-demo RESULT_FILE [board] [message] [question] [psetup]
//                     [folder] [progress]
//
// The scenarios run in the order given, between opening the main window and
// closing the GUI.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/host_names.h"
#include "platform/terminal/folder_names.h"
#include "platform/terminal/screen.h"
#include "platform/terminal/sp2_config.h"
#include "platform/terminal/terminal_folder_dialog.h"
#include "platform/terminal/terminal_gui.h"
#include "platform/terminal/terminal_progress.h"
#include "system/external_programs.h"
#include "system/fixed_text.h"
#include "system/win1252.h"
#include "ui/gui_block.h"
#include "ui/gui_library.h"
#include "ui/message_block.h"
#include "ui/panel_blocks.h"
#include "ui/update_panel_data.h"
#include "ui/windows.h"

namespace {

using namespace qov;

FILE* g_out = nullptr;

void result(const std::string& line) {
  std::fprintf(g_out, "%s\n", line.c_str());
  std::fflush(g_out);
}

// A small machine: drives C: and D: with a few folders.
class DemoHostNames : public HostNames {
public:
  DemoHostNames() {
    folders_["c:\\"] = {"Arquivos", "usr", "Utilizadores"};
    folders_["c:\\usr"] = {"local", "qov"};
    folders_["c:\\usr\\qov"] = {w1252("Gestão")};
    folders_["d:\\"] = {"autorun", "portugal"};
  }
  std::optional<std::string> existing(const std::string& name) override {
    std::string key = key_of(name);
    if (folders_.count(key))
      return "/demo/" + key;
    std::string parent = key_of(terminal::parent_folder(name));
    if (auto it = folders_.find(parent); it != folders_.end())
      for (const std::string& f : it->second)
        if (key_of(terminal::child_folder(parent, f)) == key)
          return "/demo/" + key;
    return std::nullopt;
  }
  std::optional<std::string> for_create(const std::string& name) override { return name; }
  std::string drives() override { return "CD"; }
  std::vector<std::string> folders_in(const std::string& folder) override {
    auto it = folders_.find(key_of(folder));
    return it == folders_.end() ? std::vector<std::string>() : it->second;
  }

private:
  static std::string key_of(const std::string& name) {
    std::string k = terminal::lower_ascii(name);
    while (k.size() > 3 && k.back() == '\\')
      k.pop_back();
    return k;
  }
  std::map<std::string, std::vector<std::string>> folders_;
};

struct Item {
  int row, column;
  int16_t code;
  const char* bitmap;
};

void draw_board(const std::vector<Item>& items) {
  std::array<uint8_t, 10> name{};
  std::memcpy(name.data() + 2, "PANEL001", 8);
  gui_call(kGuiClearPanel, name);
  GuiBlockView panel = panel_definition_block().view();
  panel.clear_parts();
  panel.set_number(1, 80);
  panel.set_number(2, 30);
  panel.set_characters(1, "PANEL001");
  std::span<uint8_t> keys = key_list();
  put_le16(keys, 0, 27);
  gui_call(kGuiDefinePanel, panel_definition_block().bytes());
  GuiBlockView field = field_definition_block().view();
  field.clear_parts();
  int number = 0, key = 1;
  for (const Item& item : items) {
    field.set_number(1, static_cast<int16_t>(++number));
    field.set_number(6, static_cast<int16_t>(item.row));
    field.set_number(7, static_cast<int16_t>(item.column));
    field.set_number(18, item.code);
    field.set_character(66, item.code != 0 ? 'w' : '\0');
    std::string picture = std::string(8, ' ') + item.bitmap;
    set_text(as_field(field.variable_part().first(20)), picture);
    gui_call(kGuiSetField, field_definition_bytes());
    if (item.code != 0)
      put_le16(keys, 2 * key++, item.code);
  }
  gui_call(kGuiDefinePanel, panel_definition_block().bytes());
}

// Converses like the installer's screens: until a key of the key list or -5.
int16_t converse_board() {
  GuiBlockView c = converse_block().view();
  c.clear_parts();
  c.set_characters(1, "PANEL001");
  std::span<uint8_t> keys = key_list();
  while (true) {
    gui_call(kGuiConverse, converse_block().bytes());
    int16_t key = c.number(1);
    if (key == -5)
      return key;
    for (int i = 0; i < 20; ++i) {
      int16_t k = get_le16(keys, 2 * i);
      if (k == key)
        return key;
      if (k == 0)
        break;
    }
    result("ignored " + std::to_string(key));
  }
}

void board() {
  draw_board({{0, 0, 0, "cd_qov.bmp"},
              {10, 15, 0, "cd_loca.bmp"},
              {12, 20, 281, "cd_por.bmp"},
              {14, 20, 286, "cd_ang.bmp"},
              {16, 20, 306, "cd_moc.bmp"},
              {18, 20, 287, "cdopc_sa.bmp"}});
  result("board " + std::to_string(converse_board()));
}

void show(const Message& m, const std::string& what) {
  char answer = show_message(m);
  result(what + " " + (answer == '\0' ? std::string("-") : std::string(1, answer)));
}

// The update list: 14 lines, more than the panel shows at once.
std::string update_list() {
  std::string list;
  for (int i = 1; i <= 14; ++i) {
    std::string line(57, ' ');
    std::string folder =
        i == 2 ? w1252("C:\\QOV\\MOÇAMBIQUE") : "C:\\QOV\\EMPRESA" + std::to_string(i);
    line.replace(0, folder.size(), folder);
    line[41] = i % 2 == 0 ? 'X' : ' ';
    line.replace(44, 2, "mf");
    line.replace(51, 4, "6.00");
    list += line;
  }
  return list;
}

// Hands the list to field 1 of the current panel as the register does.
void set_list(const std::string& list) {
  GuiBlock& f = field_definition_block();
  GuiBlockView v = f.view();
  v.clear_parts();
  v.set_header(4, 9999);
  for (std::size_t e = 5; e <= 13; ++e)
    v.set_header(e, 0);
  v.set_number(1, 1);
  gui_call(kGuiGetField, f.bytes());
  std::span<uint8_t> var = v.variable_part();
  std::size_t before = static_cast<std::size_t>(v.header(5) + v.header(6));
  std::size_t old_length = static_cast<std::size_t>(v.header(7));
  std::size_t after = static_cast<std::size_t>(v.header(9) + v.header(10) + v.header(11));
  std::vector<uint8_t> kept(var.begin() + before + old_length,
                            var.begin() + before + old_length + after);
  std::memcpy(var.data() + before, list.data(), list.size());
  std::memcpy(var.data() + before + list.size(), kept.data(), kept.size());
  v.set_header(7, static_cast<int16_t>(list.size()));
  v.set_header(4, static_cast<int16_t>(v.header(4) - old_length + list.size()));
  gui_call(kGuiSetField, f.bytes_with_variable(static_cast<std::size_t>(v.header(4))));
}

void psetup() {
  std::string list = update_list();
  std::string line = list.substr(0, 57);
  while (true) {
    draw_board({{0, 0, 0, "cd_qov.bmp"}, {1, 10, 0, "cd_actu.bmp"}});
    gui_call(kGuiLoadStoredPanel, psetup_stored_panel());
    GuiBlock window = blank_window_definition();
    window.view().set_characters(9, "PSETUP  ");
    gui_call(kGuiOpenWindow, window.bytes());
    EmptyBlock empty;
    gui_call(kGuiAfterOpen, empty.bytes);
    GuiBlockView c = psetup_converse_block().view();
    c.clear_parts();
    c.set_characters(1, "PSETUP  ");
    c.variable_part()[6] = 'x';
    Field dir = psetup_dir_value();
    std::memcpy(dir.data(), line.data(), 57);
    set_list(list);
    bool changed = false;
    while (!changed) {
      gui_call(kGuiConverse, psetup_converse_block().bytes());
      c.variable_part()[6] = 0;
      int16_t key = c.number(1);
      std::string now(dir.data(), 57);
      std::size_t index = list.find(now);
      int number = index == std::string::npos ? 0 : static_cast<int>(index / 57) + 1;
      if (key == -5 || key == 3 || key == 15 || key == 316) {
        result("psetup " + std::to_string(key) + " line " + std::to_string(number));
        gui_call(kGuiCloseWindow, empty.bytes);
        return;
      }
      if (now != line) {
        result("select " + std::to_string(number));
        line = now;
        changed = true;
      } else {
        result("ignored " + std::to_string(key));
      }
    }
    gui_call(kGuiCloseWindow, empty.bytes);
  }
}

void folder(TerminalFolderDialog& dialog) {
  FolderDialogBlock& b = folder_dialog_block();
  std::memcpy(b.function, "I-O", 3);
  set_text(b.title, w1252("Indique Directório Instalação"));
  b.first_option[0] = 'N';
  b.second_option[0] = 'S';
  set_text(b.file_name, "QOV.INT");
  set_text(b.folder, "c:\\usr\\qov");
  dialog.choose(b);
  if (std::string_view(b.function, 3) == "CAN")
    result("folder cancelled");
  else
    result("folder [" + utf8_from_w1252(std::string(b.folder, 80)) + "]");
}

void progress(TerminalProgress& p) {
  p.begin(w1252("D:\\portugal\\mf\\600\\QOVAPL1.ZI@"), 1000);
  for (uint64_t done = 0; done <= 1000; done += 125) {
    p.advance(done);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  result("progress shown");
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  p.end();
  p.failure(w1252("D:\\portugal\\mf\\600\\QOVAPL2.ZI@"), "o disco está cheio");
  result("failure dismissed");
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qov-terminal-demo RESULT_FILE [scenario...]\n");
    return 2;
  }
  g_out = std::fopen(argv[1], "w");
  if (g_out == nullptr)
    return 2;
  terminal::Screen& screen = terminal::Screen::instance();
  TerminalGui gui(screen);
  DemoHostNames names;
  TerminalFolderDialog dialog(gui, &names);
  TerminalProgress bar(gui);
  set_gui_library(&gui);
  result("pid " + std::to_string(getpid()));

  open_main_window();
  result("window open");
  for (int i = 2; i < argc; ++i) {
    std::string s = argv[i];
    if (s == "board")
      board();
    else if (s == "message")
      show(version_too_old_message(), "message");
    else if (s == "question")
      show(cancel_question(), "question");
    else if (s == "psetup")
      psetup();
    else if (s == "folder")
      folder(dialog);
    else if (s == "progress")
      progress(bar);
  }
  close_gui();
  result("end");
  std::fclose(g_out);
  return 0;
}
