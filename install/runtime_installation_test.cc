#include "install/runtime_installation.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "install/install_choices.h"
#include "install/installation_procedure.h"
#include "system/fixed_text.h"
#include "tests/support/in_process.h"

namespace qov::testing {
namespace {

struct RuntimeCase {
  const char* name;
  const char* family;
  const char* cd_root;
  std::vector<std::string> archives;
};

void PrintTo(const RuntimeCase& c, std::ostream* os) {
  *os << c.name;
}

const RuntimeCase kRuntimeCases[] = {
    {"MfFromTheStartFolder",
     "mf",
     "D:\\",
     {"D:\\runtimes\\qovexemf.ex@", "D:\\runtimes\\qovexemf.co@"}},
    {"RmFromTheStartFolder", "rm", "D:\\", {"D:\\runtimes\\qovexerm.co@"}},
    {"QuotedRootLosesItsQuote",
     "mf",
     "\"F:\\CD ROM\\",
     {"F:\\CD ROM\\runtimes\\qovexemf.ex@", "F:\\CD ROM\\runtimes\\qovexemf.co@"}},
    {"DriveSearchRootHasNoBackslash", "rm", "E:", {"E:runtimes\\qovexerm.co@"}},
};

class RuntimeInstallationTest : public InstallerTest,
                                public ::testing::WithParamInterface<RuntimeCase> {
protected:
  void choose(const char* module, const RuntimeCase& c) {
    set_text(install_choices.module_code, module);
    set_text(install_choices.runtime_family, c.family);
    set_nuls(install_choices.cd_root);
    std::memcpy(install_choices.cd_root, c.cd_root, std::strlen(c.cd_root));
    set_text(install_choices.windows_folder, "C:\\WINDOWS");
    set_text(install_choices.system32_present, "S");
    machine.add_file("C:\\WINDOWS\\system32\\comdlg32.ocx");
    machine.add_file("C:\\WINDOWS\\system32\\mvzipunz.ocx");
  }
};

TEST_P(RuntimeInstallationTest, ExtractsTheFamilysArchivesIntoC) {
  const RuntimeCase& c = GetParam();
  choose("pos", c);

  install_runtime();

  EXPECT_EQ(view(install_choices.install_started), "S");
  std::vector<std::string> archives;
  for (const RecordingExtractor::Call& call : extractor.calls) {
    archives.push_back(call.archive);
    // The whole block: function, archive and destination space-padded,
    // zeros, mode.
    std::string expected = "UNZ" + call.archive + std::string(80 - call.archive.size(), ' ') +
                           "c:\\" + std::string(77, ' ') + std::string(92, '\0') + "2";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&call.block), sizeof call.block), expected);
  }
  EXPECT_EQ(archives, c.archives);

  // The controls are in place before anything is extracted.
  std::vector<TraceEntry> t = trace();
  std::size_t last_command = 0, first_extraction = t.size();
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i].call() == "run_command")
      last_command = i;
    if (t[i].call() == "REREDODI" && first_extraction == t.size())
      first_extraction = i;
  }
  EXPECT_EQ(machine.commands.size(), 2u);
  EXPECT_LT(last_command, first_extraction);
}

INSTANTIATE_TEST_SUITE_P(Roots, RuntimeInstallationTest, ::testing::ValuesIn(kRuntimeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The run-time alone: no folder dialog, the support files, back to the menus.
TEST_F(RuntimeInstallationTest, RunModuleGoesStraightToTheSupportFiles) {
  choose("run", kRuntimeCases[0]);
  EXPECT_EQ(run(run_installation_procedure), std::nullopt);
  EXPECT_EQ(extractor.calls.size(), 2u);
  EXPECT_TRUE(calls_named(trace(), "RAVUVU32").empty());
  EXPECT_EQ(calls_named(trace(), "copy_file").size(), 5u);
}

} // namespace
} // namespace qov::testing
