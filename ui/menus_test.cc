#include "ui/menus.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "app/main_flow.h"
#include "install/install_choices.h"
#include "system/fixed_text.h"
#include "system/win1252.h"
#include "tests/support/in_process.h"
#include "tests/support/screen_trace.h"
#include "ui/panel_blocks.h"

namespace qov::testing {
namespace {

const std::vector<int> kModuleKeys = {27, 281, 286, 275, 287};
const std::vector<int> kCountryKeys = {27, 281, 286, 306, 287};
const std::vector<int> kRuntimeKeys = {27, 306, 275, 287};

std::string nul(std::size_t bytes) {
  return std::string(2 * bytes, '0');
}

class MenusTest : public InstallerTest {
protected:
  void SetUp() override {
    InstallerTest::SetUp();
    machine.add_file("D:\\AUTORUN\\BIN\\setup.exe");
  }
  void play(const std::string& text) {
    answers(text);
    observer = std::make_unique<ObservingGui>(*gui);
    set_gui_library(observer.get());
  }
  // One case of a table: the run state from program start, the answers, and
  // the trace from here on.
  void start_case(const std::string& text) {
    reset_run_state();
    play(text);
    mark_ = trace().size();
  }
  std::vector<TraceEntry> case_trace() const {
    std::vector<TraceEntry> all = trace();
    all.erase(all.begin(), all.begin() + static_cast<long>(mark_));
    return all;
  }
  std::vector<int> case_gui_codes() const {
    std::vector<int> codes;
    for (const TraceEntry& e : calls_named(case_trace(), "gui"))
      codes.push_back(e.code());
    return codes;
  }
  // How many screens waited before the installation procedure was entered.
  std::size_t converses_before_installing() const {
    std::size_t n = 0;
    for (const ObservingGui::Seen& s : observer->seen) {
      if (s.choices.install_started[0] == 'S')
        break;
      n += s.code == kGuiConverse;
    }
    return n;
  }
  std::unique_ptr<ObservingGui> observer;

private:
  std::size_t mark_ = 0;
};

TEST_F(MenusTest, FirstScreenToWaitIsTheModuleScreenAndOtherKeysKeepItWaiting) {
  play("key 15\nkey 287\n");
  EXPECT_EQ(run(run_installer), 0);

  std::vector<WaitingScreen> screens = waiting_screens(trace());
  ASSERT_EQ(screens.size(), 2u);
  EXPECT_EQ(screens[0].keys, kModuleKeys);
  EXPECT_EQ(screens[1].drawing, screens[0].drawing); // conversed again, not redrawn

  // The module screen as drawn: clearing, nine fields, the panel with its keys.
  auto gui = calls_named(trace(), "gui");
  auto converse = std::find_if(gui.begin(), gui.end(), [](const TraceEntry& e) {
    return e.code() == 19 && e["in"].substr(124, 16) == "50414e454c303031";
  });
  ASSERT_GE(converse - gui.begin(), 12);
  std::vector<TraceEntry> drawing(converse - 12, converse);
  std::vector<int> codes;
  for (const TraceEntry& e : drawing)
    codes.push_back(e.code());
  EXPECT_EQ(codes, (std::vector<int>{71, 5, 7, 7, 7, 7, 7, 7, 7, 7, 7, 5}));
  const std::string panel001 = "50414e454c303031";
  EXPECT_EQ(drawing[0]["in"], "0000" + panel001);

  // Header 30, 48, 76, 551, 80, 100, 50, 40, 0, 200, 1, 80, 0, -1, 40; numbers
  // 80 and 30; the name; 230 NUL bytes before the key list.
  const std::string header = "1e0030004c002702500064003200280000"
                             "00c800010050000000ffff2800";
  const std::string before_keys =
      "0000" + header + "50001e00" + nul(44) + panel001 + nul(68) + nul(230);
  const std::string after_keys = nul(281);
  EXPECT_EQ(drawing[1]["in"], before_keys + "1b00" + nul(38) + after_keys);
  const std::string keys = "1b00"  // 27
                           "1901"  // 281
                           "1e01"  // 286
                           "1301"  // 275
                           "1f01"; // 287
  EXPECT_EQ(drawing[11]["in"], before_keys + keys + nul(30) + after_keys);

  // Item 3: field 3 at row 6, column 20, the button 281, characters 32 "y",
  // 58 "s", 62 "i", 66 "w", 70 "i", 74 byte 5, then the picture field.
  const std::string field_header = "1e0034004a0014000000000014000000"
                                   "00000000000000000000ffff2c00";
  const std::string numbers = "0300" + nul(8) + "0600" + "1400" + nul(20) + "1901" + nul(16);
  const std::string characters = nul(31) + "79" + nul(25) + "73" + nul(3) + "69" + nul(3) + "77" +
                                 nul(3) + "69" + nul(3) + "05";
  const std::string picture = "2020202020202020"
                              "63646f70635f706f2e626d70"; // "cdopc_po.bmp"
  EXPECT_EQ(drawing[4]["in"], "0000" + field_header + numbers + characters + picture);
}

TEST_F(MenusTest, LeavingTheModuleMenuEndsTheProgram) {
  for (const char* key : {"287", "27", "-5"}) {
    SCOPED_TRACE(key);
    start_case(std::string("key ") + key + "\n");
    EXPECT_EQ(run(run_installer), 0);
    std::vector<int> codes = case_gui_codes();
    std::size_t waited = std::find(codes.begin(), codes.end(), 19) - codes.begin();
    ASSERT_LT(waited, codes.size());
    // The main menu is drawn again, never conversed, then the GUI closes.
    EXPECT_EQ(std::vector<int>(codes.begin() + static_cast<long>(waited) + 1, codes.end()),
              (std::vector<int>{71, 5, 7, 7, 7, 7, 7, 7, 5, 12, 16}));
  }
}

TEST_F(MenusTest, ChoicesReachTheInstallation) {
  struct Case {
    std::string answers;
    std::string module, module_bitmap, country, digit, country_bitmap, family, extension;
  };
  const Case cases[] = {
      {"key 281\nkey 281\nkey 306\n", "pos", "cdopc_po.bmp", "portugal", "0", "cd_por.bmp  ", "mf",
       "in@"},
      {"key 286\nkey 286\nkey 275\n", "apl", "cdopc_ap.bmp", "angola  ", "1", "cd_ang.bmp  ", "rm",
       "co@"},
      {"key 281\nkey 306\nkey 306\n", "pos", "cdopc_po.bmp", "mocambiq", "2", "cd_moc.bmp  ", "mf",
       "in@"},
      // "run" has no country; the digit keeps its value from program start.
      {"key 275\nkey 275\n", "run", "cdopc_ru.bmp", "        ", std::string(1, '\0'),
       "            ", "rm", "co@"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers);
    start_case(c.answers + "key 287\n");
    run(run_installer);
    std::optional<InstallChoices> at = observer->choices_when_installing();
    ASSERT_TRUE(at);
    EXPECT_EQ(text(at->action_code), "inst");
    EXPECT_EQ(text(at->action_bitmap), "cd_inst.bmp ");
    EXPECT_EQ(text(at->module_code), c.module);
    EXPECT_EQ(text(at->module_bitmap), c.module_bitmap);
    EXPECT_EQ(text(at->country), c.country);
    EXPECT_EQ(text(at->country_digit), c.digit);
    EXPECT_EQ(text(at->country_bitmap), c.country_bitmap);
    EXPECT_EQ(text(at->version_code), "600");
    EXPECT_EQ(text(at->version_bitmap), "cd_ver60.bmp");
    EXPECT_EQ(text(at->runtime_family), c.family);
    EXPECT_EQ(text(at->runtime_bitmap), "            ");
    EXPECT_EQ(text(at->archive_extension), c.extension);
  }
}

TEST_F(MenusTest, RunTimeScreenShowsTheChoicesMade) {
  struct Case {
    std::string answers;
    std::vector<int> keys_before; // the screens that waited before the run-time screen
    std::vector<std::string> bitmaps;
  };
  const Case cases[] = {
      {"key 281\nkey 281\n",
       {kModuleKeys[1], kCountryKeys[1]},
       {"cd_qov.bmp  ", "cd_inst.bmp ", "cdopc_po.bmp", "cd_por.bmp  ", "cd_ver60.bmp",
        "cd_ling.bmp ", "cd_mf.bmp   ", "btnmed.bmp  ", "cd_rm.bmp   ", "btnmed.bmp  ",
        "cdopc_sa.bmp"}},
      // "run" skips the country menu, and its blank country picture is not drawn.
      {"key 275\n",
       {kModuleKeys[3]},
       {"cd_qov.bmp  ", "cd_inst.bmp ", "cdopc_ru.bmp", "cd_ver60.bmp", "cd_ling.bmp ",
        "cd_mf.bmp   ", "btnmed.bmp  ", "cd_rm.bmp   ", "btnmed.bmp  ", "cdopc_sa.bmp"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers);
    start_case(c.answers + "key 287\nkey 287\nkey 287\n");
    run(run_installer);
    std::vector<WaitingScreen> screens = waiting_screens(case_trace());
    std::size_t first = c.keys_before.size();
    ASSERT_GT(screens.size(), first);
    EXPECT_EQ(screens[first].keys, kRuntimeKeys);
    const WaitingScreen& runtime = screens[first];
    EXPECT_EQ(runtime.bitmaps, c.bitmaps);
    std::vector<int> numbers;
    for (std::size_t n = 1; n <= c.bitmaps.size(); ++n)
      numbers.push_back(static_cast<int>(n));
    EXPECT_EQ(runtime.field_numbers, numbers);
    std::vector<int> keys_before;
    for (std::size_t i = first - c.keys_before.size(); i < first; ++i)
      keys_before.push_back(screens[i].key);
    EXPECT_EQ(keys_before, c.keys_before);
  }
}

TEST_F(MenusTest, LeavingTheRunTimeMenuShowsTheCountryMenuWithBlankFields) {
  play("key 281\nkey 281\nkey 287\nkey 287\nkey 287\n");
  EXPECT_EQ(run(run_installer), 0);
  std::vector<WaitingScreen> screens = waiting_screens(trace());
  ASSERT_EQ(screens.size(), 5u);
  std::vector<std::vector<int>> keys;
  for (const WaitingScreen& s : screens)
    keys.push_back(s.keys);
  EXPECT_EQ(keys, (std::vector<std::vector<int>>{kModuleKeys, kCountryKeys, kRuntimeKeys,
                                                 kCountryKeys, kModuleKeys}));
  EXPECT_EQ(screens[3].bitmaps[1], "cd_inst.bmp ");
  EXPECT_EQ(screens[3].bitmaps[2], "cdopc_po.bmp");

  std::vector<InstallChoices> at_converse;
  for (const ObservingGui::Seen& s : observer->seen)
    if (s.code == kGuiConverse)
      at_converse.push_back(s.choices);
  ASSERT_EQ(at_converse.size(), 5u);
  const InstallChoices& again = at_converse[3];
  EXPECT_EQ(text(again.module_code), "pos");
  EXPECT_EQ(text(again.country), "        ");
  EXPECT_EQ(text(again.country_bitmap), "            ");
  EXPECT_EQ(text(again.country_digit), "0"); // never blanked
  EXPECT_EQ(text(again.version_code), "   ");
  EXPECT_EQ(text(again.version_bitmap), "            ");
  EXPECT_EQ(text(again.runtime_family), "  ");
}

// "OK" on the update panel: a version below "489" is refused with a message
// and offered as another version, on the run-time menu.
TEST_F(MenusTest, UpdateKeyOkChecksTheVersion) {
  struct Case {
    std::string version;
    std::string answers;
    bool refused;
  };
  const Case cases[] = {
      // The installation is cancelled in the folder dialog, back to the menus.
      {"488", "answer -\nkey 275\ncancel\nanswer y\nkey 287\n", true},
      {"489", "cancel\nanswer y\nkey 287\n", false},
      {"600", "cancel\nanswer y\nkey 287\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    start_case(c.answers);
    pending_update_key = 15;
    set_text(install_choices.version_code, c.version);
    psetup_dir_value()[41] = 'X';
    run(run_main_menu);

    // The version message, told from the folder dialog's questions by its title.
    auto gui = calls_named(case_trace(), "gui");
    bool message = std::any_of(gui.begin(), gui.end(), [](const TraceEntry& e) {
      if (e.code() != 48)
        return false;
      std::vector<unsigned char> in = from_hex(e["in"]);
      return std::string(in.begin() + 20, in.begin() + 42) == w1252("Versão Desactualizada!");
    });
    EXPECT_EQ(message, c.refused);
    std::optional<InstallChoices> at = observer->choices_when_installing();
    ASSERT_TRUE(at);
    EXPECT_EQ(text(at->module_code), "pos");
    EXPECT_EQ(text(at->version_code), c.refused ? "600" : c.version);
    EXPECT_EQ(converses_before_installing(), c.refused ? 1u : 0u);
    if (c.refused) {
      std::vector<WaitingScreen> screens = waiting_screens(case_trace());
      ASSERT_FALSE(screens.empty());
      EXPECT_EQ(screens[0].keys, kRuntimeKeys);
      EXPECT_EQ(text(at->runtime_family), "rm");
    }
    EXPECT_EQ(pending_update_key, 0);
  }
}

} // namespace
} // namespace qov::testing
