#include "app/startup.h"

#include <gtest/gtest.h>

#include "install/install_choices.h"
#include "system/fixed_text.h"
#include "tests/support/in_process.h"

namespace qov::testing {
namespace {

using StartupTest = InstallerTest;

std::vector<std::string> probes(const std::vector<TraceEntry>& trace) {
  std::vector<std::string> names;
  for (const TraceEntry& e : calls_named(trace, "file_exists"))
    if (e["name"].find("setup.exe") != std::string::npos)
      names.push_back(e["name"]);
  return names;
}

std::string root_text(ConstField f) {
  return std::string(folder_piece(f));
}

TEST_F(StartupTest, FindsTheCdFromTheStartFolderOrByProbingTheDrives) {
  struct Case {
    const char* what;
    const char* start;
    const char* cd_file; // where setup.exe is
    const char* cd_root;
    const char* cd_root_initial;
    std::vector<std::string> probes;
    const char* folder; // the current folder afterwards
  };
  const Case cases[] = {
      {"started on the CD",
       "D:\\AUTORUN\\BIN",
       "D:\\AUTORUN\\BIN\\setup.exe",
       "D:\\",
       "D:\\",
       {"D:\\autorun\\bin\\setup.exe"},
       "D:\\autorun\\bin"},
      {"lower-case start folder",
       "d:\\autorun\\bin",
       "D:\\AUTORUN\\BIN\\setup.exe",
       "D:\\",
       "D:\\",
       {"D:\\autorun\\bin\\setup.exe"},
       "D:\\autorun\\bin"},
      {"started elsewhere, CD on E:",
       "c:\\temp",
       "E:\\autorun\\bin\\setup.exe",
       "E:\\",
       "C:\\TEMP",
       {"C:\\TEMPautorun\\bin\\setup.exe", "D:\\autorun\\bin\\setup.exe",
        "E:\\autorun\\bin\\setup.exe"},
       "E:\\autorun\\bin"},
      {"on a share",
       "\\\\server\\qov\\autorun\\bin",
       "\\\\SERVER\\QOV\\autorun\\bin\\setup.exe",
       "\\\\SERVER\\QOV\\",
       "\\\\SERVER\\QOV\\",
       {"\\\\SERVER\\QOV\\autorun\\bin\\setup.exe"},
       "\\\\SERVER\\QOV\\autorun\\bin"},
      {"deeper than the marker",
       "D:\\AUTORUN\\BIN\\X",
       "D:\\AUTORUN\\BIN\\setup.exe",
       "D:\\",
       "D:\\",
       {"D:\\autorun\\bin\\setup.exe\\", "D:\\autorun\\bin\\setup.exe"},
       "D:\\autorun\\bin\\"},
  };
  for (const Case& c : cases) {
    SetUp();
    machine.current = c.start;
    machine.add_file(c.cd_file);
    machine.add_folder("D:\\AUTORUN\\BIN\\X");
    machine.add_folder("E:\\AUTORUN\\BIN");
    machine.add_folder("\\\\SERVER\\QOV\\AUTORUN\\BIN");
    EXPECT_EQ(run(run_startup), std::nullopt) << c.what;
    EXPECT_EQ(root_text(install_choices.cd_root), c.cd_root) << c.what;
    EXPECT_EQ(root_text(install_choices.cd_root_initial), c.cd_root_initial) << c.what;
    EXPECT_EQ(probes(trace()), c.probes) << c.what;
    EXPECT_EQ(calls_named(trace(), "change_folder").at(0)["name"], c.folder) << c.what;
    TearDown();
  }
}

TEST_F(StartupTest, SetsTheLibraryVariablesAndDetectsTheSystemFolder) {
  machine.current = "D:\\AUTORUN\\BIN";
  machine.add_file("D:\\AUTORUN\\BIN\\setup.exe");
  machine.add_file("C:\\WINDOWS\\system32\\msvcrt.dll");
  machine.env["WINDIR"] = "C:\\WINDOWS";
  ASSERT_EQ(run(run_startup), std::nullopt);
  EXPECT_EQ(machine.env["SP2CFG"], "D:\\autorun\\bin\\qovsp2.cfg");
  EXPECT_EQ(machine.env["QPRCFG"], "D:\\autorun\\bin\\qovqpr.cfg");
  EXPECT_TRUE(holds(install_choices.windows_folder, "C:\\WINDOWS"));
  EXPECT_TRUE(holds(install_choices.system32_present, "S"));
  EXPECT_EQ(std::string(folder_piece(install_choices.start_folder)), "D:\\AUTORUN\\BIN");

  // A windir holding a space is cut there, so the check fails.
  SetUp();
  machine.add_file("D:\\AUTORUN\\BIN\\setup.exe");
  machine.add_file("C:\\My Windows\\system32\\msvcrt.dll");
  machine.env["WINDIR"] = "C:\\My Windows";
  ASSERT_EQ(run(run_startup), std::nullopt);
  EXPECT_TRUE(holds(install_choices.system32_present, "N"));
  EXPECT_EQ(calls_named(trace(), "file_exists").back()["name"], "C:\\My\\system32\\msvcrt.dll");
}

TEST_F(StartupTest, WithoutACdShowsTheErrorAndStopsBeforeAnyWindow) {
  answers("answer -\n");
  machine.current = "C:\\TEMP";
  EXPECT_EQ(run(run_startup), 0);
  EXPECT_EQ(probes(trace()).size(), 24u); // the start folder, then D: to Z:
  EXPECT_EQ(gui_codes(), std::vector<int>{48});

  // On a share without a CD the error comes at once, without probing drives.
  SetUp();
  answers("answer -\n");
  machine.current = "\\\\SERVER\\QOV\\TEMP";
  EXPECT_EQ(run(run_startup), 0);
  EXPECT_EQ(probes(trace()).size(), 1u);
  EXPECT_EQ(gui_codes(), std::vector<int>{48});
}

} // namespace
} // namespace qov::testing
