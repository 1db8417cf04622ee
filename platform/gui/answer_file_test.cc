#include "platform/gui/answer_file.h"

#include <gtest/gtest.h>

namespace qov {
namespace {

TEST(AnswerFileTest, ParsesEveryActionWithCommentsAndBlankLines) {
  std::string error;
  auto file = AnswerFile::parse("# module menu\n"
                                "key 281   # pos\n"
                                "\n"
                                "key -5\n"
                                "select 3\n"
                                "answer y\n"
                                "answer -\n"
                                "folder C:\\QOV\\Direct\xc3\xb3rio #2  # comment\n"
                                "folder C:\\A#B\n"
                                "cancel\n",
                                &error);
  ASSERT_TRUE(file) << error;
  using K = Answer::Kind;
  EXPECT_EQ(file->take({K::kKey}, "t").number, 281);
  EXPECT_EQ(file->take({K::kKey}, "t").number, -5);
  const Answer& select = file->take({K::kKey, K::kSelect}, "t");
  EXPECT_EQ(select.kind, K::kSelect);
  EXPECT_EQ(select.number, 3);
  EXPECT_EQ(select.line, 5);
  EXPECT_EQ(file->take({K::kAnswer}, "t").letter, 'y');
  EXPECT_EQ(file->take({K::kAnswer}, "t").letter, '\0');
  // The folder is handed over in Windows-1252; " #" starts a comment, "#" alone does not.
  EXPECT_EQ(file->take({K::kFolder}, "t").text, "C:\\QOV\\Direct\xf3rio");
  EXPECT_EQ(file->take({K::kFolder}, "t").text, "C:\\A#B");
  EXPECT_EQ(file->take({K::kCancel}, "t").kind, K::kCancel);
  EXPECT_TRUE(file->exhausted());
}

TEST(AnswerFileTest, MalformedLinesAreRefusedWithTheirLineNumber) {
  const char* bad[] = {"key\n",          "key 40000\n", "key 12x\n",    "select 0\n",
                       "answer maybe\n", "folder\n",    "cancel now\n", "press 5\n"};
  for (const char* text : bad) {
    std::string error;
    std::string content = std::string("key 1\n") + text;
    EXPECT_FALSE(AnswerFile::parse(content, &error)) << text;
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
  }
}

TEST(AnswerFileTest, FolderIsCutAt80Characters) {
  std::string error;
  auto file = AnswerFile::parse("folder C:\\" + std::string(100, 'x') + "\n", &error);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->take({Answer::Kind::kFolder}, "t").text.size(), 80u);
}

} // namespace
} // namespace qov
