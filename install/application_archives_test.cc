#include "install/application_archives.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "install/install_choices.h"
#include "system/external_programs.h"
#include "system/fixed_text.h"
#include "tests/support/in_process.h"

namespace qov::testing {
namespace {

struct ArchiveCase {
  const char* name;
  const char* module;
  const char* country;
  const char* family;
  const char* version;
  const char* cd_root;
  const char* posto_folder; // nullptr: left as spaces
  const char* app_folder;
  std::vector<std::string> archives;
};

void PrintTo(const ArchiveCase& c, std::ostream* os) {
  *os << c.name;
}

const ArchiveCase kArchiveCases[] = {
    {"AplPortugalMf",
     "apl",
     "portugal",
     "mf",
     "600",
     "D:\\",
     nullptr,
     "D:\\portugal\\mf\\600",
     {"D:\\portugal\\mf\\600\\qov600_1.in@", "D:\\portugal\\mf\\600\\qov600_2.in@",
      "D:\\portugal\\mf\\600\\qov600_3.in@", "D:\\portugal\\mf\\600\\emp06000.in@"}},
    {"PosAngolaRm",
     "pos",
     "angola",
     "rm",
     "600",
     "D:\\",
     "D:\\angola\\rm\\520",
     "D:\\angola\\rm\\600",
     {"D:\\angola\\rm\\520\\pos600_1.co@", "D:\\angola\\rm\\600\\qov600_2.co@",
      "D:\\angola\\rm\\600\\qov600_3.co@", "D:\\angola\\rm\\600\\emp06001.co@",
      "D:\\angola\\rm\\520\\pos06001.c1@", "D:\\angola\\rm\\520\\fac06001.c1@",
      "D:\\angola\\rm\\520\\fac06001.c2@", "D:\\angola\\rm\\520\\fac06001.c3@"}},
    {"PosMocambiqueMf",
     "pos",
     "mocambiq",
     "mf",
     "600",
     "D:\\",
     "D:\\mocambiq\\mf\\520",
     "D:\\mocambiq\\mf\\600",
     {"D:\\mocambiq\\mf\\520\\pos600_1.in@", "D:\\mocambiq\\mf\\600\\qov600_2.in@",
      "D:\\mocambiq\\mf\\600\\qov600_3.in@", "D:\\mocambiq\\mf\\600\\emp06002.in@",
      "D:\\mocambiq\\mf\\520\\pos06002.i1@", "D:\\mocambiq\\mf\\520\\fac06002.i1@",
      "D:\\mocambiq\\mf\\520\\fac06002.i2@", "D:\\mocambiq\\mf\\520\\fac06002.i3@"}},
    // A recorded version above 600 changes the application folder only.
    {"RecordedVersionQuotedRoot",
     "apl",
     "portugal",
     "rm",
     "601",
     "\"E:",
     nullptr,
     "E:portugal\\rm\\601",
     {"E:portugal\\rm\\601\\qov601_1.co@", "E:portugal\\rm\\601\\qov601_2.co@",
      "E:portugal\\rm\\601\\qov601_3.co@", "E:portugal\\rm\\601\\emp06010.co@"}},
    // The replacements change the file names only: a CD reached through a
    // folder holding "4601", "\pos0", "co@" and "1@" keeps that folder.
    {"FolderHoldingReplacedTextsIsKept",
     "pos",
     "angola",
     "rm",
     "600",
     "D:\\4601\\pos0co@1@\\",
     "D:\\4601\\pos0co@1@\\angola\\rm\\520",
     "D:\\4601\\pos0co@1@\\angola\\rm\\600",
     {"D:\\4601\\pos0co@1@\\angola\\rm\\520\\pos600_1.co@",
      "D:\\4601\\pos0co@1@\\angola\\rm\\600\\qov600_2.co@",
      "D:\\4601\\pos0co@1@\\angola\\rm\\600\\qov600_3.co@",
      "D:\\4601\\pos0co@1@\\angola\\rm\\600\\emp06001.co@",
      "D:\\4601\\pos0co@1@\\angola\\rm\\520\\pos06001.c1@",
      "D:\\4601\\pos0co@1@\\angola\\rm\\520\\fac06001.c1@",
      "D:\\4601\\pos0co@1@\\angola\\rm\\520\\fac06001.c2@",
      "D:\\4601\\pos0co@1@\\angola\\rm\\520\\fac06001.c3@"}},
};

std::string padded(const std::string& text) {
  return text + std::string(80 - text.size(), ' ');
}

std::string nul_ended(const std::string& text) {
  return text + std::string(80 - text.size(), '\0');
}

class ApplicationArchivesTest : public InstallerTest,
                                public ::testing::WithParamInterface<ArchiveCase> {
protected:
  void choose(const ArchiveCase& c) {
    InstallChoices& ch = install_choices;
    set_text(ch.module_code, c.module);
    set_text(ch.country, c.country);
    const char digit = std::strcmp(c.country, "portugal") == 0 ? '0'
                       : std::strcmp(c.country, "angola") == 0 ? '1'
                                                               : '2';
    ch.country_digit[0] = digit;
    set_text(ch.runtime_family, c.family);
    set_text(ch.archive_extension, std::strcmp(c.family, "mf") == 0 ? "in@" : "co@");
    set_text(ch.version_code, c.version);
    set_nuls(ch.cd_root);
    std::memcpy(ch.cd_root, c.cd_root, std::strlen(c.cd_root));
  }
};

TEST_P(ApplicationArchivesTest, JoinsTheSourceFoldersAndEveryArchiveInOrder) {
  const ArchiveCase& c = GetParam();
  choose(c);
  const std::string target = "C:\\QOV\\EMPRESA";
  set_text(extraction_block().destination, target);

  build_source_folders();
  extract_application_archives();

  EXPECT_EQ(view(posto_source_folder),
            c.posto_folder ? nul_ended(c.posto_folder) : std::string(80, ' '));
  EXPECT_EQ(view(app_source_folder), nul_ended(c.app_folder));
  std::vector<std::string> archives;
  for (const RecordingExtractor::Call& call : extractor.calls) {
    archives.push_back(call.archive);
    std::string expected =
        "UNZ" + padded(call.archive) + padded(target) + std::string(92, '\0') + "2";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&call.block), sizeof call.block), expected);
  }
  EXPECT_EQ(archives, c.archives);
}

INSTANTIATE_TEST_SUITE_P(Choices, ApplicationArchivesTest, ::testing::ValuesIn(kArchiveCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A CD root of 75 characters: every name is cut at 80 and still extracted.
TEST_F(ApplicationArchivesTest, LongRootCutsEveryNameAt80) {
  ArchiveCase c = kArchiveCases[1];
  std::string root = "D:\\" + std::string(71, 'R') + "\\";
  ASSERT_EQ(root.size(), 75u);
  c.cd_root = root.c_str();
  choose(c);
  build_source_folders();
  extract_application_archives();
  ASSERT_EQ(extractor.calls.size(), 8u);
  for (const RecordingExtractor::Call& call : extractor.calls)
    EXPECT_EQ(call.archive, (root + "angola").substr(0, 80));
}

} // namespace
} // namespace qov::testing
