#include "system/system_controls.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "install/install_choices.h"
#include "system/fixed_text.h"
#include "tests/support/in_process.h"

namespace qov::testing {
namespace {

class SystemControlsTest : public InstallerTest {
protected:
  void machine_with(const std::string& windows, const std::string& system32) {
    set_text(install_choices.windows_folder, windows);
    set_text(install_choices.system32_present, system32);
    set_nuls(install_choices.cd_root);
    set_text(std::span(install_choices.cd_root).first(3), "D:\\");
    machine.add_file("D:\\autorun\\bin\\comdlg32.ocx", "comdlg");
    machine.add_file("D:\\autorun\\bin\\mvzipunz.ocx", "mvzipunz");
    machine.add_folder(windows + "\\system32");
    machine.add_folder(windows + "\\system");
  }

  std::vector<std::string> copies() const {
    std::vector<std::string> out;
    for (const TraceEntry& e : calls_named(trace(), "copy_file"))
      out.push_back(e["from"] + " -> " + e["to"]);
    return out;
  }
};

struct ControlsCase {
  const char* name;
  const char* system32;
  bool comdlg_present;
  bool mvzipunz_present;
  std::vector<std::string> copies;
  std::vector<std::string> commands;
};

void PrintTo(const ControlsCase& c, std::ostream* os) {
  *os << c.name;
}

const std::string kReg = "C:\\WINDOWS\\system32\\regsvr32.exe /s C:\\WINDOWS\\system32\\";
const std::string kRegOld = "C:\\WINDOWS\\system\\regsvr32.exe /s C:\\WINDOWS\\system\\";

const ControlsCase kControlsCases[] = {
    {"BothPresent", "S", true, true, {}, {kReg + "comdlg32.ocx", kReg + "mvzipunz.ocx"}},
    {"ComdlgMissing",
     "S",
     false,
     true,
     {"D:\\autorun\\bin\\comdlg32.ocx -> C:\\WINDOWS\\system32\\comdlg32.ocx"},
     {kReg + "comdlg32.ocx", kReg + "comdlg32.ocx", kReg + "mvzipunz.ocx"}},
    {"MvzipunzMissing",
     "S",
     true,
     false,
     {"D:\\autorun\\bin\\mvzipunz.ocx -> C:\\WINDOWS\\system32\\mvzipunz.ocx"},
     {kReg + "comdlg32.ocx", kReg + "mvzipunz.ocx"}},
    {"NonePresentOldSystemFolder",
     "N",
     false,
     false,
     {"D:\\autorun\\bin\\comdlg32.ocx -> C:\\WINDOWS\\system\\comdlg32.ocx",
      "D:\\autorun\\bin\\mvzipunz.ocx -> C:\\WINDOWS\\system\\mvzipunz.ocx"},
     {kRegOld + "comdlg32.ocx", kRegOld + "comdlg32.ocx", kRegOld + "mvzipunz.ocx"}},
};

class SystemControlsCaseTest : public SystemControlsTest,
                               public ::testing::WithParamInterface<ControlsCase> {};

TEST_P(SystemControlsCaseTest, CopiesWhatIsMissingAndRegistersInOrder) {
  const ControlsCase& c = GetParam();
  machine_with("C:\\WINDOWS", c.system32);
  std::string sys = std::string("C:\\WINDOWS\\") + (c.system32[0] == 'S' ? "system32" : "system");
  if (c.comdlg_present)
    machine.add_file(sys + "\\comdlg32.ocx", "old");
  if (c.mvzipunz_present)
    machine.add_file(sys + "\\mvzipunz.ocx", "old");

  install_system_controls();

  EXPECT_EQ(copies(), c.copies);
  EXPECT_EQ(machine.commands, c.commands);
  // An existing control is never overwritten; a missing one comes from the CD.
  EXPECT_EQ(machine.content(sys + "\\comdlg32.ocx"), c.comdlg_present ? "old" : "comdlg");
  EXPECT_EQ(machine.content(sys + "\\mvzipunz.ocx"), c.mvzipunz_present ? "old" : "mvzipunz");
}

INSTANTIATE_TEST_SUITE_P(Machines, SystemControlsCaseTest, ::testing::ValuesIn(kControlsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SystemControlsTest, LongWindowsFolderCutsTheCommandAt105) {
  const std::string windows = "C:\\WINDOWS_OF_TWENTY_NINE_CHR"; // 29 characters
  ASSERT_EQ(windows.size(), 29u);
  machine_with(windows, "S");
  machine.add_file(windows + "\\system32\\comdlg32.ocx");
  machine.add_file(windows + "\\system32\\mvzipunz.ocx");

  install_system_controls();

  ASSERT_EQ(machine.commands.size(), 2u);
  std::string full =
      windows + "\\system32\\regsvr32.exe /s " + windows + "\\system32\\mvzipunz.ocx";
  ASSERT_EQ(full.size(), 106u);
  EXPECT_EQ(machine.commands[1], full.substr(0, 105));
}

TEST_F(SystemControlsTest, WindowsFolderEndsAtItsFirstSpaceAndQuotedRootLosesTheQuote) {
  machine_with("C:\\My Windows", "S");
  set_nuls(install_choices.cd_root);
  set_text(std::span(install_choices.cd_root).first(4), "\"D:\\");

  install_system_controls();

  auto files = calls_named(trace(), "file_exists");
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0]["name"], "C:\\My\\system32\\comdlg32.ocx");
  EXPECT_EQ(copies().front(), "D:\\autorun\\bin\\comdlg32.ocx -> C:\\My\\system32\\comdlg32.ocx");
  EXPECT_EQ(machine.commands.back(),
            "C:\\My\\system32\\regsvr32.exe /s C:\\My\\system32\\mvzipunz.ocx");
}

} // namespace
} // namespace qov::testing
