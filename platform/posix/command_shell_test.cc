#include "platform/posix/command_shell.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/installer_run.h"

namespace qov {
namespace {
namespace fs = std::filesystem;
using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

// A machine with a host program C:\tools\show.exe that writes its
// arguments, its folder and cobdir to a host file, and exits with 7.
class CommandShellTest : public ::testing::Test {
protected:
  CommandShellTest() {
    m.make_folder("c/QOV/EMPRESA");
    machine.change_folder("C:\\QOV\\EMPRESA");
    m.write_file("c/tools/show.exe",
                 "#!/bin/sh\nprintf '%s|%s|%s\\n' \"$cobdir\" \"$(pwd)\" \"$*\" >>\"$QOV_SHOW\"\n"
                 "exit 7\n");
    fs::permissions(m.host("c/tools/show.exe"), fs::perms::owner_all);
    setenv("QOV_SHOW", m.host("shown.txt").c_str(), 1);
    unsetenv("cobdir");
  }
  ~CommandShellTest() override { unsetenv("QOV_SHOW"); }

  std::string shown() const { return m.exists("shown.txt") ? m.read_file("shown.txt") : ""; }

  struct Output {
    int code;
    std::string out, err;
  };
  Output run(const std::string& line) {
    CaptureStdout();
    CaptureStderr();
    int code = machine.run_command(line);
    std::string out = GetCapturedStdout();
    return {code, out, GetCapturedStderr()};
  }

  testing::TempMachine m;
  PosixMachine machine{posix::MachineMap::in_folder(m.root()), m.root()};
};

TEST_F(CommandShellTest, SetsForTheShellAndRunsProgramsInTheCurrentFolder) {
  ASSERT_EQ(machine.change_folder("c:\\qov\\empresa"), 0);
  Output r = run("set cobdir=qovxxx & %comspec% /C C:\\TOOLS\\show a \"b c\"");
  EXPECT_EQ(r.code, 7) << r.err;
  EXPECT_EQ(shown(), "qovxxx |" + fs::canonical(m.host("c/QOV/EMPRESA")).string() + "|a b c\n");
  EXPECT_EQ(std::getenv("cobdir"), nullptr) << "the shell's set stays in the shell";
}

TEST_F(CommandShellTest, RunsABatchFileLineByLine) {
  m.write_file("c/QOV/EMPRESA/qov.bat",
               "@echo off\r\nrem the product\r\necho Pasta %CD%\r\necho cobdir=%cobdir%.\r\n"
               ":fim\r\ncall SUB.BAT one\r\nc:\\tools\\show.exe %1\r\n");
  m.write_file("c/QOV/EMPRESA/sub.bat", "@echo sub %1 %nothing%\n");
  Output r = run("set cobdir=qovxxx & %comspec% /C call qov.bat");
  EXPECT_EQ(r.out, "Pasta C:\\QOV\\EMPRESA\ncobdir=qovxxx .\nsub one %nothing%\n");
  EXPECT_EQ(r.code, 7);
  EXPECT_EQ(r.err, "");

  r = run("call missing.bat");
  EXPECT_EQ(r.code, CommandShell::kNotRecognized);
}

TEST_F(CommandShellTest, RegistersAnExistingControlOnce) {
  m.write_file("c/WINDOWS/system32/comdlg32.ocx", "ocx");
  for (const char* line :
       {"C:\\WINDOWS\\system32\\regsvr32.exe /s C:\\WINDOWS\\system32\\comdlg32.ocx",
        "c:/windows/SYSTEM32/REGSVR32.EXE /s c:\\windows\\system32\\COMDLG32.OCX"}) {
    Output r = run(line);
    EXPECT_EQ(r.code, 0) << line;
    EXPECT_EQ(r.out + r.err, "") << line;
  }
  Output r = run("C:\\WINDOWS\\system32\\regsvr32.exe /s C:\\WINDOWS\\system32\\mvzipunz.ocx");
  EXPECT_NE(r.code, 0);
  EXPECT_EQ(r.out + r.err, "");
  EXPECT_EQ(m.read_file("registry/controls.txt"), "C:\\WINDOWS\\system32\\comdlg32.ocx\n");
}

TEST_F(CommandShellTest, AnythingElseIsNotRecognized) {
  m.write_file("c/QOV/EMPRESA/setup.exe", "not a program");
  for (const char* program : {"qovnothing.exe", "setup.exe", "C:\\QOV"}) {
    Output r = run(std::string(program) + " arg");
    EXPECT_EQ(r.code, CommandShell::kNotRecognized) << program;
    EXPECT_NE(r.err.find(std::string("'") + program + "' is not recognized"), std::string::npos)
        << r.err;
  }
}

TEST_F(CommandShellTest, ALineThatCannotBeReadIsNotRunInPart) {
  for (const char* line : {"C:\\tools\\show.exe & C:\\tools\\show.exe | more",
                           "C:\\tools\\show.exe & %comspec% /C echo a > out.txt",
                           "C:\\tools\\show.exe & %comspec% /C \"echo a & && b\""}) {
    Output r = run(line);
    EXPECT_EQ(r.code, CommandShell::kCannotParse) << line;
    EXPECT_NE(r.err, "") << line;
  }
  EXPECT_EQ(shown(), "");
  EXPECT_FALSE(m.exists("c/QOV/EMPRESA/out.txt"));
}

} // namespace
} // namespace qov
