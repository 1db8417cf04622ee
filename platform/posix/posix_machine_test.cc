#include "platform/posix/posix_machine.h"

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/environment.h"
#include "tests/support/installer_run.h"

namespace qov {
namespace {
namespace fs = std::filesystem;
using testing::RunOptions;
using testing::RunResult;
using testing::TempMachine;

class PosixMachineTest : public ::testing::Test {
protected:
  PosixMachineTest() {
    m.write_file("c/QOVEXEMF/qovinst.dir", "record");
    m.make_folder("c/TEMP");
    m.write_file("d/AUTORUN/BIN/setup.exe", "demo");
    m.write_file("unc/srv/qov/file.txt", "share");
  }
  PosixMachine machine_in(const std::string& relative) {
    return PosixMachine(posix::MachineMap::in_folder(m.root()), m.host(relative));
  }
  TempMachine m;
};

TEST_F(PosixMachineTest, NamesTheStartFolderAsWindowsWould) {
  m.make_folder("E/Dados");
  m.make_folder("unc/srv/qov/Sub Pasta");
  const std::pair<const char*, const char*> cases[] = {
      {"d/AUTORUN/BIN", "D:\\AUTORUN\\BIN"},
      {"d", "D:\\"},
      {"E/Dados", "E:\\Dados"},
      {"unc/srv/qov/Sub Pasta", "\\\\srv\\qov\\Sub Pasta"},
      {"", "C:\\"},
      {"unc", "C:\\"},
  };
  for (const auto& [start, expected] : cases)
    EXPECT_EQ(machine_in(start).current_folder(), expected) << start;
}

TEST_F(PosixMachineTest, ResolvesNamesRelativeToTheCurrentFolders) {
  PosixMachine machine = machine_in("c/TEMP");
  const std::string record = m.host("c/QOVEXEMF/qovinst.dir");
  const std::string setup = m.host("d/AUTORUN/BIN/setup.exe");
  const std::pair<const char*, std::string> cases[] = {
      {"c:/qovexemf/qovinst.dir", record},
      {"C:\\QOVEXEMF\\QOVINST.DIR", record},
      {"\\qovexemf\\qovinst.dir", record},
      {"..\\QOVEXEMF\\qovinst.dir", record},
      {"C:\\..\\..\\QOVEXEMF\\.\\qovinst.dir", record},
      {"C:qovinst.dir", ""},
      {"D:autorun\\bin\\setup.exe", setup},
      {"C:\\..\\d\\AUTORUN\\BIN\\setup.exe", ""},
      {"\\\\SRV\\QOV\\..\\..\\file.txt", m.host("unc/srv/qov/file.txt")},
      {"\\\\srv\\other\\file.txt", ""},
      {"X:\\QOVEXEMF\\qovinst.dir", ""},
  };
  for (const auto& [name, host] : cases)
    EXPECT_EQ(machine.existing(name).value_or(""), host) << name;
}

TEST_F(PosixMachineTest, KeepsAFolderPerDrive) {
  PosixMachine machine = machine_in("c/TEMP");
  EXPECT_EQ(machine.change_folder("d:\\autorun/bin"), 0);
  EXPECT_EQ(machine.current_folder(), "D:\\AUTORUN\\BIN");
  EXPECT_EQ(machine.set_drive('C'), 0);
  EXPECT_EQ(machine.current_folder(), "C:\\TEMP");
  EXPECT_TRUE(machine.file_info("D:setup.exe"));
  EXPECT_FALSE(machine.file_info("setup.exe"));
  EXPECT_EQ(machine.set_drive('D'), 0);
  EXPECT_TRUE(machine.file_info("setup.exe"));

  EXPECT_NE(machine.set_drive('X'), 0);
  EXPECT_NE(machine.change_folder("C:\\MISSING"), 0);
  EXPECT_NE(machine.change_folder("C:\\QOVEXEMF\\qovinst.dir"), 0);
  EXPECT_EQ(machine.current_folder(), "D:\\AUTORUN\\BIN");
  EXPECT_EQ(machine.current_host_folder(), m.host("d/AUTORUN/BIN"));

  EXPECT_EQ(machine.change_folder("\\\\srv\\qov"), 0);
  EXPECT_EQ(machine.current_folder(), "\\\\srv\\qov");
  EXPECT_TRUE(machine.file_info("\\file.txt"));
}

TEST_F(PosixMachineTest, NewNamesKeepTheCaseGivenBelowExistingFolders) {
  PosixMachine machine = machine_in("c/TEMP");
  EXPECT_EQ(machine.for_create("c:\\qovexemf\\Nova Pasta\\Novo.TXT").value_or(""),
            m.host("c/QOVEXEMF/Nova Pasta/Novo.TXT"));
  EXPECT_EQ(machine.for_create("C:\\QOVEXEMF\\QOVINST.DIR").value_or(""),
            m.host("c/QOVEXEMF/qovinst.dir"));
  EXPECT_FALSE(machine.for_create("Q:\\x"));
  EXPECT_FALSE(machine.for_create("C:\\a|b"));
  EXPECT_EQ(machine.drives(), "CD");
  m.make_folder("c/qov/b");
  m.make_folder("c/qov/A");
  m.write_file("c/qov/c.txt", "");
  EXPECT_EQ(machine.folders_in("C:\\QOV"), (std::vector<std::string>{"A", "b"}));
}

TEST_F(PosixMachineTest, FileInfoIsForExistingFilesOnly) {
  PosixMachine machine = machine_in("c/TEMP");
  m.write_file("c/empty.txt", "");
  std::optional<FileInfo> info = machine.file_info("C:\\QOVEXEMF\\QOVINST.DIR");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->size, 6u);
  EXPECT_GE(info->year, 2020);
  EXPECT_TRUE(machine.file_info("c:\\empty.txt"));
  EXPECT_FALSE(machine.file_info("C:\\QOVEXEMF"));
  EXPECT_FALSE(machine.file_info("C:\\missing.txt"));
  EXPECT_FALSE(machine.file_info("Q:\\QOVEXEMF\\qovinst.dir"));
}

TEST_F(PosixMachineTest, CopyReplacesTheTargetBesideItAndKeepsTheSource) {
  PosixMachine machine = machine_in("c/TEMP");
  m.write_file("c/Minha Pasta/qovrot.txt", "old");
  // A second name for the old target: replacing by rename leaves it alone.
  ASSERT_EQ(link(m.host("c/Minha Pasta/qovrot.txt").c_str(), m.host("c/old-link").c_str()), 0);
  m.write_file("d/QOVROT.TXT", std::string("new\0bytes\r\n", 11));

  EXPECT_EQ(machine.copy_file("D:\\QOVROT.TXT", "C:\\minha pasta\\QOVROT.TXT"), 0);
  EXPECT_EQ(m.read_file("c/Minha Pasta/qovrot.txt"), std::string("new\0bytes\r\n", 11));
  EXPECT_EQ(m.read_file("c/old-link"), "old");
  EXPECT_TRUE(m.exists("d/QOVROT.TXT"));
  EXPECT_EQ(std::distance(fs::directory_iterator(m.host("c/Minha Pasta")), {}), 1);
}

TEST_F(PosixMachineTest, FailedCopiesChangeNothing) {
  PosixMachine machine = machine_in("c/TEMP");
  m.write_file("c/TEMP/target.txt", "kept");
  EXPECT_NE(machine.copy_file("D:\\missing.txt", "C:\\TEMP\\target.txt"), 0);
  EXPECT_NE(machine.copy_file("D:\\AUTORUN", "C:\\TEMP\\target.txt"), 0);
  EXPECT_EQ(m.read_file("c/TEMP/target.txt"), "kept");
  EXPECT_NE(machine.copy_file("D:\\AUTORUN\\BIN\\setup.exe", "C:\\NEW\\setup.exe"), 0);
  EXPECT_FALSE(m.exists("c/NEW"));
  EXPECT_NE(machine.copy_file("D:\\AUTORUN\\BIN\\setup.exe", "X:\\setup.exe"), 0);
  EXPECT_NE(machine.copy_file("D:\\AUTORUN\\BIN\\setup.exe", "C:\\TEMP"), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(m.host("c/TEMP")), {}), 1);
}

TEST_F(PosixMachineTest, EnvironmentNamesIgnoreCase) {
  PosixMachine machine = machine_in("c/TEMP");
  machine.set_env("QovTestVar", "C:\\WINDOWS");
  EXPECT_EQ(machine.get_env("qovtestvar").value_or(""), "C:\\WINDOWS");
  machine.set_env("QOVTESTVAR", "C:\\WIN NT");
  EXPECT_EQ(std::getenv("QovTestVar"), std::string("C:\\WIN NT"));
  EXPECT_EQ(std::getenv("QOVTESTVAR"), nullptr);
  EXPECT_FALSE(machine.get_env("QOV_NO_SUCH_VARIABLE"));
  EXPECT_TRUE(machine.get_env("comspec"));
  unsetenv("QovTestVar");
}

TEST_F(PosixMachineTest, TheDefaultMachineHasTheHostRootAndAUserDrive) {
  testing::TempDir data;
  PosixMachine machine(posix::MachineMap::host_default(data.path()), m.host("d/AUTORUN"));
  std::string expected = "Z:" + fs::canonical(m.host("d/AUTORUN")).string();
  std::replace(expected.begin(), expected.end(), '/', '\\');
  EXPECT_EQ(machine.current_folder(), expected);
  EXPECT_FALSE(fs::exists(data.path() + "/c"));
  EXPECT_EQ(machine.change_folder("C:\\"), 0);
  EXPECT_TRUE(fs::is_directory(data.path() + "/c"));
  EXPECT_EQ(machine.drives(), "CZ");
}

TEST(PosixMachineWiring, AMachineThatIsNotAReadableFolderStopsTheRun) {
  testing::TempDir dir;
  testing::write_host_file(dir.path() + "/file", "x");
  for (std::string machine : {dir.path() + "/missing", dir.path() + "/file"}) {
    RunOptions o;
    o.machine = machine;
    o.cwd = dir.path();
    o.answers = "key 287\n";
    RunResult r = run_setup(o);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("QOV_MACHINE=" + machine + " is not a readable folder"), std::string::npos)
        << r.err;
    EXPECT_TRUE(calls_named(r.trace, "gui").empty());
  }
}

} // namespace
} // namespace qov
