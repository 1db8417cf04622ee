#include "system/fixed_text.h"

#include <string>

#include <gtest/gtest.h>

namespace qov {
namespace {

std::string str(ConstField f) {
  return std::string(f.data(), f.size());
}

// Joining: the pieces a name is built from, and the result in a small field.
TEST(NameJoinerTest, JoinsPiecesAndCutsAtTheFieldWidth) {
  struct Case {
    const char* what;
    std::string folder; // a NUL-ended folder field (8 characters)
    std::string choice; // a space-padded choice field
    std::string literal;
    std::string expected; // the 12-character field afterwards
  };
  const Case cases[] = {
      {"all pieces", std::string("D:\\\0\0\0\0\0", 8), "mf      ", "\\x", "D:\\mf\\x     "},
      {"folder without NUL is taken whole", "ABCDEFGH", "mf", "", "ABCDEFGHmf  "},
      {"blank choice adds nothing", std::string("C:\0\0\0\0\0\0", 8), "  ", "_1.", "C:_1.       "},
      {"choice up to its first space", std::string("", 0), "an gola ", "", "an          "},
      {"cut inside the last piece", "ABCDEFGH", "xy", "12345", "ABCDEFGHxy12"},
      {"later pieces dropped", "ABCDEFGH", "wxyz", "LATE", "ABCDEFGHwxyz"},
  };
  for (const Case& c : cases) {
    char field[12];
    NameJoiner(field).folder(c.folder).choice(c.choice).literal(c.literal);
    EXPECT_EQ(str(field), c.expected) << c.what;
  }
}

TEST(NameJoinerTest, CdRootDropsALeadingDoubleQuote) {
  char root[80];
  set_nuls(root);
  std::string quoted = "\"E:\\";
  std::copy(quoted.begin(), quoted.end(), root);
  char field[20];
  NameJoiner(field).cd_root(root).literal("utils\\unzip.exe");
  EXPECT_EQ(str(field), "E:\\utils\\unzip.exe  ");

  // Without a quote the root is its text up to the NUL; at most 79 characters
  // follow a quote.
  set_spaces(root);
  root[0] = '"';
  EXPECT_EQ(cd_root_piece(root).size(), 79u);
  root[0] = 'D';
  EXPECT_EQ(cd_root_piece(root).size(), 80u);
}

TEST(FixedTextTest, EndFolderFieldTurnsTrailingSpacesIntoNuls) {
  struct Case {
    std::string before, after;
  };
  const Case cases[] = {
      {"C:\\QOV    ", std::string("C:\\QOV\0\0\0\0", 10)},
      {"C:\\A B    ", std::string("C:\\A B\0\0\0\0", 10)},    // inner spaces stay
      {"          ", std::string(" \0\0\0\0\0\0\0\0\0", 10)}, // position 1 is never changed
      {"X         ", std::string("X\0\0\0\0\0\0\0\0\0", 10)},
      {"ABCDEFGHIJ", "ABCDEFGHIJ"},
  };
  for (const Case& c : cases) {
    std::string f = c.before;
    end_folder_field(Field(f.data(), f.size()));
    EXPECT_EQ(f, c.after) << c.before;
  }
}

TEST(FixedTextTest, ReplaceAllScansEveryStartPosition) {
  struct Case {
    std::string before, from, to, after;
  };
  const Case cases[] = {
      {"emp06001.co@", "co@", "c1@", "emp06001.c1@"},
      {"x4601y4601z", "4601", "4611", "x4611y4611z"},
      {"46014601", "4601", "4611", "46114611"},
      {"aaa", "aa", "ab", "aba"}, // goes on after each replacement
      {"fac.i1@", "1@", "2@", "fac.i2@"},
      {"abc4601", "4601", "4611", "abc4611"}, // the last start position counts
      {"460", "4601", "4611", "460"},
  };
  for (const Case& c : cases) {
    std::string f = c.before;
    replace_all(Field(f.data(), f.size()), c.from, c.to);
    EXPECT_EQ(f, c.after) << c.before;
  }
}

TEST(FixedTextTest, NamesAndComparisons) {
  char f[10];
  set_text(f, "a b");
  EXPECT_EQ(str(f), "a b       ");
  EXPECT_EQ(name_of(f), "a b");
  EXPECT_TRUE(holds(f, "a b"));
  EXPECT_FALSE(holds(f, "a"));
  set_text(f, "0123456789ABC"); // cut at the width, no error
  EXPECT_EQ(str(f), "0123456789");
  std::string nul_ended("C:\\X  \0zz  ", 10);
  EXPECT_EQ(name_of(ConstField(nul_ended.data(), nul_ended.size())), "C:\\X");
  set_spaces(f);
  EXPECT_TRUE(is_spaces(f));
  EXPECT_EQ(name_of(f), "");
  EXPECT_EQ(choice_piece(f), "");
}

} // namespace
} // namespace qov
