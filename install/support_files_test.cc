#include "install/support_files.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "install/application_archives.h"
#include "install/install_choices.h"
#include "system/fixed_text.h"
#include "tests/support/in_process.h"

namespace qov::testing {
namespace {

struct SupportCase {
  const char* name;
  const char* module;
  const char* family;
  const char* system32;
  const char* windows;
  const char* cd_root;
  const char* target;
  std::vector<std::string> copies;
};

void PrintTo(const SupportCase& c, std::ostream* os) {
  *os << c.name;
}

const SupportCase kSupportCases[] = {
    {"PosMf",
     "pos",
     "mf",
     "S",
     "C:\\WINDOWS",
     "D:\\",
     "C:\\QOV\\EMPRESA",
     {"c:\\qovexemf\\SP2IMA32.DLL -> c:\\qovexemf\\QPRIMA32.DLL",
      "c:\\qovexemf\\SP2TVW32.DLL -> c:\\qovexemf\\QPRTVW32.DLL",
      "c:\\qovexemf\\SP2OCX32.DLL -> c:\\qovexemf\\QPROCX32.DLL",
      "C:\\WINDOWS\\system32\\msvcrt.dll -> c:\\qovexemf\\msvcrt.dll",
      "D:\\utils\\unzip.exe -> c:\\qovexemf\\unzip.exe",
      "D:\\portugal\\mf\\600\\QOVROT.TXT -> C:\\QOV\\EMPRESA\\QOVROT.TXT"}},
    {"AplRmOldSystemFolderQuotedRoot",
     "apl",
     "rm",
     "N",
     "C:\\WIN98",
     "\"D:\\",
     "\\\\SERVER\\QOV",
     {"c:\\qovexerm\\SP2IMA32.DLL -> c:\\qovexerm\\QPRIMA32.DLL",
      "c:\\qovexerm\\SP2TVW32.DLL -> c:\\qovexerm\\QPRTVW32.DLL",
      "c:\\qovexerm\\SP2OCX32.DLL -> c:\\qovexerm\\QPROCX32.DLL",
      "C:\\WIN98\\system\\msvcrt.dll -> c:\\qovexerm\\msvcrt.dll",
      "D:\\utils\\unzip.exe -> c:\\qovexerm\\unzip.exe",
      "D:\\portugal\\mf\\600\\QOVROT.TXT -> \\\\SERVER\\QOV\\QOVROT.TXT"}},
    {"RunOnlyCopiesTheRuntimeFiles",
     "run",
     "mf",
     "S",
     "C:\\WINDOWS",
     "E:",
     "",
     {"c:\\qovexemf\\SP2IMA32.DLL -> c:\\qovexemf\\QPRIMA32.DLL",
      "c:\\qovexemf\\SP2TVW32.DLL -> c:\\qovexemf\\QPRTVW32.DLL",
      "c:\\qovexemf\\SP2OCX32.DLL -> c:\\qovexemf\\QPROCX32.DLL",
      "C:\\WINDOWS\\system32\\msvcrt.dll -> c:\\qovexemf\\msvcrt.dll",
      "E:utils\\unzip.exe -> c:\\qovexemf\\unzip.exe"}},
    // Spaces: the Windows folder is cut at its first one, the target folder
    // keeps its own.
    {"FoldersWithSpaces",
     "pos",
     "mf",
     "S",
     "C:\\My Windows",
     "D:\\",
     "C:\\Program Files\\QOV",
     {"c:\\qovexemf\\SP2IMA32.DLL -> c:\\qovexemf\\QPRIMA32.DLL",
      "c:\\qovexemf\\SP2TVW32.DLL -> c:\\qovexemf\\QPRTVW32.DLL",
      "c:\\qovexemf\\SP2OCX32.DLL -> c:\\qovexemf\\QPROCX32.DLL",
      "C:\\My\\system32\\msvcrt.dll -> c:\\qovexemf\\msvcrt.dll",
      "D:\\utils\\unzip.exe -> c:\\qovexemf\\unzip.exe",
      "D:\\portugal\\mf\\600\\QOVROT.TXT -> C:\\Program Files\\QOV\\QOVROT.TXT"}},
};

void set_folder(Field field, const std::string& text) {
  set_nuls(field);
  std::memcpy(field.data(), text.data(), text.size());
}

class SupportFilesTest : public InstallerTest, public ::testing::WithParamInterface<SupportCase> {};

TEST_P(SupportFilesTest, CopiesInOrderAndEndsTheTargetFolder) {
  const SupportCase& c = GetParam();
  InstallChoices& ch = install_choices;
  set_text(ch.module_code, c.module);
  set_text(ch.runtime_family, c.family);
  set_text(ch.system32_present, c.system32);
  set_text(ch.windows_folder, c.windows);
  set_folder(ch.cd_root, c.cd_root);
  set_folder(app_source_folder, "D:\\portugal\\mf\\600");
  set_text(ch.target_folder, c.target);
  const std::string target_before(view(ch.target_folder));
  machine.add_file("D:\\portugal\\mf\\600\\QOVROT.TXT", "rotation");
  machine.add_folder(c.target);

  install_support_files();

  std::vector<std::string> copies;
  for (const TraceEntry& e : calls_named(trace(), "copy_file"))
    copies.push_back(e["from"] + " -> " + e["to"]);
  EXPECT_EQ(copies, c.copies);
  if (std::strcmp(c.module, "run") == 0) {
    EXPECT_EQ(view(ch.target_folder), target_before);
    return;
  }
  std::string target = c.target;
  EXPECT_EQ(view(ch.target_folder), target + std::string(80 - target.size(), '\0'));
  EXPECT_EQ(machine.content(target + "\\QOVROT.TXT"), "rotation");
}

INSTANTIATE_TEST_SUITE_P(Choices, SupportFilesTest, ::testing::ValuesIn(kSupportCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace qov::testing
