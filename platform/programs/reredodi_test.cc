#include "platform/programs/reredodi.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/programs/reredodi_test_machine.h"
#include "platform/programs/zip_extractor.h"
#include "platform/programs/zip_writer.h"
#include "system/fixed_text.h"
#include "system/win1252.h"

namespace qov {
namespace {

using testing::FolderMachine;
using testing::read_all;
using testing::TempFolder;
using testing::write_all;
namespace fs = std::filesystem;

class CountingProgress : public ExtractionProgress {
public:
  void begin(const std::string&, uint64_t) override {}
  void advance(uint64_t) override {}
  void end() override {}
  void failure(const std::string& archive, const std::string& reason) override {
    failures.push_back(archive + " | " + reason);
  }
  std::vector<std::string> failures;
};

class ReredodiTest : public ::testing::Test {
protected:
  ReredodiTest() {
    fs::create_directories(temp_.path() / "c");
    fs::create_directories(temp_.path() / "d" / "RUNTIMES");
    ZipWriter zip;
    zip.open((temp_.path() / "d/RUNTIMES/QovExeMf.EX@").string());
    zip.add_file("QOVEXEMF\\SP2IMA32.DLL", "demo dll");
    zip.close();
  }

  int32_t call(const std::string& archive, const std::string& destination) {
    ExtractionBlock block{};
    std::memcpy(block.function, "UNZ", 3);
    set_text(block.archive, w1252(archive));
    set_text(block.destination, w1252(destination));
    block.mode[0] = '2';
    ::testing::internal::CaptureStderr();
    int32_t result = reredodi_.extract(block, &error_);
    stderr_ = ::testing::internal::GetCapturedStderr();
    return result;
  }

  TempFolder temp_;
  FolderMachine machine_{temp_.path()};
  CountingProgress progress_;
  ReredodiExtractor reredodi_{machine_, &progress_};
  std::string error_ = "not cleared";
  std::string stderr_;
};

TEST_F(ReredodiTest, ResolvesWindowsNamesAndCreatesTheDestination) {
  ASSERT_EQ(call("D:\\runtimes\\qovexemf.ex@", "c:\\"), kExtractOk) << stderr_;
  EXPECT_EQ(read_all(temp_.path() / "c/QOVEXEMF/SP2IMA32.DLL"), "demo dll");
  ASSERT_EQ(call("D:\\RUNTIMES\\QOVEXEMF.EX@", "C:\\QOV\\EMPRESA"), kExtractOk) << stderr_;
  EXPECT_EQ(read_all(temp_.path() / "c/QOV/EMPRESA/QOVEXEMF/SP2IMA32.DLL"), "demo dll");
  EXPECT_EQ(error_, "");
  EXPECT_EQ(stderr_, "");
  EXPECT_TRUE(progress_.failures.empty());
}

TEST_F(ReredodiTest, ReportsEveryFailureOnStderrInTheErrorAndToTheProgressSink) {
  write_all(temp_.path() / "d/RUNTIMES/broken.co@", "PK not really");
  ZipWriter hostile;
  hostile.open((temp_.path() / "d/RUNTIMES/hostile.co@").string());
  hostile.add_file("..\\..\\evil.txt", "x");
  hostile.close();
  struct Case {
    const char* archive;
    const char* destination;
    int32_t code;
    const char* reason;
  };
  const Case cases[] = {
      {"D:\\runtimes\\qovexerm.co@", "c:\\", kExtractMissingArchive, "missing archive: not found"},
      {"D:\\runtimes\\broken.co@", "c:\\", kExtractDamagedArchive, "damaged archive: "},
      {"D:\\runtimes\\hostile.co@", "c:\\", kExtractUnsafeArchive, "unsafe archive: "},
      {"D:\\runtimes\\qovexemf.ex@", "Q:\\QOV", kExtractNoDestination,
       "destination unreachable: \"Q:\\QOV\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.archive);
    progress_.failures.clear();
    EXPECT_EQ(call(c.archive, c.destination), c.code);
    EXPECT_EQ(error_.rfind(c.reason, 0), 0u) << error_;
    EXPECT_EQ(stderr_, std::string("REREDODI: ") + c.archive + ": " + error_ + "\n");
    ASSERT_EQ(progress_.failures.size(), 1u);
    EXPECT_EQ(progress_.failures[0], std::string(c.archive) + " | " + error_);
  }
  EXPECT_FALSE(fs::exists(temp_.path() / "evil.txt"));
  EXPECT_TRUE(fs::is_empty(temp_.path() / "c"));
}

TEST_F(ReredodiTest, ArchiveNamesInWindows1252ReachTheReportAsUtf8) {
  EXPECT_EQ(call("D:\\runtimes\\Versão.co@", "c:\\"), kExtractMissingArchive);
  EXPECT_EQ(stderr_, "REREDODI: D:\\runtimes\\Versão.co@: missing archive: not found\n");
}

} // namespace
} // namespace qov
