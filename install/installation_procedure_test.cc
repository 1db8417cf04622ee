#include "install/installation_procedure.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "install/install_choices.h"
#include "system/fixed_text.h"
#include "tests/support/in_process.h"

namespace qov::testing {
namespace {

class InstallationProcedureTest : public InstallerTest {
protected:
  void SetUp() override {
    InstallerTest::SetUp();
    InstallChoices& ch = install_choices;
    set_text(ch.module_code, "pos");
    set_text(ch.country, "portugal");
    ch.country_digit[0] = '0';
    set_text(ch.version_code, "600");
    set_text(ch.runtime_family, "mf");
    set_text(ch.archive_extension, "in@");
    set_nuls(ch.cd_root);
    std::memcpy(ch.cd_root, "D:\\", 3);
    std::memcpy(ch.cd_root_initial, ch.cd_root, sizeof ch.cd_root);
    set_text(ch.windows_folder, "C:\\WINDOWS");
    set_text(ch.system32_present, "S");
    machine.add_file("C:\\WINDOWS\\system32\\comdlg32.ocx");
    machine.add_file("C:\\WINDOWS\\system32\\mvzipunz.ocx");
    machine.add_folder("C:\\QOV\\EMPRESA");
  }

  // The calls of the trace, runs of the same call counted: "REREDODI x2".
  std::vector<std::string> phases() const {
    std::vector<std::string> out;
    std::string last;
    int count = 0;
    auto flush = [&] {
      if (count > 0)
        out.push_back(count == 1 ? last : last + " x" + std::to_string(count));
    };
    for (const TraceEntry& e : trace()) {
      std::string call = e.call() == "gui" ? "gui " + e["code"] : e.call();
      if (call == last) {
        ++count;
        continue;
      }
      flush();
      last = call;
      count = 1;
    }
    flush();
    return out;
  }
};

TEST_F(InstallationProcedureTest, PosRunsEveryStepInOrderAndEndsTheProcess) {
  answers("folder C:\\QOV\\EMPRESA\n");

  ASSERT_TRUE(run(run_installation_procedure).has_value());

  std::vector<std::string> expected = {
      "file_exists x2", "run_command x2", // the system controls, both present
      "REREDODI x2",                      // the run-time into drive C
      "RAVUVU32",                         // the target folder
      "record_file x9",                   // recorded in the register
      "REREDODI x8",                      // the application archives
      "copy_file x8",                     // the support and documentation files
      "gui 12",         "gui 16",         // the GUI closed before the launch
      "set_drive",      "change_folder",  "run_command", "exit"};
  EXPECT_EQ(phases(), expected);
  ASSERT_EQ(extractor.calls.size(), 10u);
  EXPECT_EQ(extractor.calls[1].destination, "c:\\");
  for (std::size_t i = 2; i < extractor.calls.size(); ++i)
    EXPECT_EQ(extractor.calls[i].destination, "C:\\QOV\\EMPRESA");
}

} // namespace
} // namespace qov::testing
