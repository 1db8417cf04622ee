#include "platform/terminal/folder_names.h"

#include <gtest/gtest.h>

namespace qov::terminal {
namespace {

TEST(FolderNamesTest, WalksUpAndDown) {
  struct Case {
    const char *folder, *parent;
  };
  for (Case c :
       {Case{"C:\\USR\\QOV", "C:\\USR"}, Case{"C:\\USR\\QOV\\", "C:\\USR"}, Case{"C:\\USR", "C:\\"},
        Case{"C:\\", "C:\\"}, Case{"C:", "C:\\"}, Case{"\\\\SERVER\\QOV", "\\\\SERVER"}})
    EXPECT_EQ(parent_folder(c.folder), c.parent) << c.folder;
  EXPECT_EQ(child_folder("C:\\", "usr"), "C:\\usr");
  EXPECT_EQ(child_folder("C:\\usr", "qov"), "C:\\usr\\qov");
  EXPECT_EQ(drive_root('D'), "D:\\");
  EXPECT_TRUE(is_drive_root("D:\\"));
  EXPECT_TRUE(is_drive_root("D:"));
  EXPECT_FALSE(is_drive_root("D:\\autorun"));
}

} // namespace
} // namespace qov::terminal
