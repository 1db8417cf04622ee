#include "install/target_folder.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "install/install_choices.h"
#include "install/installation_procedure.h"
#include "system/external_programs.h"
#include "system/fixed_text.h"
#include "system/primitives.h"
#include "system/win1252.h"
#include "tests/support/in_process.h"

namespace qov::testing {
namespace {

std::string padded(const std::string& text, std::size_t width = 80) {
  return text + std::string(width - text.size(), ' ');
}

void set_folder(Field field, const std::string& text) {
  set_nuls(field);
  std::memcpy(field.data(), text.data(), text.size());
}

class TargetFolderTest : public InstallerTest {
protected:
  void SetUp() override {
    InstallerTest::SetUp();
    choose("pos", "mf");
    // Started in the CD's autorun\bin folder.
    set_folder(install_choices.cd_root, "D:\\");
    set_folder(install_choices.cd_root_initial, "D:\\");
    set_folder(install_choices.start_folder, "D:\\AUTORUN\\BIN");
    set_text(extraction_block().destination, "c:\\");
  }

  void choose(const char* module, const char* family) {
    set_text(install_choices.module_code, module);
    set_text(install_choices.runtime_family, family);
  }

  // The folder-dialog blocks RAVUVU32 was called with.
  std::vector<std::string> dialog_blocks() const {
    std::vector<std::string> blocks;
    for (const TraceEntry& e : calls_named(trace(), "RAVUVU32")) {
      auto in = from_hex(e["in"]);
      blocks.emplace_back(in.begin(), in.end());
    }
    return blocks;
  }

  // The questions asked, by their letters.
  std::vector<std::string> questions() const {
    std::vector<std::string> asked;
    for (const TraceEntry& e : calls_named(trace(), "gui")) {
      if (e.code() != 48)
        continue;
      std::string letters = e["in"].substr(32, 6);
      asked.push_back(letters == "716e79" ? "cancel" : letters == "717979" ? "no folder" : letters);
    }
    return asked;
  }
};

TEST_F(TargetFolderTest, DialogBlockIsByteExact) {
  answers("folder C:\\QOV\\EMPRESA\n");
  ASSERT_TRUE(select_target_folder());
  auto blocks = dialog_blocks();
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0], "I-O" + padded(w1252("Indique Directório Instalação")) + "NS" +
                           padded("QOVPOS.INT") + padded("c:\\usr\\qov"));
}

struct FileNameCase {
  const char* module;
  const char* family;
  const char* file_name;
};

TEST_F(TargetFolderTest, FileNameFollowsModuleAndFamily) {
  const FileNameCase cases[] = {{"pos", "mf", "QOVPOS.INT"},
                                {"pos", "rm", "QOVPOS.COB"},
                                {"apl", "mf", "QOV.INT"},
                                {"apl", "rm", "QOV.COB"}};
  std::string script;
  for (std::size_t i = 0; i < std::size(cases); ++i)
    script += "folder C:\\QOV\n";
  answers(script);
  for (const FileNameCase& c : cases) {
    choose(c.module, c.family);
    ASSERT_TRUE(select_target_folder());
  }
  auto blocks = dialog_blocks();
  ASSERT_EQ(blocks.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(blocks[i].substr(85, 80), padded(cases[i].file_name)) << cases[i].module;
}

TEST_F(TargetFolderTest, ProposesRecordedThenCdDefaultThenStartFolder) {
  answers("folder C:\\QOV\nfolder C:\\QOV\nfolder C:\\QOV\n");
  // A recorded installation.
  set_text(install_choices.update_folder, "C:\\QOV\\RECORDED");
  ASSERT_TRUE(select_target_folder());
  // None recorded, started on the CD.
  set_spaces(install_choices.update_folder);
  ASSERT_TRUE(select_target_folder());
  // None recorded, the CD found by the drive search.
  set_spaces(install_choices.update_folder);
  set_folder(install_choices.cd_root, "E:");
  set_folder(install_choices.start_folder, "C:\\TEMP\\SETUP");
  ASSERT_TRUE(select_target_folder());

  auto blocks = dialog_blocks();
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0].substr(165), padded("C:\\QOV\\RECORDED"));
  EXPECT_EQ(blocks[1].substr(165), padded("c:\\usr\\qov"));
  EXPECT_EQ(blocks[2].substr(165), padded("C:\\TEMP\\SETUP"));
}

struct AnswerCase {
  const char* name;
  const char* script;
  bool accepted;
  std::vector<std::string> questions;
  const char* folder;      // target folder in the end
  const char* first_piece; // copy source and copy target after the check
  const char* second_piece;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
  *os << c.name;
}

const AnswerCase kAnswerCases[] = {
    {"FolderBelowDrive", "folder C:\\QOV\\EMPRESA\n", true, {}, "C:\\QOV\\EMPRESA", "C:", "QOV"},
    {"Share", "folder \\\\SERVER\\QOV\n", true, {}, "\\\\SERVER\\QOV", "", "SERVER\\QOV"},
    {"CancelledForGood", "cancel\nanswer y\n", false, {"cancel"}, nullptr, nullptr, nullptr},
    {"CancelThenChoose",
     "cancel\nanswer n\nfolder C:\\QOV\n",
     true,
     {"cancel"},
     "C:\\QOV",
     "C:",
     "QOV"},
    {"DriveRootKept", "folder C:\\\nanswer n\n", true, {"no folder"}, "C:\\", "C:", ""},
    {"DriveRootAgain",
     "folder C:\\\nanswer y\nfolder D:\\APP\n",
     true,
     {"no folder"},
     "D:\\APP",
     "D:",
     "APP"},
    {"DriveRootNoAnswer",
     "folder C:\\\nanswer -\n",
     false,
     {"no folder"},
     nullptr,
     nullptr,
     nullptr},
    {"DriveWithoutBackslash", "folder C:\nanswer n\n", true, {"no folder"}, "C:", "C:", ""},
    {"EmptyPieceBetweenBackslashes",
     "folder C:\\\\QOV\nanswer -\n",
     false,
     {"no folder"},
     nullptr,
     nullptr,
     nullptr},
};

class TargetFolderAnswerTest : public TargetFolderTest,
                               public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(TargetFolderAnswerTest, AcceptsOrEndsAsTheAnswersSay) {
  const AnswerCase& c = GetParam();
  answers(c.script);
  EXPECT_EQ(select_target_folder(), c.accepted);
  EXPECT_TRUE(script->exhausted());
  EXPECT_EQ(questions(), c.questions);

  // Each dialog proposes the same folder again.
  for (const std::string& block : dialog_blocks())
    EXPECT_EQ(block.substr(165), padded("c:\\usr\\qov"));

  if (!c.accepted) {
    EXPECT_EQ(view(extraction_block().destination), padded("c:\\"));
    EXPECT_TRUE(is_spaces(install_choices.update_folder));
    return;
  }
  EXPECT_EQ(view(install_choices.target_folder), padded(c.folder));
  EXPECT_EQ(view(extraction_block().destination), padded(c.folder));
  EXPECT_EQ(view(install_choices.update_folder), padded(c.folder));
  EXPECT_EQ(view(primitive_area.copy_source), padded(c.first_piece));
  EXPECT_EQ(view(primitive_area.copy_target), padded(c.second_piece));
}

INSTANTIATE_TEST_SUITE_P(Answers, TargetFolderAnswerTest, ::testing::ValuesIn(kAnswerCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Cancelling for good returns to the menus with only the run-time installed.
TEST_F(TargetFolderTest, CancelEndsTheProcedureWithNothingMoreWritten) {
  set_text(install_choices.windows_folder, "C:\\WINDOWS");
  set_text(install_choices.system32_present, "S");
  machine.add_file("C:\\WINDOWS\\system32\\comdlg32.ocx");
  machine.add_file("C:\\WINDOWS\\system32\\mvzipunz.ocx");
  machine.add_folder("C:\\qovexemf");
  auto files_before = machine.files;
  answers("cancel\nanswer y\n");

  EXPECT_EQ(run(run_installation_procedure), std::nullopt);

  EXPECT_EQ(extractor.calls.size(), 2u); // the run-time archives only
  EXPECT_TRUE(calls_named(trace(), "copy_file").empty());
  EXPECT_EQ(machine.files, files_before);
  EXPECT_EQ(view(install_choices.install_started), "S");
}

} // namespace
} // namespace qov::testing
