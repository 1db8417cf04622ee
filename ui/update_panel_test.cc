#include "ui/update_panel.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "app/main_flow.h"
#include "install/install_choices.h"
#include "system/fixed_text.h"
#include "tests/support/in_process.h"
#include "tests/support/screen_trace.h"
#include "ui/menus.h"
#include "ui/panel_blocks.h"
#include "ui/screen_tables.h"

namespace qov::testing {
namespace {

// A line of the update list: folder (40), space, Zavod mark, two spaces,
// language, version text whose last digit is the country.
std::string line(const std::string& folder, bool zavod, const std::string& language,
                 const std::string& version) {
  std::string l = folder.substr(0, 40);
  l.resize(40, ' ');
  return l + " " + (zavod ? "X" : " ") + "  " + language + version;
}

// Recorded installations standing in for the register: the first is proposed.
struct FakeRegister {
  static inline std::vector<std::string> lines;
  static inline std::vector<std::string> applied; // update_line at each drawing
  static inline PanelStore* panels = nullptr;

  static void list() {
    set_text(install_choices.update_folder, "C:\\FOLDER-RECORDED-WITH-MORE-THAN-FORTY-CHARACTERS");
    set_text(install_choices.update_line, lines[0]);
  }
  static void apply() {
    std::string l(install_choices.update_line, 57);
    applied.push_back(l);
    bool rm = l.substr(44, 2) == "Rm";
    set_text(install_choices.runtime_family, rm ? "rm" : "mf");
    set_text(install_choices.archive_extension, rm ? "co@" : "in@");
    bool portugal = l[56] == '0';
    set_text(install_choices.country, portugal ? "portugal" : "angola");
    set_text(install_choices.country_digit, portugal ? "0" : "1");
    set_text(install_choices.country_bitmap, portugal ? "cd_por.bmp" : "cd_ang.bmp");
    set_text(install_choices.version_code, "600");
    copy_field(bitmap_name(update_screen()[2]), install_choices.country_bitmap);
  }
  // The list as the panel's field 1 holds it: the proposed line, then every
  // recorded one.
  static void show() {
    copy_field(psetup_dir_value(), install_choices.update_line);
    std::string list(install_choices.update_line, 57);
    for (const std::string& l : lines)
      list += l;
    FieldDefinition& dir = panels->find("PSETUP  ")->fields[1];
    std::size_t at = static_cast<std::size_t>(dir.entry(5) + dir.entry(6));
    std::vector<uint8_t> v(dir.variable.begin(), dir.variable.begin() + static_cast<long>(at));
    v.insert(v.end(), list.begin(), list.end());
    dir.variable = v;
    dir.header[6] = static_cast<int16_t>(list.size());
  }
};

const std::string kApl = line("C:\\QOV\\EMPRESA", false, "MfCobol", " 6.000");
const std::string kPos = line("D:\\ZAVOD", true, "RmCobol", " 6.011");
const std::vector<int> kOpening = {71, 5, 7, 7, 7, 7, 7, 5, 19, 128, 0, 3};

class UpdatePanelTest : public InstallerTest {
protected:
  void SetUp() override {
    InstallerTest::SetUp();
    set_update_register_steps({FakeRegister::list, FakeRegister::apply, FakeRegister::show});
    FakeRegister::lines = {kApl, kPos};
    FakeRegister::applied.clear();
  }
  void TearDown() override {
    set_update_register_steps(install_register_steps());
    InstallerTest::TearDown();
  }
  void play(const std::string& text) {
    answers(text);
    FakeRegister::panels = &gui->panels();
    observer = std::make_unique<ObservingGui>(*gui);
    set_gui_library(observer.get());
  }
  // The PSETUP converses, as the installer passed them.
  std::vector<std::vector<unsigned char>> panel_converses() const {
    std::vector<std::vector<unsigned char>> blocks;
    for (const TraceEntry& e : calls_named(trace(), "gui"))
      if (e.code() == 19 && e["in"].substr(124, 16) == "5053455455502020")
        blocks.push_back(from_hex(e["in"]));
    return blocks;
  }
  std::unique_ptr<ObservingGui> observer;
};

std::string folder_of(const std::string& l) {
  return l.substr(0, 40) + std::string(40, ' ');
}

TEST_F(UpdatePanelTest, LeavingKeysKeepTheSelectedFolderAndSteerTheMenus) {
  for (int key : {3, -5, 15, 316}) {
    SCOPED_TRACE(key);
    reset_run_state();
    std::size_t before = gui_codes().size();
    play("key " + std::to_string(key) + "\n");
    EXPECT_EQ(run(run_update_path), std::nullopt);
    EXPECT_EQ(pending_update_key, key);
    EXPECT_EQ(text(install_choices.update_folder), folder_of(kApl));

    std::vector<int> codes = gui_codes();
    codes.erase(codes.begin(), codes.begin() + static_cast<long>(before));
    std::vector<int> expected = kOpening;
    expected.insert(expected.end(), {19, 12});
    EXPECT_EQ(codes, expected);
  }
  // The panel's own window, and its first converse with byte 7 "x" and the
  // proposed line as the value of "DIR".
  auto gui = calls_named(trace(), "gui");
  auto window = std::find_if(gui.begin(), gui.end(), [](const TraceEntry& e) {
    return e.code() == 0 && e["in"].substr(116, 16) == "5053455455502020";
  });
  ASSERT_NE(window, gui.end());
  EXPECT_EQ((*window)["in"], "0000"
                             "0a002600260064006400" +
                                 std::string(2 * (38 + 8), '0') + "5053455455502020" +
                                 std::string(2 * (22 + 100), '0'));
  std::vector<unsigned char> c = panel_converses().front();
  ASSERT_EQ(c.size(), 2u + 20 + 40 + 106 + 73);
  EXPECT_EQ(std::string(c.begin() + 2, c.begin() + 22),
            std::string("\x14\0\x28\0\x6a\0\x06\0\x02\0\x39\0\x04\0\x04\0\0\0\0\0", 20));
  std::string variable(c.begin() + 168, c.end());
  EXPECT_EQ(variable,
            std::string(6, '\0') + "x" + std::string(1, '\0') + kApl + std::string(8, '\0'));
}

TEST_F(UpdatePanelTest, CancelLeadsToTheModuleMenu) {
  play("key 3\nkey 287\n");
  run(run_update_path);
  run(run_main_menu);
  std::vector<WaitingScreen> screens = waiting_screens(trace());
  ASSERT_EQ(screens.size(), 1u);
  EXPECT_EQ(screens[0].keys, (std::vector<int>{27, 281, 286, 275, 287}));
  EXPECT_EQ(text(install_choices.update_folder), folder_of(kApl));
}

TEST_F(UpdatePanelTest, KeyTwentySevenConversesAgain) {
  play("key 27\nkey 3\n");
  run(run_update_path);
  std::vector<int> expected = kOpening;
  expected.insert(expected.end(), {19, 19, 12});
  EXPECT_EQ(gui_codes(), expected);
  auto converses = panel_converses();
  ASSERT_EQ(converses.size(), 2u);
  EXPECT_EQ(converses[0][168 + 6], 'x');
  EXPECT_EQ(converses[1][168 + 6], '\0');
  EXPECT_EQ(pending_update_key, 3);
}

// Line 3 of the list is the second recorded installation: the update screen
// is drawn for it and the panel opened again; "OK" then installs it at once.
TEST_F(UpdatePanelTest, ChangedSelectionRedrawsAndOkInstallsIt) {
  play("select 3\nkey 15\nkey 287\n");
  run(run_update_path);
  std::vector<int> expected = kOpening;
  expected.insert(expected.end(), {19, 12});
  expected.insert(expected.end(), kOpening.begin(), kOpening.end());
  expected.insert(expected.end(), {19, 12});
  EXPECT_EQ(gui_codes(), expected);
  EXPECT_EQ(FakeRegister::applied, (std::vector<std::string>{kApl, kPos}));
  auto converses = panel_converses();
  ASSERT_EQ(converses.size(), 2u);
  EXPECT_EQ(converses[1][168 + 6], 'x'); // a new opening
  EXPECT_EQ(std::string(converses[1].begin() + 176, converses[1].begin() + 233), kPos);
  EXPECT_EQ(text(install_choices.update_folder), folder_of(kPos));

  std::size_t menus_start = observer->seen.size();
  run(run_main_menu);
  std::optional<InstallChoices> at = observer->choices_when_installing();
  ASSERT_TRUE(at);
  EXPECT_EQ(text(at->module_code), "pos"); // the "X" of the line
  EXPECT_EQ(text(at->country), "angola  ");
  EXPECT_EQ(text(at->runtime_family), "rm");
  EXPECT_EQ(text(at->archive_extension), "co@");
  // No menu screen waited before the installation started.
  std::size_t waited = 0;
  for (std::size_t i = menus_start; i < observer->seen.size(); ++i) {
    if (observer->seen[i].choices.install_started[0] == 'S')
      break;
    waited += observer->seen[i].code == kGuiConverse;
  }
  EXPECT_EQ(waited, 0u);
}

TEST_F(UpdatePanelTest, OtherVersionsLeadToTheRunTimeMenuKeepingTheCountry) {
  FakeRegister::lines = {kPos};
  play("key 316\nkey 306\nkey 287\n");
  run(run_update_path);
  run(run_main_menu);
  std::vector<WaitingScreen> screens = waiting_screens(trace());
  ASSERT_FALSE(screens.empty());
  EXPECT_EQ(screens[0].keys, (std::vector<int>{27, 306, 275, 287}));
  EXPECT_NE(std::find(screens[0].bitmaps.begin(), screens[0].bitmaps.end(), "cd_ang.bmp  "),
            screens[0].bitmaps.end());
  std::optional<InstallChoices> at = observer->choices_when_installing();
  ASSERT_TRUE(at);
  EXPECT_EQ(text(at->module_code), "pos");
  EXPECT_EQ(text(at->country), "angola  ");
  EXPECT_EQ(text(at->version_code), "600");
  EXPECT_EQ(text(at->runtime_family), "mf"); // chosen anew
  EXPECT_EQ(text(at->archive_extension), "in@");
}

} // namespace
} // namespace qov::testing
