#include "platform/programs/zip_extractor.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/programs/reredodi_test_machine.h"
#include "platform/programs/zip_writer.h"

namespace qov {
namespace {

using testing::read_all;
using testing::TempFolder;
using testing::tree_of;
using testing::write_all;
namespace fs = std::filesystem;

void make_zip(const fs::path& path, const std::function<void(ZipWriter&)>& fill) {
  ZipWriter zip;
  ASSERT_TRUE(zip.open(path.string())) << zip.error();
  fill(zip);
  ASSERT_TRUE(zip.close()) << zip.error();
}

// Replaces every occurrence of a byte string in a file (same length).
void patch(const fs::path& path, const std::string& from, const std::string& to) {
  std::string bytes = read_all(path);
  size_t hits = 0;
  for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1), ++hits)
    bytes.replace(at, to.size(), to);
  ASSERT_GT(hits, 0u);
  write_all(path, bytes);
}

// Data that deflate cannot shrink much, so that it fills many blocks.
std::string noise(size_t size, uint32_t seed) {
  std::string s(size, '\0');
  for (char& c : s) {
    seed = seed * 1103515245 + 12345;
    c = static_cast<char>(seed >> 16);
  }
  return s;
}

class ZipExtractorTest : public ::testing::Test {
protected:
  fs::path archive() const { return temp_.path() / "archive.zip"; }
  fs::path dest() const { return temp_.path() / "drive" / "dest"; }
  ExtractOutcome extract() { return extract_zip(archive().string(), dest().string()); }

  TempFolder temp_;
};

TEST_F(ZipExtractorTest, ExtractsNestedFoldersIntoAMissingDestination) {
  make_zip(archive(), [](ZipWriter& z) {
    z.add_file("QOVEXEMF/SP2IMA32.DLL", "stored dll", ZipWriter::Method::kStored);
    z.add_file("dados/2024/janeiro/caixa.dat", std::string(5000, 'x'));
    z.add_file("win\\sub\\back.txt", "backslashes are folders");
    z.add_folder("vazio/");
  });
  ExtractOutcome out = extract();
  ASSERT_EQ(out.code, kExtractOk) << out.reason;
  EXPECT_EQ(read_all(dest() / "QOVEXEMF/SP2IMA32.DLL"), "stored dll");
  EXPECT_EQ(read_all(dest() / "dados/2024/janeiro/caixa.dat"), std::string(5000, 'x'));
  EXPECT_EQ(read_all(dest() / "win/sub/back.txt"), "backslashes are folders");
  EXPECT_EQ(tree_of(dest()),
            (std::vector<std::string>{"QOVEXEMF", "QOVEXEMF/SP2IMA32.DLL", "dados", "dados/2024",
                                      "dados/2024/janeiro", "dados/2024/janeiro/caixa.dat", "vazio",
                                      "win", "win/sub", "win/sub/back.txt"}));
}

TEST_F(ZipExtractorTest, ReplacesFilesAndMergesIntoFoldersOfAnotherCase) {
  write_all(dest() / "qovexemf/Sp2Ima32.dll", "old dll");
  write_all(dest() / "qovexemf/keep.txt", "untouched");
  write_all(dest() / "qov.bat", "old batch");
  make_zip(archive(), [](ZipWriter& z) {
    z.add_file("QOVEXEMF\\SP2IMA32.DLL", "new dll");
    z.add_file("QOVEXEMF/Novo/x.txt", "new folder inside the old one");
    z.add_file("QOV.BAT", "new batch");
  });
  ExtractOutcome out = extract();
  ASSERT_EQ(out.code, kExtractOk) << out.reason;
  EXPECT_EQ(tree_of(dest()),
            (std::vector<std::string>{"qov.bat", "qovexemf", "qovexemf/Novo", "qovexemf/Novo/x.txt",
                                      "qovexemf/Sp2Ima32.dll", "qovexemf/keep.txt"}));
  EXPECT_EQ(read_all(dest() / "qovexemf/Sp2Ima32.dll"), "new dll");
  EXPECT_EQ(read_all(dest() / "qovexemf/keep.txt"), "untouched");
  EXPECT_EQ(read_all(dest() / "qov.bat"), "new batch");
}

struct UnsafeCase {
  const char* label;
  std::function<void(const fs::path&)> make;
};

void with_bad_entry(const fs::path& path, const std::function<void(ZipWriter&)>& bad) {
  make_zip(path, [&](ZipWriter& z) {
    z.add_file("good.txt", "written before the bad entry");
    bad(z);
    z.add_file("after.txt", "written after it");
  });
}

std::function<void(const fs::path&)> named(std::string name) {
  return [name](const fs::path& p) {
    with_bad_entry(p, [&](ZipWriter& z) { z.add_file(name, "escape attempt"); });
  };
}

TEST_F(ZipExtractorTest, RefusesEveryUnsafeArchiveBeforeWritingAnything) {
  const UnsafeCase cases[] = {
      {"dot-dot", named("../evil.txt")},
      {"dot-dot inside", named("a/b/../../../evil.txt")},
      {"backslash dot-dot", named("..\\evil.txt")},
      {"backslash dot-dot inside", named("a\\..\\..\\evil.txt")},
      {"leading slash", named("/tmp/evil.txt")},
      {"leading backslash", named("\\evil.txt")},
      {"drive letter", named("C:evil.txt")},
      {"drive and root", named("c:\\windows\\evil.txt")},
      {"only separators", named("./")},
      {"NUL",
       [](const fs::path& p) {
         with_bad_entry(p, [](ZipWriter& z) { z.add_file("keep@../../evil.txt", "x"); });
         patch(p, "keep@", std::string("keep\0", 5));
       }},
      {"symlink",
       [](const fs::path& p) {
         with_bad_entry(p, [](ZipWriter& z) { z.add_symlink("link", "/etc"); });
       }},
      {"device",
       [](const fs::path& p) {
         make_zip(p, [](ZipWriter& z) {
           z.add_folder("antes/");
           z.add_file("dev", "", ZipWriter::Method::kStored);
         });
         // The one file's mode in the central directory (0100644 << 16)
         // becomes a character device's (0020644 << 16).
         patch(p, std::string("\x00\x00\xa4\x81", 4), std::string("\x00\x00\xa4\x21", 4));
       }},
  };
  for (const UnsafeCase& c : cases) {
    SCOPED_TRACE(c.label);
    TempFolder sandbox;
    fs::path path = sandbox.path() / "hostile.zip";
    c.make(path);
    ExtractOutcome out = extract_zip(path.string(), (sandbox.path() / "dest").string());
    EXPECT_EQ(out.code, kExtractUnsafeArchive) << out.reason;
    EXPECT_EQ(out.reason.rfind("unsafe archive: ", 0), 0u) << out.reason;
    EXPECT_EQ(tree_of(sandbox.path()), std::vector<std::string>{"hostile.zip"});
  }
}

TEST_F(ZipExtractorTest, DamagedArchivesLeaveTheOldFileInPlace) {
  struct Damage {
    const char* label;
    ZipWriter::Method method;
    std::function<void(std::string&)> harm;
  };
  const Damage cases[] = {
      {"truncated", ZipWriter::Method::kDeflated, [](std::string& b) { b.resize(b.size() / 2); }},
      {"corrupted deflate", ZipWriter::Method::kDeflated,
       [](std::string& b) { b.replace(b.size() / 2, 64, std::string(64, '\x55')); }},
      {"corrupted stored", ZipWriter::Method::kStored,
       [](std::string& b) { b[b.size() / 2] ^= 0x01; }},
      {"not a zip", ZipWriter::Method::kStored, [](std::string& b) { b = "MZ not an archive"; }},
  };
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(dest());
    write_all(dest() / "big.bin", "the good old file");
    make_zip(archive(), [&](ZipWriter& z) { z.add_file("BIG.BIN", noise(1 << 20, 7), c.method); });
    std::string bytes = read_all(archive());
    c.harm(bytes);
    write_all(archive(), bytes);

    ExtractOutcome out = extract();
    EXPECT_EQ(out.code, kExtractDamagedArchive) << out.reason;
    EXPECT_EQ(tree_of(dest()), std::vector<std::string>{"big.bin"});
    EXPECT_EQ(read_all(dest() / "big.bin"), "the good old file");
  }
}

TEST_F(ZipExtractorTest, MissingArchiveCreatesNothing) {
  ExtractOutcome out = extract();
  EXPECT_EQ(out.code, kExtractMissingArchive);
  EXPECT_EQ(tree_of(temp_.path()), std::vector<std::string>{});
}

TEST_F(ZipExtractorTest, FilesAndLinksInTheWayOfAFolderAreWriteFailures) {
  write_all(dest() / "dados", "a file, not a folder");
  fs::create_directories(temp_.path() / "outside");
  fs::create_directory_symlink(temp_.path() / "outside", dest() / "saida");
  for (const char* name : {"DADOS/x.dat", "SAIDA/x.dat"}) {
    SCOPED_TRACE(name);
    make_zip(archive(), [&](ZipWriter& z) { z.add_file(name, "x"); });
    EXPECT_EQ(extract().code, kExtractWriteFailure);
  }
  EXPECT_EQ(read_all(dest() / "dados"), "a file, not a folder");
  EXPECT_TRUE(fs::is_empty(temp_.path() / "outside"));
}

class RecordingProgress : public ExtractionProgress {
public:
  void begin(const std::string& archive, uint64_t total) override {
    log += "begin " + archive + " " + std::to_string(total) + ";";
  }
  void advance(uint64_t done) override { last_done = done; }
  void end() override { log += "end;"; }
  void failure(const std::string& archive, const std::string& reason) override {
    log += "failure " + archive + " " + reason.substr(0, reason.find(':')) + ";";
  }
  std::string log;
  uint64_t last_done = 0;
};

TEST_F(ZipExtractorTest, TellsTheProgressSinkHowFarItGot) {
  make_zip(archive(), [](ZipWriter& z) {
    z.add_file("a.bin", noise(300000, 1));
    z.add_file("b/c.bin", noise(1000, 2), ZipWriter::Method::kStored);
  });
  RecordingProgress progress;
  ASSERT_EQ(extract_zip(archive().string(), dest().string(), &progress, "D:\\x.in@").code,
            kExtractOk);
  EXPECT_EQ(progress.log, "begin D:\\x.in@ 301000;end;");
  EXPECT_EQ(progress.last_done, 301000u);

  RecordingProgress missing;
  extract_zip((temp_.path() / "none.zip").string(), dest().string(), &missing, "D:\\none.in@");
  EXPECT_EQ(missing.log, "failure D:\\none.in@ missing archive;");
}

} // namespace
} // namespace qov
