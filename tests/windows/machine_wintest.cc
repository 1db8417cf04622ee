// The primitives on Windows itself: file details, copies, drives and
// folders, the environment and the system command shell.
#include "platform/windows/windows_machine.h"

#include <gtest/gtest.h>

#include "tests/windows/support/temp_folder.h"

namespace qov {
namespace {

using testing::read_file;
using testing::TempFolder;
using testing::write_file;

TEST(WindowsMachine, FileDetailsAreForFilesOnly) {
  TempFolder dir;
  WindowsMachine m;
  write_file(dir / "setup.exe", "12345");
  write_file(dir / "empty.txt", "");
  auto info = m.file_info(dir / "SETUP.EXE");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->size, 5u);
  EXPECT_GE(info->year, 2020);
  ASSERT_TRUE(m.file_info(dir / "empty.txt")) << "an empty file exists too";
  EXPECT_GE(m.file_info(dir / "empty.txt")->year, 2020);
  EXPECT_FALSE(m.file_info(dir.path())) << "a folder is not a file";
  EXPECT_FALSE(m.file_info(dir / "none.txt"));
  EXPECT_FALSE(m.file_info("Q:\\no\\such\\drive.txt"));
}

TEST(WindowsMachine, CopyReplacesTheTargetAndKeepsTheSource) {
  TempFolder dir;
  WindowsMachine m;
  write_file(dir / "from.dll", "new bytes");
  write_file(dir / "to.dll", "old");
  EXPECT_EQ(m.copy_file(dir / "from.dll", dir / "to.dll"), 0);
  EXPECT_EQ(read_file(dir / "to.dll"), "new bytes");
  EXPECT_EQ(read_file(dir / "from.dll"), "new bytes");

  EXPECT_NE(m.copy_file(dir / "none.dll", dir / "to.dll"), 0);
  EXPECT_EQ(read_file(dir / "to.dll"), "new bytes");
  EXPECT_NE(m.copy_file(dir / "from.dll", dir / "no\\folder\\to.dll"), 0) << "creates no folder";
  EXPECT_FALSE(testing::exists(dir / "no"));
}

TEST(WindowsMachine, DriveAndFolderChangesReachTheCommandShell) {
  TempFolder dir;
  WindowsMachine m;
  std::string before = m.current_folder();
  testing::make_folder(dir / "Alvo Com Espaco");
  ASSERT_EQ(m.set_drive(dir.path()[0]), 0);
  ASSERT_EQ(m.change_folder(dir / "Alvo Com Espaco"), 0);
  EXPECT_EQ(m.current_folder(), dir / "Alvo Com Espaco");
  EXPECT_NE(m.change_folder(dir / "none"), 0);
  EXPECT_EQ(m.current_folder(), dir / "Alvo Com Espaco");

  // The launch line: "set" up to the "&" keeps the space before it.
  write_file(dir / "Alvo Com Espaco\\qov.bat",
             "@echo off\r\necho [%cobdir%]> where.txt\r\ncd>> where.txt\r\n");
  EXPECT_EQ(m.run_command("set cobdir=qovxxx & %comspec% /C call qov.bat"), 0);
  EXPECT_EQ(read_file(dir / "Alvo Com Espaco\\where.txt"),
            "[qovxxx ]\r\n" + dir / "Alvo Com Espaco" + "\r\n");
  EXPECT_EQ(m.run_command("exit 3"), 3);
  EXPECT_EQ(m.run_command("no-such-program-here.exe"), 9009);
  m.change_folder(before);
}

TEST(WindowsMachine, TheEnvironmentReachesProgramsStarted) {
  TempFolder dir;
  WindowsMachine m;
  EXPECT_FALSE(m.get_env("QOV_NOT_SET_ANYWHERE"));
  m.set_env("sp2cfg", "D:\\autorun\\bin\\qovsp2.cfg");
  EXPECT_EQ(m.get_env("SP2CFG"), "D:\\autorun\\bin\\qovsp2.cfg");
  EXPECT_EQ(m.run_command("echo %sp2cfg%> \"" + (dir / "env.txt") + "\""), 0);
  EXPECT_EQ(read_file(dir / "env.txt"), "D:\\autorun\\bin\\qovsp2.cfg\r\n");
}

TEST(WindowsMachine, HostNamesAreFullWindowsNames) {
  TempFolder dir;
  WindowsMachine m;
  testing::make_folder(dir / "Beta");
  testing::make_folder(dir / "alfa");
  write_file(dir / "file.txt", "x");
  EXPECT_EQ(m.folders_in(dir.path()), (std::vector<std::string>{"alfa", "Beta"}));
  EXPECT_EQ(m.existing(dir / "BETA"), dir / "BETA");
  EXPECT_FALSE(m.existing(dir / "none"));
  EXPECT_EQ(m.for_create(dir / "new\\x.txt"), dir / "new\\x.txt");
  EXPECT_NE(m.drives().find('C'), std::string::npos);
}

} // namespace
} // namespace qov
