// The installer on a real terminal: build/qov-setup run in tmux on the demo
// machine with its terminal front end, used by keys alone as a person would.
// Each scenario checks what the screens showed on the way, what the GUI calls
// gave back (the trace) and what was left on the machine.
#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/demo_machine.h"
#include "tests/support/tmux_session.h"
#include "ui/gui_block.h"

namespace qov::testing {
namespace {

using namespace std::chrono_literals;

constexpr int kColumns = 100, kRows = 40;
const char kFirstInstall[] = "key 286\nkey 281\nkey 306\nfolder C:\\QOV\\EMPRESA\n";

// One row of a screen, and the column (in characters) where a text starts in
// it; -1 when it is not there.
std::string row_of(const std::string& screen, int row) {
  std::istringstream lines(screen);
  std::string line;
  for (int i = 0; std::getline(lines, line); ++i)
    if (i == row)
      return line;
  return "";
}
int column_in(const std::string& line, const std::string& text, std::size_t from = 0) {
  std::size_t at = line.find(text, from);
  if (at == std::string::npos)
    return -1;
  int column = 0;
  for (std::size_t i = 0; i < at; ++i)
    column += (static_cast<unsigned char>(line[i]) & 0xc0) != 0x80;
  return column;
}

std::size_t characters(const std::string& utf8) {
  return static_cast<std::size_t>(column_in(utf8 + '\n', "\n"));
}

std::string trimmed(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

class TerminalEndToEnd : public ::testing::Test {
protected:
  void SetUp() override {
    if (!TmuxSession::available())
      GTEST_SKIP() << "tmux is not installed";
  }

  // Starts the installer in D:\AUTORUN\BIN. When it ends the shell notes its
  // status and keeps the pane, with its last screen, open.
  void start() {
    std::string command = "cd " + shell_quoted(machine.host("d/AUTORUN/BIN")) +
                          " && env -u QOV_GUI_SCRIPT " + shell_quoted(QOV_SETUP_BINARY) +
                          "; echo status $? > " + shell_quoted(status_file()) + "; sleep 600";
    tmux = std::make_unique<TmuxSession>(command, kColumns, kRows,
                                         std::map<std::string, std::string>{
                                             {"QOV_MACHINE", machine.root()},
                                             {"QOV_TRACE", trace_file()},
                                             {"windir", "C:\\WINDOWS"},
                                             {"LANG", "C.UTF-8"},
                                             {"TERM", "xterm-256color"},
                                         });
  }

  // Waits for each text in turn; the failure shows the screen.
  void expect_shown(const std::vector<std::string>& texts,
                    std::chrono::milliseconds timeout = 10s) {
    for (const std::string& text : texts)
      EXPECT_TRUE(tmux->wait_for(text, timeout)) << "not shown: " << text << "\n" << tmux->screen();
  }

  // The text of the folder dialog's field "Pasta".
  std::string folder_field() {
    auto [column, row] = tmux->find("Pasta:");
    std::string line = row_of(tmux->screen(), row);
    std::size_t start = line.find("Pasta:");
    if (row < 0 || start == std::string::npos)
      return "";
    std::string field = line.substr(start + 6, line.find("│", start) - start - 6);
    field.erase(0, field.find_first_not_of(' '));
    return trimmed(field);
  }

  bool ended(int status) {
    return wait_for_file_text(status_file(), "status " + std::to_string(status) + "\n", 60s);
  }

  std::vector<TraceEntry> trace() const { return read_trace(trace_file()); }

  // The key codes the waiting converses gave back, in order.
  std::vector<int> converse_keys() const {
    std::vector<int> keys;
    for (const TraceEntry& e : calls_named(trace(), "gui")) {
      if (e.code() != 19)
        continue;
      std::vector<unsigned char> out = from_hex(e["out"]);
      std::vector<uint8_t> bytes(out.begin(), out.end());
      if (int key = GuiBlockView(bytes).number(1); key != 0)
        keys.push_back(key);
    }
    return keys;
  }

  // The folder of the dialog's block, as the installer passed it ("in") or
  // got it back ("out").
  std::string dialog_folder(const std::string& member) const {
    auto dialogs = calls_named(trace(), "RAVUVU32");
    if (dialogs.size() != 1)
      return "(" + std::to_string(dialogs.size()) + " dialogs)";
    std::vector<unsigned char> b = from_hex(dialogs[0][member]);
    return b.size() < 245 ? "(short block)"
                          : trimmed(std::string(b.begin() + 165, b.begin() + 245));
  }

  std::string status_file() const { return work.path() + "/status"; }
  std::string trace_file() const { return work.path() + "/trace.jsonl"; }

  DemoMachine machine;
  TempDir work;
  std::unique_ptr<TmuxSession> tmux;
};

// "apl", Portugal, "mf", into C:\QOV\EMPRESA: each board names its choices on
// the pictures, the focus is marked where it is, the folder dialog's field is
// edited, and the installation and the product's start follow.
TEST_F(TerminalEndToEnd, InstallsAplForPortugalWithMfByKeys) {
  start();
  ASSERT_TRUE(tmux->wait_for("QOV-Software (Setup)")) << tmux->screen();

  // The module menu: every choice readable at once, the first one focused.
  expect_shown({"Instalar", "Posto (Zavod)", "Aplicação", "Run-time", "Sair", "▶Posto (Zavod)◀"});
  tmux->send_keys({"Down"});
  ASSERT_TRUE(tmux->wait_for("▶Aplicação◀")) << tmux->screen();
  tmux->send_keys({"Enter"});

  // The country board, with the module chosen shown on it.
  expect_shown({"Localização", "Angola", "Moçambique", "▶Portugal◀"});
  EXPECT_TRUE(tmux->wait_for("Aplicação")) << tmux->screen();
  tmux->send_keys({"Enter"});

  // The run-time board shows the module and the country chosen.
  expect_shown({"Linguagem", "RmCobol", "Portugal", "Aplicação", "▶MfCobol"});
  tmux->send_keys({"Enter"});

  // The folder dialog: its title and the proposal, replaced by typing.
  expect_shown({"Indique Directório Instalação", "Pasta:", "Unidades", "[ OK ]", "[ Cancelar ]"},
               30s);
  std::string proposal = folder_field();
  ASSERT_FALSE(proposal.empty()) << tmux->screen();
  tmux->send_keys(std::vector<std::string>(characters(proposal), "BSpace"));
  tmux->type("C:\\QOV\\EMPRESA");
  ASSERT_TRUE(tmux->wait_for("C:\\QOV\\EMPRESA")) << tmux->screen();
  EXPECT_EQ(folder_field(), "C:\\QOV\\EMPRESA");
  tmux->send_keys({"Enter"});

  // The product's batch file starts in the folder once the front end has
  // given the terminal back.
  ASSERT_TRUE(ended(0)) << tmux->screen();
  expect_shown({"Demo Qov: a correr em C:\\QOV\\EMPRESA com cobdir=qovxxx"});
  EXPECT_EQ(tmux->screen().find("QOV-Software (Setup)"), std::string::npos) << tmux->screen();

  EXPECT_EQ(converse_keys(), (std::vector<int>{286, 281, 306}));
  EXPECT_EQ(dialog_folder("out"), "C:\\QOV\\EMPRESA");
  EXPECT_EQ(machine.read_file("c/QOVEXEMF/qovinst.dir"),
            DemoMachine::record("06.000", "C:\\QOV\\EMPRESA", false));
  for (const char* f : {"qov.bat", "QOVROT.TXT", "qov600.doc", "emp06000.doc"})
    EXPECT_TRUE(machine.exists(std::string("c/QOV/EMPRESA/") + f)) << f;
  for (const char* f : {"QPRIMA32.DLL", "unzip.exe"})
    EXPECT_TRUE(machine.exists(std::string("c/QOVEXEMF/") + f)) << f;
}

// A second run goes through "PSETUP": its caption, the headings standing over
// the columns of the list line, OK, and the folder dialog proposing the
// recorded folder.
TEST_F(TerminalEndToEnd, SecondRunUpdatesThroughThePanel) {
  RunOptions first = machine.options(kFirstInstall);
  ASSERT_EQ(run_setup(first).status, 0);
  start();
  ASSERT_TRUE(tmux->wait_for(" Indique Directório para Actualização:")) << tmux->screen();
  expect_shown({"[ Outras Versões ]", "[ OK ]", "[ Cancelar ]", "Linguagem Versão"});

  // The list line: folder 1-40, Pos 42, Linguagem 45-51, Versão 52-57; each
  // heading on the row above starts over its column ("Versão" over the
  // version's last digits, one space after "Linguagem").
  std::string screen = tmux->screen();
  auto [list_column, list_row] = tmux->find("C:\\QOV\\EMPRESA ");
  ASSERT_GE(list_row, 1) << screen;
  std::string line = row_of(screen, list_row);
  std::size_t from = line.find("C:\\QOV\\EMPRESA");
  EXPECT_EQ(column_in(line, "MfCobol 6.000", from), list_column + 44) << line;
  std::string headings = row_of(screen, list_row - 1);
  EXPECT_EQ(column_in(headings, "Directório"), list_column) << headings;
  EXPECT_EQ(column_in(headings, "Pos"), list_column + 40) << headings;
  EXPECT_EQ(column_in(headings, "Linguagem"), list_column + 44) << headings;
  EXPECT_EQ(column_in(headings, "Versão"), list_column + 54) << headings;

  // From the list, Tab twice reaches "OK".
  tmux->send_keys({"Tab", "Tab", "Enter"});
  expect_shown({"Indique Directório Instalação", "Pasta:"}, 30s);
  EXPECT_EQ(folder_field(), "C:\\QOV\\EMPRESA");
  tmux->send_keys({"Enter"});

  ASSERT_TRUE(ended(0)) << tmux->screen();
  expect_shown({"Demo Qov: a correr em C:\\QOV\\EMPRESA"});
  EXPECT_EQ(converse_keys(), (std::vector<int>{15}));
  EXPECT_EQ(dialog_folder("in"), "C:\\QOV\\EMPRESA");
  EXPECT_EQ(dialog_folder("out"), "C:\\QOV\\EMPRESA");
  EXPECT_EQ(machine.read_file("c/QOVEXEMF/qovinst.dir"),
            DemoMachine::record("06.000", "C:\\QOV\\EMPRESA", false));
}

} // namespace
} // namespace qov::testing
