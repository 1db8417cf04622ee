// REREDODI on Windows: good archives, replacement, unsafe and damaged
// archives, and failures to write.
#include "platform/windows/zip_extractor.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "system/fixed_text.h"
#include "system/win1252.h"
#include "tests/windows/support/temp_folder.h"
#include "tests/windows/support/zip_maker.h"

namespace qov {
namespace {

using testing::exists;
using testing::make_zip;
using testing::read_file;
using testing::TempFolder;
using testing::write_file;
using testing::ZipItem;

std::string pattern(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; s.size() < n; ++i)
    s += "linha " + std::to_string(i * 7919 % 1000) + "\r\n";
  s.resize(n);
  return s;
}

std::size_t entries_in(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
  std::size_t n = 0;
  if (h == INVALID_HANDLE_VALUE)
    return 0;
  do
    n += std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0;
  while (FindNextFileA(h, &found));
  FindClose(h);
  return n;
}

TEST(ZipExtractor, ExtractsNestedFoldersIntoANewDestination) {
  TempFolder dir;
  std::string big = pattern(300000);
  write_file(dir / "app.zip", make_zip({{"QOVEXEMF/", "", false, 0x031e, 040755u << 16},
                                        {"QOVEXEMF/bin/SP2IMA32.DLL", big},
                                        {"leia.txt", "demo\r\n", false},
                                        {"vazio.txt", ""}}));
  std::string destination = dir / "novo\\fundo";
  std::string reason;
  ASSERT_EQ(extract_zip(dir / "app.zip", destination, &reason), kExtractOk) << reason;
  EXPECT_EQ(read_file(destination + "\\QOVEXEMF\\bin\\SP2IMA32.DLL"), big);
  EXPECT_EQ(read_file(destination + "\\leia.txt"), "demo\r\n");
  EXPECT_TRUE(exists(destination + "\\vazio.txt"));
  EXPECT_EQ(entries_in(destination), 3u);
}

TEST(ZipExtractor, ReplacesFilesAndMergesIntoAFolderOfAnotherCase) {
  TempFolder dir;
  testing::make_folder(dir / "qovexemf");
  write_file(dir / "qovexemf\\run.dll", "OLD");
  write_file(dir / "qovexemf\\kept.txt", "kept");
  write_file(dir / "rt.zip", make_zip({{"QOVEXEMF/RUN.DLL", "NEW"}}));
  std::string reason;
  ASSERT_EQ(extract_zip(dir / "rt.zip", dir.path(), &reason), kExtractOk) << reason;
  EXPECT_EQ(read_file(dir / "qovexemf\\run.dll"), "NEW");
  EXPECT_EQ(read_file(dir / "qovexemf\\kept.txt"), "kept");
  EXPECT_EQ(entries_in(dir / "qovexemf"), 2u) << "nothing left beside the files";
}

TEST(ZipExtractor, RefusesAnUnsafeArchiveWholeBeforeWritingAnything) {
  struct Case {
    std::string name;
    uint32_t external = 0100644u << 16;
  };
  const Case cases[] = {
      {"../evil.txt"},
      {"a/../../evil.txt"},
      {"a\\..\\..\\evil.txt"},
      {"/evil.txt"},
      {"\\evil.txt"},
      {"C:evil.txt"},
      {"C:\\evil.txt"},
      {std::string("a\0b.txt", 7)},
      {"link", 0120777u << 16},
      {"device", 0020644u << 16},
      {"CON"},
      {"dir/aux.txt"},
      {"a/.. /evil.txt"},
      {"evil.txt."},
      {"a/.../evil.txt"},
      {"file.txt:stream"},
  };
  for (const Case& c : cases) {
    TempFolder dir;
    write_file(dir / "bad.zip",
               make_zip({{"good.txt", "good"}, {c.name, "evil", true, 0x031e, c.external}}));
    std::string reason;
    EXPECT_EQ(extract_zip(dir / "bad.zip", dir / "out", &reason), kExtractUnsafeArchive) << c.name;
    EXPECT_NE(reason.find("unsafe"), std::string::npos) << reason;
    EXPECT_FALSE(exists(dir / "out")) << c.name;
    EXPECT_EQ(entries_in(dir.path()), 1u) << c.name;
  }
}

TEST(ZipExtractor, ADamagedArchiveLeavesTheOldFileWhole) {
  std::string good = make_zip({{"first.txt", "first"}, {"file.txt", pattern(5000), false}});
  std::string flipped = good;
  flipped[good.find("linha") + 100] ^= 0x55; // stored data: CRC mismatch
  std::string inflated = make_zip({{"file.txt", pattern(200000)}});
  std::string bad_deflate = inflated;
  for (std::size_t i = 60; i < 400; ++i)
    bad_deflate[i] = static_cast<char>(0xff);
  const std::pair<const char*, std::string> cases[] = {
      {"cut short", good.substr(0, good.size() / 2)},
      {"stored data changed", flipped},
      {"compressed data changed", bad_deflate},
      {"not an archive", "MZ this is not a ZIP archive at all"},
      {"empty", ""},
  };
  for (const auto& [what, bytes] : cases) {
    TempFolder dir;
    write_file(dir / "file.txt", "old");
    write_file(dir / "bad.zip", bytes);
    std::string reason;
    EXPECT_EQ(extract_zip(dir / "bad.zip", dir.path(), &reason), kExtractDamagedArchive) << what;
    EXPECT_FALSE(reason.empty()) << what;
    EXPECT_EQ(read_file(dir / "file.txt"), "old") << what;
    EXPECT_FALSE(exists(dir / "file.txt.qov-part")) << what;
  }
}

TEST(ZipExtractor, TellsAMissingArchiveAndAFailureToWrite) {
  TempFolder dir;
  std::string reason;
  EXPECT_EQ(extract_zip(dir / "none.zip", dir.path(), &reason), kExtractMissingArchive);
  EXPECT_EQ(extract_zip(dir.path(), dir / "x", &reason), kExtractMissingArchive)
      << "a folder is not an archive";

  write_file(dir / "a.zip", make_zip({{"x.txt", "x"}}));
  write_file(dir / "plain", "a file");
  EXPECT_EQ(extract_zip(dir / "a.zip", dir / "plain\\sub", &reason), kExtractWriteFailure);
  testing::make_folder(dir / "x.txt"); // a folder where the file should go
  EXPECT_EQ(extract_zip(dir / "a.zip", dir.path(), &reason), kExtractWriteFailure);
}

// The codes the Linux build gives for the same blocks: a destination on no
// drive (checked before the archive is read), a function other than "UNZ".
TEST(ZipExtractor, TellsAnUnreachableDestinationAndAnUnknownFunction) {
  TempFolder dir;
  write_file(dir / "a.zip", make_zip({{"x.txt", "x"}}));
  write_file(dir / "bad.zip", "PK not really");
  std::string reason;
  EXPECT_EQ(extract_zip(dir / "a.zip", "Q:\\QOV", &reason), kExtractNoDestination);
  EXPECT_EQ(reason, "destination unreachable: \"Q:\\QOV\"");
  EXPECT_EQ(extract_zip(dir / "bad.zip", "Q:\\QOV", &reason), kExtractNoDestination);
  EXPECT_EQ(extract_zip(dir / "a.zip", "", &reason), kExtractNoDestination);

  ExtractionBlock block{};
  std::memcpy(block.function, "ZIP", 3);
  set_text(block.archive, dir / "a.zip");
  set_text(block.destination, dir / "out");
  std::string error;
  EXPECT_EQ(ZipExtractor().extract(block, &error), kExtractUnknownFunction);
  EXPECT_EQ(error, "unknown function: \"ZIP\"");
  EXPECT_FALSE(exists(dir / "out"));
}

TEST(ZipExtractor, TakesWindows1252NamesFromItsBlockAndReportsFailures) {
  TempFolder dir;
  write_file(dir / "pt.zip", make_zip({{"leia.txt", "ok"}}));
  ExtractionBlock block{};
  std::memcpy(block.function, "UNZ", 3);
  set_text(block.archive, dir / "pt.zip");
  set_text(block.destination, dir.path() + "\\" + w1252("Moçambique"));
  std::string error;
  ZipExtractor extractor;
  EXPECT_EQ(extractor.extract(block, &error), kExtractOk);
  EXPECT_TRUE(error.empty());
  EXPECT_NE(GetFileAttributesW((std::wstring(dir.path().begin(), dir.path().end()) +
                                L"\\Mo\u00e7ambique\\leia.txt")
                                   .c_str()),
            INVALID_FILE_ATTRIBUTES);

  set_text(block.archive, dir / "gone.zip");
  EXPECT_EQ(extractor.extract(block, &error), kExtractMissingArchive);
  EXPECT_NE(error.find("no such archive"), std::string::npos) << error;
}

} // namespace
} // namespace qov
