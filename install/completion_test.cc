#include "install/completion.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "install/application_archives.h"
#include "install/install_choices.h"
#include "system/fixed_text.h"
#include "system/win1252.h"
#include "tests/support/in_process.h"

namespace qov::testing {
namespace {

struct CompletionCase {
  const char* name;
  const char* module;
  const char* country;
  const char* cd_root;
  const char* target;
  std::vector<std::string> copies;
  const char* launch;  // the command line, nullptr when the message is shown
  const char* message; // the message text (UTF-8), nullptr when launched
};

void PrintTo(const CompletionCase& c, std::ostream* os) {
  *os << c.name;
}

const CompletionCase kCompletionCases[] = {
    {"PosLaunchesPosto",
     "pos",
     "portugal",
     "D:\\",
     "C:\\QOV\\EMPRESA",
     {"D:\\portugal\\mf\\520\\pos06000.doc -> C:\\QOV\\EMPRESA\\pos06000.doc",
      "D:\\portugal\\mf\\600\\emp06000.doc -> C:\\QOV\\EMPRESA\\emp06000.doc"},
     "set cobdir=qovxxx & %comspec% /C call posto.bat",
     nullptr},
    {"AplLaunchesQov",
     "apl",
     "mocambiq",
     "D:\\",
     "D:\\APL",
     {"D:\\mocambiq\\mf\\600\\qov600.doc -> D:\\APL\\qov600.doc",
      "D:\\mocambiq\\mf\\600\\emp06002.doc -> D:\\APL\\emp06002.doc"},
     "set cobdir=qovxxx & %comspec% /C call qov.bat",
     nullptr},
    {"LowerCaseDriveShowsZavodMessage",
     "pos",
     "portugal",
     "D:\\",
     "c:\\qov\\empresa",
     {"D:\\portugal\\mf\\520\\pos06000.doc -> c:\\qov\\empresa\\pos06000.doc",
      "D:\\portugal\\mf\\600\\emp06000.doc -> c:\\qov\\empresa\\emp06000.doc"},
     nullptr,
     "Deve executar \"Zavod\" na Pasta \"c:\\qov\\empresa\" para configurar Instalação."},
    {"ShareShowsQovMessage",
     "apl",
     "portugal",
     "D:\\",
     "\\\\SERVER\\QOV",
     {"D:\\portugal\\mf\\600\\qov600.doc -> \\\\SERVER\\QOV\\qov600.doc",
      "D:\\portugal\\mf\\600\\emp06000.doc -> \\\\SERVER\\QOV\\emp06000.doc"},
     nullptr,
     "Deve executar \"Qov\" na Pasta \"\\\\SERVER\\QOV\" para configurar Instalação."},
    // Angola's replacement changes file names only: folders holding "4601",
    // on the CD or chosen by the user, keep their names.
    {"AngolaKeepsFoldersHolding4601",
     "pos",
     "angola",
     "D:\\CD4601\\",
     "C:\\QOV\\EMP4601",
     {"D:\\CD4601\\angola\\mf\\520\\pos06001.doc -> C:\\QOV\\EMP4601\\pos06001.doc",
      "D:\\CD4601\\angola\\mf\\600\\emp06001.doc -> C:\\QOV\\EMP4601\\emp06001.doc"},
     "set cobdir=qovxxx & %comspec% /C call posto.bat",
     nullptr},
};

void set_folder(Field field, const std::string& text) {
  set_nuls(field);
  std::memcpy(field.data(), text.data(), text.size());
}

class CompletionTest : public InstallerTest, public ::testing::WithParamInterface<CompletionCase> {
protected:
  // The choices and folders as the earlier steps leave them.
  void prepare(const CompletionCase& c) {
    InstallChoices& ch = install_choices;
    set_text(ch.module_code, c.module);
    set_text(ch.country, c.country);
    ch.country_digit[0] = std::strcmp(c.country, "portugal") == 0 ? '0'
                          : std::strcmp(c.country, "angola") == 0 ? '1'
                                                                  : '2';
    set_text(ch.version_code, "600");
    set_text(ch.runtime_family, "mf");
    set_folder(ch.cd_root, c.cd_root);
    build_source_folders();
    set_folder(ch.target_folder, c.target);
    machine.add_folder(c.target);
    for (const std::string& copy : c.copies)
      machine.add_file(copy.substr(0, copy.find(" -> ")), "doc");
  }
};

TEST_P(CompletionTest, CopiesTheDocumentsThenLaunchesOrTellsTheUser) {
  const CompletionCase& c = GetParam();
  prepare(c);
  if (c.message)
    answers("answer -\n");

  ASSERT_TRUE(run(complete_installation).has_value());

  std::vector<std::string> copies, steps;
  for (const TraceEntry& e : trace()) {
    if (e.call() == "copy_file")
      copies.push_back(e["from"] + " -> " + e["to"]);
    if (e.call() == "gui")
      steps.push_back("gui " + e["code"]);
    else if (e.call() != "file_exists")
      steps.push_back(e.call());
  }
  EXPECT_EQ(copies, c.copies);
  for (const std::string& copy : c.copies)
    EXPECT_TRUE(machine.has_file(copy.substr(copy.find(" -> ") + 4))) << copy;

  if (c.launch) {
    std::vector<std::string> expected = {"copy_file", "copy_file",     "gui 12",      "gui 16",
                                         "set_drive", "change_folder", "run_command", "exit"};
    EXPECT_EQ(steps, expected);
    auto drive = calls_named(trace(), "set_drive");
    ASSERT_EQ(drive.size(), 1u);
    EXPECT_EQ(drive[0]["drive"], std::string(1, c.target[0]));
    auto folder = calls_named(trace(), "change_folder");
    ASSERT_EQ(folder.size(), 1u);
    EXPECT_EQ(folder[0]["name"], c.target);
    EXPECT_EQ(folder[0]["status"], "0");
    EXPECT_EQ(machine.commands, std::vector<std::string>{c.launch});
    EXPECT_EQ(machine.current, c.target); // the batch runs in the target folder
    return;
  }
  std::vector<std::string> expected = {"copy_file", "copy_file", "gui 12",
                                       "gui 16",    "gui 48",    "exit"};
  EXPECT_EQ(steps, expected);
  EXPECT_TRUE(machine.commands.empty());
  auto gui = calls_named(trace(), "gui");
  auto in = from_hex(gui.back()["in"]);
  ASSERT_EQ(in.size(), 260u);
  std::string block(in.begin(), in.end());
  EXPECT_EQ(block.substr(14, 6), std::string("\x02\x00io\x00\x00", 6));
  std::string title = w1252("Fim da Instalação");
  EXPECT_EQ(block.substr(20, 60), title + std::string(60 - title.size(), ' '));
  std::string text = w1252(c.message);
  EXPECT_EQ(block.substr(80), text + std::string(180 - text.size(), '\0'));
}

INSTANTIATE_TEST_SUITE_P(Targets, CompletionTest, ::testing::ValuesIn(kCompletionCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace qov::testing
