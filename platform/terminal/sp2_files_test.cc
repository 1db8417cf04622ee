#include "platform/terminal/sp2_files.h"

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/bmp_file.h"
#include "tests/support/installer_run.h"

namespace qov::terminal {
namespace {

using qov::testing::bmp_24;
using qov::testing::TempDir;
using qov::testing::write_host_file;

class Sp2FilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    bin = dir.path() + "/CD/AutoRun/Bin";
    std::filesystem::create_directories(bin);
  }
  void TearDown() override { unsetenv("sp2cfg"); }

  void write(const std::string& name, const std::vector<uint8_t>& bytes) {
    write_host_file(bin + "/" + name, std::string(bytes.begin(), bytes.end()));
  }

  TempDir dir;
  std::string bin;
};

TEST_F(Sp2FilesTest, FindsTheFileAndBitmapsWhateverTheCaseOfTheirNames) {
  write_host_file(bin + "/QOVSP2.CFG", "bitmap cd_por.bmp Portugal\n");
  write("CD_POR.BMP", bmp_24(16, 32, [](int, int) { return Rgb{0, 128, 0}; }));
  setenv("sp2cfg", (dir.path() + "\\cd\\autorun\\bin\\qovsp2.cfg").c_str(), 1);
  Sp2Files files;
  EXPECT_EQ(files.config().caption("cd_por.bmp"), "Portugal");
  const CellPicture* p = files.picture("cd_por.bmp");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->columns, 2);
  EXPECT_EQ(p->rows, 2);
}

TEST_F(Sp2FilesTest, FallsBackWhenFilesAreMissingOrDamaged) {
  write("cd_ang.bmp", {'B', 'M', 1, 2, 3});
  setenv("sp2cfg", (bin + "/qovsp2.cfg").c_str(), 1);
  Sp2Files files;
  EXPECT_EQ(files.config().caption("cd_ang.bmp"), "cd_ang.bmp");
  EXPECT_EQ(files.picture("cd_ang.bmp"), nullptr);
  EXPECT_EQ(files.picture("cd_moc.bmp"), nullptr);
  EXPECT_EQ(files.picture("../Bin/cd_ang.bmp"), nullptr);
}

TEST_F(Sp2FilesTest, NothingIsFoundWithoutTheVariableOrItsFolder) {
  write("cd_por.bmp", bmp_24(8, 16, [](int, int) { return Rgb{}; }));
  unsetenv("sp2cfg");
  EXPECT_EQ(Sp2Files().picture("cd_por.bmp"), nullptr);
  setenv("sp2cfg", (dir.path() + "/elsewhere/qovsp2.cfg").c_str(), 1);
  EXPECT_EQ(Sp2Files().picture("cd_por.bmp"), nullptr);
}

TEST_F(Sp2FilesTest, TheFolderCanBeResolvedByTheMachine) {
  write_host_file(bin + "/qovsp2.cfg", "bitmap cd_por.bmp Portugal\n");
  setenv("sp2cfg", "D:\\autorun\\bin\\qovsp2.cfg", 1);
  std::string asked;
  Sp2Files files([&](const std::string& folder) -> std::optional<std::string> {
    asked = folder;
    return bin;
  });
  EXPECT_EQ(files.config().caption("CD_POR.BMP"), "Portugal");
  EXPECT_EQ(asked, "D:\\autorun\\bin\\");
}

} // namespace
} // namespace qov::terminal
