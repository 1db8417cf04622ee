// The top-level sequence of the real binary, seen through its trace.
#include <gtest/gtest.h>

#include "tests/support/demo_machine.h"

namespace qov::testing {
namespace {

TEST(MainFlowEndToEnd, UsageErrorsComeBeforeAnyWindow) {
  RunOptions no_gui;
  no_gui.no_script = true;
  RunResult r = run_setup(no_gui);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("QOV_GUI_SCRIPT"), std::string::npos) << r.err;
  EXPECT_TRUE(calls_named(r.trace, "gui").empty());

  RunOptions bad_script;
  bad_script.answers = "key 281\npress enter\n";
  r = run_setup(bad_script);
  EXPECT_EQ(r.status, 99);
  EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
  EXPECT_TRUE(calls_named(r.trace, "gui").empty());
}

// Started in the CD's autorun\bin folder and leaving the module menu at once:
// the window is opened and closed around the menus, the helper programs are
// released in order, and the process ends with the result of code 16.
TEST(MainFlowEndToEnd, OpensTheMainWindowAndClosesItInOrder) {
  DemoMachine m;
  RunResult r = run_setup(m.options("key 287\n"));
  ASSERT_EQ(r.status, 0) << r.err;

  std::vector<std::string> seen;
  for (const TraceEntry& e : r.trace) {
    if (e.call() == "gui" &&
        (e.code() == 0 || e.code() == 3 || e.code() == 34 || e.code() == 12 || e.code() == 16))
      seen.push_back("gui " + e["code"]);
    else if (e.call() == "release")
      seen.push_back("release " + e["program"]);
    else if (e.call() == "exit")
      seen.push_back("exit " + e["code"]);
  }
  std::vector<std::string> expected = {
      "gui 0",  "gui 3",  "gui 34", "release REREDODI", "release RAVUVU32",
      "gui 12", "gui 16", "exit 0"};
  EXPECT_EQ(seen, expected);
  const std::string window = "0000"
                             "0a002600260064006400"
                             "0000000000000000"
                             "5400220006002800"
                             "0000000000000000"
                             "0100"
                             "000000000000000000000000"
                             "5345545550202020"
                             "0000000000000000000000000000000000"
                             "64"
                             "000000000000000000000000";
  auto gui = calls_named(r.trace, "gui");
  ASSERT_GE(gui.size(), 3u);
  EXPECT_EQ(gui[0]["in"].substr(0, window.size()), window);
  EXPECT_EQ(gui[0]["in"].size(), 2u * 188);
  EXPECT_EQ(gui[2]["in"], gui[0]["in"]); // code 34 gets the same definition
  EXPECT_EQ(r.trace.back().call(), "exit");
}

// An answer file that runs out: the first screen that waits stops the run
// with status 99 and says which call found no line.
TEST(MainFlowEndToEnd, MissingAnswerStopsNamingTheCall) {
  DemoMachine m;
  RunResult r = run_setup(m.options("# nothing\n"));
  EXPECT_EQ(r.status, 99);
  EXPECT_NE(r.err.find("converse (code 19) on \"PANEL001\""), std::string::npos) << r.err;
  // The run stops in the converse: the window is never closed.
  ASSERT_FALSE(r.trace.empty());
  EXPECT_EQ(r.trace.back().call(), "exit");
  EXPECT_EQ(r.trace.back()["code"], "99");
  for (const TraceEntry& e : calls_named(r.trace, "gui"))
    EXPECT_NE(e.code(), 12);
}

} // namespace
} // namespace qov::testing
