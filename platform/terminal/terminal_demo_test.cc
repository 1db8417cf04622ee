// The terminal front end on a real terminal: the demo program's GUI calls
// driven through tmux, checking what the screen shows and what the calls
// gave back.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <thread>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/support/bmp_file.h"
#include "tests/support/installer_run.h"
#include "tests/support/tmux_session.h"

namespace qov {
namespace {

using qov::testing::shell_quoted;
using qov::testing::TempDir;
using qov::testing::TmuxSession;
using qov::testing::wait_for_file_text;
using qov::testing::write_host_file;

const char kCaptions[] = "# captions of the demo board\n"
                         "bitmap cd_qov.bmp QOV-Software\n"
                         "bitmap CD_POR.BMP Portugal\n"
                         "bitmap cd_ang.bmp Angola\n"
                         "bitmap cd_moc.bmp Mo\xe7"
                         "ambique\n"
                         "bitmap cdopc_sa.bmp Sair\n"
                         "bitmap cd_loca.bmp Localiza\xe7\xe3o\n";

class TerminalDemoTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!TmuxSession::available())
      GTEST_SKIP() << "tmux is not installed";
    write_host_file(dir.path() + "/bin/QOVSP2.CFG", kCaptions);
  }

  // Starts the demo with the scenarios; after it ends the shell notes its
  // status and the terminal's modes, then keeps the pane open.
  void start(const std::string& scenarios, int columns = 100, int rows = 40) {
    std::string command = shell_quoted(QOV_TERMINAL_DEMO) + " " + shell_quoted(out()) + " " +
                          scenarios + "; echo status $? >> " + shell_quoted(out()) +
                          "; stty -a > " + shell_quoted(dir.path() + "/stty") + "; sleep 600";
    tmux = std::make_unique<TmuxSession>(
        command, columns, rows,
        std::map<std::string, std::string>{{"sp2cfg", dir.path() + "/bin/qovsp2.cfg"}});
    ASSERT_TRUE(tmux->wait_for("QOV-Software (Setup)")) << tmux->screen();
  }

  std::string out() const { return dir.path() + "/results"; }
  std::string results() const {
    std::ifstream in(out());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Waits for a result line of the demo.
  bool result(const std::string& line) { return wait_for_file_text(out(), line + "\n"); }
  bool ended() { return result("end") && wait_for_file_text(dir.path() + "/stty", "speed"); }

  std::string stty() const {
    std::ifstream in(dir.path() + "/stty");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  int demo_pid() const {
    std::string r = results();
    return r.starts_with("pid ") ? std::stoi(r.substr(4)) : 0;
  }

  TempDir dir;
  std::unique_ptr<TmuxSession> tmux;
};

// The terminal's ordinary modes are back: line editing and echo.
void expect_restored(const std::string& stty) {
  EXPECT_NE(stty.find(" icanon"), std::string::npos) << stty;
  EXPECT_EQ(stty.find("-icanon"), std::string::npos) << stty;
  EXPECT_EQ(stty.find("-echo "), std::string::npos) << stty;
}

TEST_F(TerminalDemoTest, BoardShowsCaptionsAtTheirPlaces) {
  start("board");
  ASSERT_TRUE(tmux->wait_for("[ Moçambique ]")) << tmux->screen();
  std::string screen = tmux->screen();
  for (const char* text :
       {"QOV-Software", "Localização", "[ Portugal ]", "[ Angola ]", "[ Sair ]", "F10: sair"})
    EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;
  // Rows and columns of the fields: "Portugal" two rows above "Angola", in
  // the same column.
  std::istringstream lines(screen);
  std::string line;
  int row = 0, portugal_row = -1, angola_row = -1;
  std::size_t portugal_col = 0, angola_col = 1;
  while (std::getline(lines, line)) {
    if (auto at = line.find("[ Portugal ]"); at != std::string::npos)
      portugal_row = row, portugal_col = at;
    if (auto at = line.find("[ Angola ]"); at != std::string::npos)
      angola_row = row, angola_col = at;
    ++row;
  }
  EXPECT_EQ(angola_row - portugal_row, 2);
  EXPECT_EQ(portugal_col, angola_col);
  tmux->send_keys({"Escape"});
  EXPECT_TRUE(result("board 27"));
}

struct KeyCase {
  std::vector<std::string> keys;
  const char* result;
};

class BoardKeysTest : public TerminalDemoTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(BoardKeysTest, KeysPressButtonsOrLeave) {
  start("board");
  ASSERT_TRUE(tmux->wait_for("[ Sair ]"));
  tmux->send_keys(GetParam().keys);
  EXPECT_TRUE(result(GetParam().result)) << results() << tmux->screen();
  EXPECT_TRUE(ended());
  expect_restored(stty());
}

INSTANTIATE_TEST_SUITE_P(Keys, BoardKeysTest,
                         ::testing::Values(KeyCase{{"Enter"}, "board 281"},
                                           KeyCase{{"Down", "Down", "Enter"}, "board 306"},
                                           KeyCase{{"Tab", "Space"}, "board 286"},
                                           KeyCase{{"Up", "Enter"}, "board 287"},
                                           KeyCase{{"Tab", "BTab", "Left", "Enter"}, "board 287"},
                                           KeyCase{{"Escape"}, "board 27"},
                                           KeyCase{{"F10"}, "board -5"},
                                           KeyCase{{"C-q"}, "board -5"}));

TEST_F(TerminalDemoTest, PicturesAreDrawnFromBitmapsBesideTheConfiguration) {
  using terminal::Rgb;
  // A 24-bit background and an 8-bit button; the "Angola" bitmap is damaged.
  auto background = qov::testing::bmp_24(320, 64, [](int x, int) {
    return x < 160 ? Rgb{0, 0, 160} : Rgb{0, 160, 0};
  });
  auto button = qov::testing::bmp_8(96, 16, {{200, 0, 0}, {255, 255, 255}},
                                    [](int x, int) { return static_cast<uint8_t>(x < 48); });
  write_host_file(dir.path() + "/bin/CD_QOV.BMP",
                  std::string(background.begin(), background.end()));
  write_host_file(dir.path() + "/bin/cd_por.bmp", std::string(button.begin(), button.end()));
  write_host_file(dir.path() + "/bin/cd_ang.bmp", "BM not really");
  start("board");
  ASSERT_TRUE(tmux->wait_for("▀▀▀▀▀▀▀▀▀▀▀▀")) << tmux->screen();
  // The button drawn as a picture names itself in the status line once it
  // has the focus; the damaged one is a labelled box.
  EXPECT_TRUE(tmux->wait_for("▶ Portugal")) << tmux->screen();
  EXPECT_TRUE(tmux->wait_for("[ Angola ]")) << tmux->screen();
  EXPECT_EQ(tmux->screen().find("[ Portugal ]"), std::string::npos);
  tmux->send_keys({"Enter"});
  EXPECT_TRUE(result("board 281"));
}

// Every picture button names itself on its picture's bottom row, focused or
// not, centred when the caption fits and from the picture's first column when
// it is wider; the focus is marked beside it. A caption that another would
// cut is left out: here the backdrop's, under "Portugal".
TEST_F(TerminalDemoTest, PictureButtonsShowTheirCaptionsOnTheBoard) {
  using terminal::Rgb;
  auto backdrop = qov::testing::bmp_24(320, 224, [](int, int) { return Rgb{0, 0, 160}; });
  auto button = qov::testing::bmp_24(64, 24, [](int x, int) {
    return x < 32 ? Rgb{200, 0, 0} : Rgb{0, 200, 0};
  });
  write_host_file(dir.path() + "/bin/cd_qov.bmp", std::string(backdrop.begin(), backdrop.end()));
  for (const char* name : {"cd_por.bmp", "cd_ang.bmp", "cd_moc.bmp", "cdopc_sa.bmp"})
    write_host_file(dir.path() + "/bin/" + name, std::string(button.begin(), button.end()));
  start("board");
  ASSERT_TRUE(tmux->wait_for("▶Portugal◀")) << tmux->screen();
  auto portugal = tmux->find("▶Portugal◀");
  auto angola = tmux->find("Angola");
  auto mocambique = tmux->find("Moçambique");
  auto sair = tmux->find("Sair");
  // Each picture is 8 x 2 cells, one every second row from row 12 of the board.
  EXPECT_EQ(angola.second - portugal.second, 2);
  EXPECT_EQ(mocambique.second - portugal.second, 4);
  EXPECT_EQ(sair.second - portugal.second, 6);
  EXPECT_EQ(portugal.first + 1, mocambique.first); // after the mark, fills the picture
  EXPECT_EQ(angola.first, mocambique.first + 1);   // centred
  EXPECT_EQ(sair.first, mocambique.first + 2);
  // The backdrop's caption would share Portugal's row: none of it shows.
  std::istringstream lines(tmux->screen());
  std::string line;
  for (int row = 0; row <= portugal.second; ++row)
    std::getline(lines, line);
  EXPECT_EQ(line.find("QOV"), std::string::npos) << line;
  tmux->send_keys({"Down", "Down"});
  ASSERT_TRUE(tmux->wait_for("▶Moçambique◀")) << tmux->screen();
  EXPECT_EQ(tmux->screen().find("▶Portugal"), std::string::npos);
  // The caption's cells past the picture belong to the button too.
  mocambique = tmux->find("Moçambique");
  tmux->click(mocambique.first + 9, mocambique.second);
  EXPECT_TRUE(result("board 306")) << results();
}

TEST_F(TerminalDemoTest, WithoutAConfigurationBitmapsAreShownByName) {
  std::filesystem::remove(dir.path() + "/bin/QOVSP2.CFG");
  start("board");
  EXPECT_TRUE(tmux->wait_for("[ cd_moc.bmp ]")) << tmux->screen();
  tmux->send_keys({"Escape"});
  EXPECT_TRUE(result("board 27"));
}

TEST_F(TerminalDemoTest, MessagesAndQuestions) {
  start("question question message");
  ASSERT_TRUE(tmux->wait_for("Pretende cancelar a Instalação?")) << tmux->screen();
  std::string screen = tmux->screen();
  for (const char* text : {"Cancelamento da Instalação", "[ Sim ]", "[ Não ]"})
    EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;
  // "Não" has the focus first for this question; the arrows move it.
  tmux->send_keys({"Left", "Enter"});
  ASSERT_TRUE(result("question y"));
  tmux->send_keys({"Escape"});
  ASSERT_TRUE(result("question -"));
  ASSERT_TRUE(tmux->wait_for("Versão Desactualizada!")) << tmux->screen();
  EXPECT_TRUE(tmux->wait_for("Este CD só permite instalar Versões 4.89x ou posteriores."));
  EXPECT_TRUE(tmux->wait_for("[ OK ]"));
  tmux->send_keys({"Enter"});
  EXPECT_TRUE(result("message -"));
  EXPECT_TRUE(ended());
}

TEST_F(TerminalDemoTest, UpdatePanelListsScrollsAndSelects) {
  start("psetup");
  ASSERT_TRUE(tmux->wait_for("Indique Directório para Actualização:")) << tmux->screen();
  std::string screen = tmux->screen();
  for (const char* text : {"Directório", "Pos", "Linguagem", "Versão", "C:\\QOV\\MOÇAMBIQUE",
                           "[ Outras Versões ]", "[ OK ]", "[ Cancelar ]", "▼"})
    EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;
  EXPECT_EQ(screen.find("EMPRESA14"), std::string::npos);
  // Moving the selection returns at once; the panel is opened again.
  tmux->send_keys({"Down"});
  ASSERT_TRUE(result("select 2"));
  tmux->send_keys({"End"});
  ASSERT_TRUE(result("select 14"));
  ASSERT_TRUE(tmux->wait_for("EMPRESA14")) << tmux->screen();
  EXPECT_TRUE(tmux->wait_for("▲"));
  // Esc does not leave the panel; Tab reaches the buttons.
  tmux->send_keys({"Escape"});
  ASSERT_TRUE(result("ignored 27"));
  tmux->send_keys({"Tab", "Tab", "Enter"});
  EXPECT_TRUE(result("psetup 15 line 14")) << results();
}

TEST_F(TerminalDemoTest, EnterOnTheListChoosesOkAndOtherButtonsGiveTheirCodes) {
  start("psetup psetup");
  ASSERT_TRUE(tmux->wait_for("[ Cancelar ]"));
  tmux->send_keys({"Enter"});
  ASSERT_TRUE(result("psetup 15 line 1"));
  tmux->send_keys({"BTab", "Enter"});
  EXPECT_TRUE(result("psetup 3 line 1")) << results();
}

TEST_F(TerminalDemoTest, MouseClicksPressButtonsAndSelectLines) {
  start("board psetup");
  ASSERT_TRUE(tmux->wait_for("[ Angola ]"));
  auto [column, row] = tmux->find("Angola");
  tmux->click(column, row);
  ASSERT_TRUE(result("board 286")) << results();
  ASSERT_TRUE(tmux->wait_for("EMPRESA3")) << tmux->screen();
  std::tie(column, row) = tmux->find("EMPRESA3");
  tmux->click(column, row);
  ASSERT_TRUE(result("select 3")) << results();
  ASSERT_TRUE(tmux->wait_for("[ Cancelar ]"));
  std::tie(column, row) = tmux->find("Cancelar");
  tmux->click(column, row);
  EXPECT_TRUE(result("psetup 3 line 3")) << results();
}

TEST_F(TerminalDemoTest, FolderDialogBrowsesDrivesAndFolders) {
  start("folder folder");
  ASSERT_TRUE(tmux->wait_for("Indique Directório Instalação")) << tmux->screen();
  EXPECT_TRUE(tmux->wait_for("c:\\usr\\qov"));
  EXPECT_TRUE(tmux->wait_for("Gestão"));
  // Drives: D:, then its folder "portugal"; OK gives the field back.
  tmux->send_keys({"Tab", "Down", "Enter"});
  ASSERT_TRUE(tmux->wait_for("autorun")) << tmux->screen();
  tmux->send_keys({"Tab", "Down", "Enter"});
  ASSERT_TRUE(tmux->wait_for("Pastas de D:\\portugal")) << tmux->screen();
  tmux->send_keys({"Tab", "Enter"});
  ASSERT_TRUE(result("folder [D:\\portugal" + std::string(80 - 11, ' ') + "]")) << results();
  // Typed text, Portuguese letters included; Esc cancels the second dialog
  // after editing.
  ASSERT_TRUE(tmux->wait_for("c:\\usr\\qov"));
  tmux->send_keys({"BSpace", "BSpace", "BSpace"});
  tmux->type("Gestão");
  ASSERT_TRUE(tmux->wait_for("c:\\usr\\Gestão")) << tmux->screen();
  tmux->send_keys({"Escape"});
  EXPECT_TRUE(result("folder cancelled")) << results();
}

TEST_F(TerminalDemoTest, FolderFieldTakesTypedTextAndEnter) {
  start("folder");
  ASSERT_TRUE(tmux->wait_for("c:\\usr\\qov"));
  tmux->send_keys({"Home", "Delete"});
  tmux->type("D");
  tmux->send_keys({"End"});
  tmux->type("\\Moçambique");
  tmux->send_keys({"Enter"});
  EXPECT_TRUE(result("folder [D:\\usr\\qov\\Moçambique" + std::string(80 - 21, ' ') + "]"))
      << results();
}

TEST_F(TerminalDemoTest, ProgressThenAFailureThatWaitsForTheUser) {
  start("progress");
  ASSERT_TRUE(tmux->wait_for("A extrair")) << tmux->screen();
  EXPECT_TRUE(tmux->wait_for("QOVAPL1.ZI@"));
  EXPECT_TRUE(tmux->wait_for("100%")) << tmux->screen();
  ASSERT_TRUE(tmux->wait_for("Erro na extracção")) << tmux->screen();
  EXPECT_TRUE(tmux->wait_for("o disco está cheio"));
  EXPECT_TRUE(tmux->wait_for("QOVAPL2.ZI@"));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(results().find("failure dismissed"), std::string::npos);
  tmux->send_keys({"Enter"});
  EXPECT_TRUE(result("failure dismissed"));
}

TEST_F(TerminalDemoTest, ASmallTerminalAsksToBeEnlargedAndResizingRedraws) {
  tmux = std::make_unique<TmuxSession>(
      shell_quoted(QOV_TERMINAL_DEMO) + " " + shell_quoted(out()) + " board; sleep 600", 70, 24,
      std::map<std::string, std::string>{{"sp2cfg", dir.path() + "/bin/qovsp2.cfg"}});
  ASSERT_TRUE(tmux->wait_for("Aumente-o para 84 × 34 (agora 70 × 24)")) << tmux->screen();
  EXPECT_EQ(tmux->screen().find("[ Portugal ]"), std::string::npos);
  tmux->resize(90, 36);
  ASSERT_TRUE(tmux->wait_for("[ Portugal ]")) << tmux->screen();
  EXPECT_TRUE(tmux->wait_for("QOV-Software (Setup)"));
  tmux->send_keys({"Enter"});
  EXPECT_TRUE(result("board 281"));
}

TEST_F(TerminalDemoTest, TheTerminalGoingAwayClosesEveryWait) {
  start("board question folder");
  ASSERT_TRUE(tmux->wait_for("[ Sair ]"));
  ASSERT_GT(demo_pid(), 0);
  kill(demo_pid(), SIGHUP);
  EXPECT_TRUE(result("board -5")) << results();
  // Nothing waits any more: the question is answered, the dialog cancelled.
  EXPECT_TRUE(result("question y")) << results();
  EXPECT_TRUE(result("folder cancelled")) << results();
  EXPECT_TRUE(ended());
  expect_restored(stty());
}

TEST_F(TerminalDemoTest, SignalsGiveTheTerminalBack) {
  for (int sig : {SIGTERM, SIGINT}) {
    start("board");
    ASSERT_TRUE(tmux->wait_for("[ Sair ]"));
    kill(demo_pid(), sig);
    ASSERT_TRUE(wait_for_file_text(dir.path() + "/stty", "speed")) << sig;
    EXPECT_TRUE(result("status " + std::to_string(128 + sig))) << results();
    expect_restored(stty());
    std::filesystem::remove(dir.path() + "/stty");
  }
}

} // namespace
} // namespace qov
