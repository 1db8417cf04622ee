#include "platform/gui/script_gui.h"

#include <string>

#include <gtest/gtest.h>

#include "system/process_exit.h"
#include "ui/gui_block.h"
#include "ui/update_panel_data.h"

namespace qov {
namespace {

struct Stopped {
  int status;
};

// "PSETUP" loaded with code 128 and its list "DIR" set with code 7 to three
// lines and one character more, as the installer hands it over.
class ScriptGuiSelectTest : public ::testing::Test {
protected:
  void SetUp() override {
    set_stop_hook([](int status) { throw Stopped{status}; });
  }
  void TearDown() override { set_stop_hook(nullptr); }

  void start(const std::string& answers) {
    std::string error;
    script = AnswerFile::parse(answers, &error);
    ASSERT_TRUE(script) << error;
    script->path = "answers.txt";
    gui = std::make_unique<ScriptGui>(*script);
    gui->call(kGuiLoadStoredPanel, psetup_stored_panel());
    std::string variable = "DIR     X(57)     " + list + "LISTBOX ";
    GuiBlock field({30, 52, 74, static_cast<int16_t>(variable.size()), 8, 10,
                    static_cast<int16_t>(list.size()), 0, 8, 0, 0, 0, 0, -1, 44},
                   variable.size());
    field.view().set_number(1, 1);
    std::copy(variable.begin(), variable.end(), field.view().variable_part().begin());
    gui->call(kGuiSetField, field.bytes());
    ASSERT_EQ(get_le16(field.bytes(), 0), 0);
  }

  // A converse on the named panel; the selected line, or the stop status.
  std::string converse(const std::string& panel, int* status) {
    GuiBlock b({20, 40, 106, 6, 2, 57, 4, 4, 0, 0}, 73);
    b.view().set_characters(1, panel);
    try {
      gui->call(kGuiConverse, b.bytes());
    } catch (const Stopped& s) {
      *status = s.status;
      return "";
    }
    EXPECT_EQ(b.view().number(1), 0);
    auto dir = b.view().variable_part().subspan(8, 57);
    return std::string(dir.begin(), dir.end());
  }

  std::string line(int n) { return list.substr(57 * static_cast<std::size_t>(n - 1), 57); }

  std::string list = std::string(57, 'a') + std::string(57, 'b') + std::string(57, 'c') + " ";
  std::optional<AnswerFile> script;
  std::unique_ptr<ScriptGui> gui;
};

TEST_F(ScriptGuiSelectTest, SelectsALineOfTheList) {
  start("select 3\nselect 1\n");
  int status = -1;
  EXPECT_EQ(converse("PSETUP  ", &status), line(3));
  EXPECT_EQ(converse("PSETUP  ", &status), line(1));
  EXPECT_EQ(status, -1);
}

TEST_F(ScriptGuiSelectTest, ALineTheListDoesNotHaveStopsTheRun) {
  struct Case {
    const char* answers;
    const char* panel;
    const char* message;
  };
  const Case cases[] = {
      {"key 0\nselect 4\n", "PSETUP  ",
       "answer file answers.txt line 2: \"select 4\" cannot answer the converse (code 19) on "
       "\"PSETUP  \" (the list holds 3 lines)"},
      {"select 1\n", "PANEL001",
       "answer file answers.txt line 1: \"select 1\" cannot answer the converse (code 19) on "
       "\"PANEL001\" (the panel has no list)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers);
    start(c.answers);
    int status = -1;
    if (std::string(c.answers).rfind("key", 0) == 0)
      converse(c.panel, &status);
    ::testing::internal::CaptureStderr();
    converse(c.panel, &status);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 99);
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
  }
}

} // namespace
} // namespace qov
