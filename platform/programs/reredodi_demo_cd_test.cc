// The demo CD that the build writes, seen through REREDODI as the installer
// sees it: drive D: is the CD.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/programs/reredodi.h"
#include "platform/programs/reredodi_test_machine.h"
#include "platform/programs/zip_extractor.h"
#include "system/fixed_text.h"

namespace qov {
namespace {

using testing::FolderMachine;
using testing::read_all;
using testing::TempFolder;
namespace fs = std::filesystem;

class DemoCdTest : public ::testing::Test {
protected:
  DemoCdTest() {
    fs::create_directories(temp_.path() / "c");
    fs::create_directory_symlink(QOV_DEMO_CD, temp_.path() / "d");
  }

  int32_t extract(const std::string& archive, const std::string& destination) {
    ExtractionBlock block{};
    std::memcpy(block.function, "UNZ", 3);
    set_text(block.archive, archive);
    set_text(block.destination, destination);
    std::string error;
    int32_t result = reredodi_.extract(block, &error);
    EXPECT_EQ(error, "") << archive;
    return result;
  }

  fs::path c() const { return temp_.path() / "c"; }

  TempFolder temp_;
  FolderMachine machine_{temp_.path()};
  ReredodiExtractor reredodi_{machine_};
};

TEST_F(DemoCdTest, RunTimeArchivesCreateTheRunTimeFolders) {
  for (const char* archive :
       {"D:\\runtimes\\qovexemf.ex@", "D:\\runtimes\\qovexemf.co@", "D:\\runtimes\\qovexerm.co@"})
    EXPECT_EQ(extract(archive, "c:\\"), kExtractOk) << archive;
  for (const char* folder : {"c:\\qovexemf\\", "c:\\qovexerm\\"})
    for (const char* dll : {"SP2IMA32.DLL", "SP2TVW32.DLL", "SP2OCX32.DLL"})
      EXPECT_TRUE(machine_.existing(std::string(folder) + dll)) << folder << dll;
}

TEST_F(DemoCdTest, ApplicationArchivesOfAplAndPosExtractWithTheirBatchFiles) {
  struct Choice {
    const char* batch;
    std::vector<std::string> archives;
    std::vector<std::string> copied; // QOVROT.TXT and the ".doc" files
  };
  const Choice choices[] = {
      {"qov.bat",
       {"D:\\portugal\\mf\\600\\qov600_1.in@", "D:\\portugal\\mf\\600\\qov600_2.in@",
        "D:\\portugal\\mf\\600\\qov600_3.in@", "D:\\portugal\\mf\\600\\emp06000.in@"},
       {"D:\\portugal\\mf\\600\\QOVROT.TXT", "D:\\portugal\\mf\\600\\qov600.doc",
        "D:\\portugal\\mf\\600\\emp06000.doc"}},
      {"posto.bat",
       {"D:\\angola\\rm\\520\\pos600_1.co@", "D:\\angola\\rm\\600\\qov600_2.co@",
        "D:\\angola\\rm\\600\\qov600_3.co@", "D:\\angola\\rm\\600\\emp06001.co@",
        "D:\\angola\\rm\\520\\pos06001.c1@", "D:\\angola\\rm\\520\\fac06001.c1@",
        "D:\\angola\\rm\\520\\fac06001.c2@", "D:\\angola\\rm\\520\\fac06001.c3@"},
       {"D:\\angola\\rm\\600\\QOVROT.TXT", "D:\\angola\\rm\\520\\pos06001.doc",
        "D:\\angola\\rm\\600\\emp06001.doc"}},
  };
  for (const Choice& choice : choices) {
    SCOPED_TRACE(choice.batch);
    fs::remove_all(c() / "QOV");
    for (const std::string& archive : choice.archives)
      EXPECT_EQ(extract(archive, "C:\\QOV\\EMPRESA"), kExtractOk) << archive;
    for (const std::string& file : choice.copied)
      EXPECT_TRUE(machine_.existing(file)) << file;
    auto batch = machine_.existing(std::string("C:\\QOV\\EMPRESA\\") + choice.batch);
    ASSERT_TRUE(batch);
    std::string text = read_all(*batch);
    EXPECT_NE(text.find("%CD%"), std::string::npos) << text;
    EXPECT_NE(text.find("cobdir=%cobdir%"), std::string::npos) << text;
  }
}

TEST_F(DemoCdTest, AutorunHoldsTheProgramsAndEveryBitmapWithACaption) {
  for (const char* file : {"setup.exe", "comdlg32.ocx", "mvzipunz.ocx", "qovqpr.cfg"})
    EXPECT_TRUE(machine_.existing(std::string("D:\\autorun\\bin\\") + file)) << file;
  EXPECT_TRUE(machine_.existing("D:\\utils\\unzip.exe"));
  auto config = machine_.existing("D:\\autorun\\bin\\qovsp2.cfg");
  ASSERT_TRUE(config);
  const std::string captions = read_all(*config);
  for (const char* bitmap :
       {"cd_qov.bmp",   "cd_inst.bmp", "btngrd.bmp",   "cd_copia.bmp", "cd_sair.bmp",
        "cdopc_po.bmp", "btnmed.bmp",  "cdopc_ap.bmp", "cdopc_ru.bmp", "cdopc_sa.bmp",
        "cd_loca.bmp",  "cd_por.bmp",  "cd_ang.bmp",   "cd_moc.bmp",   "cd_vr489.bmp",
        "cd_ling.bmp",  "cd_mf.bmp",   "cd_rm.bmp",    "cd_actu.bmp",  "cd_ver51.bmp",
        "cd_ver60.bmp", "PEQVER2.bmp", "PEQOK.BMP",    "PEQCAN.BMP"}) {
    auto file = machine_.existing(std::string("D:\\AUTORUN\\BIN\\") + bitmap);
    ASSERT_TRUE(file) << bitmap;
    EXPECT_EQ(read_all(*file).substr(0, 2), "BM") << bitmap;
    EXPECT_NE(captions.find(std::string("\nbitmap ") + bitmap + " "), std::string::npos) << bitmap;
  }
  EXPECT_NE(captions.find("bitmap cd_moc.bmp Mo\xe7"
                          "ambique\n"),
            std::string::npos);
}

} // namespace
} // namespace qov
