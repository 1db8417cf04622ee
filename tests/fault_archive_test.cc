// The installer from a CD whose archives go wrong: one vanishes or is
// damaged between two extractions, one is replaced by an unsafe archive, the
// CD lacks "utils\unzip.exe". The installation goes on as the flow does on
// quiet failures; every failure is reported; no file is left truncated and
// nothing is written outside the target folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include <unistd.h>

#include "platform/programs/zip_extractor.h"
#include "platform/programs/zip_writer.h"
#include "tests/support/fault_machine.h"

namespace qov::testing {
namespace {
namespace fs = std::filesystem;

const char* const kSecond = "d/portugal/mf/600/qov600_2.in@";
const char* const kSecondName = "D:\\portugal\\mf\\600\\qov600_2.in@";

// The files an archive of the demo CD holds, by path.
std::map<std::string, std::string> files_of(const std::string& archive) {
  TempDir work;
  EXPECT_EQ(extract_zip(archive, work.path() + "/x").code, kExtractOk) << archive;
  return files_below(work.path() + "/x");
}

// Paths the archives after the second one (or the copies) also write.
std::set<std::string> written_later() {
  std::set<std::string> later;
  for (const char* name : {"qov600_3.in@", "emp06000.in@"})
    for (const auto& [path, bytes] :
         files_of(std::string(QOV_DEMO_CD) + "/portugal/mf/600/" + name))
      later.insert(path);
  return later;
}

TEST(FaultArchive, ArchiveVanishedOrDamagedBetweenExtractions) {
  struct Case {
    const char* label;
    std::function<void(const std::string&)> harm;
    const char* reported;
  };
  const Case cases[] = {
      {"vanished", [](const std::string& p) { fs::remove(p); }, "missing archive"},
      {"truncated", [](const std::string& p) { fs::resize_file(p, fs::file_size(p) / 2); },
       "damaged archive"},
      {"corrupted",
       [](const std::string& p) {
         std::string bytes = read_host_file(p);
         for (std::size_t i = 40; i < 120 && i < bytes.size(); ++i)
           bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
         write_host_file(p, bytes);
       },
       "damaged archive"},
  };
  const auto& reference = reference_installation();
  const auto& versions = whole_versions();
  const auto second = files_of(std::string(QOV_DEMO_CD) + "/portugal/mf/600/qov600_2.in@");
  const std::set<std::string> later = written_later();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Scenario scenario;
    CdCopyMachine m;
    // An earlier installation's files where the second archive writes.
    for (const auto& [path, bytes] : second)
      m.write_file("c/QOV/EMPRESA/" + path, "old " + path);
    c.harm(m.host(kSecond));
    RunResult r = m.run(apl_answers());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Demo Qov: a correr em C:\\QOV\\EMPRESA"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(std::string("REREDODI: ") + kSecondName + ": " + c.reported),
              std::string::npos)
        << r.err;
    auto target = files_below(m.host("c/QOV/EMPRESA"));
    for (const auto& [path, bytes] : reference) {
      SCOPED_TRACE(path);
      ASSERT_EQ(target.count(path), 1u);
      if (second.count(path) == 0 || later.count(path) > 0)
        EXPECT_EQ(target[path], bytes); // the other archives were extracted whole
      else
        EXPECT_TRUE(target[path] == "old " + path || versions.at(path).count(target[path]) > 0)
            << target[path].size() << " bytes";
    }
    EXPECT_EQ(target.size(), reference.size()); // no temporary file left
    EXPECT_EQ(m.read_file("c/QOVEXEMF/qovinst.dir"), install_record("06.000", "C:\\QOV\\EMPRESA"));
  }
}

TEST(FaultArchive, CdWithoutUnzipExe) {
  Scenario scenario;
  CdCopyMachine m;
  fs::remove(m.host("d/utils/unzip.exe"));
  RunResult r = m.run(apl_answers());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Demo Qov: a correr em C:\\QOV\\EMPRESA"), std::string::npos) << r.out;
  EXPECT_FALSE(m.exists("c/QOVEXEMF/unzip.exe"));
  EXPECT_TRUE(m.exists("c/QOVEXEMF/QPRIMA32.DLL"));
  EXPECT_EQ(files_below(m.host("c/QOV/EMPRESA")), reference_installation());
  EXPECT_EQ(m.read_file("c/QOVEXEMF/qovinst.dir"), install_record("06.000", "C:\\QOV\\EMPRESA"));
}

// Replaces bytes of a file (same length) wherever they occur.
void patch(const std::string& path, const std::string& from, const std::string& to) {
  std::string bytes = read_host_file(path);
  for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1))
    bytes.replace(at, to.size(), to);
  write_host_file(path, bytes);
}

// A tampered CD: the second application archive is replaced by an unsafe
// one. It is refused whole, reported, and nothing lands outside the target.
TEST(FaultArchive, UnsafeArchivesOnTheCdAreRefusedWhole) {
  const std::string outside = "/tmp/qov-fault-evil-" + std::to_string(getpid());
  struct Case {
    const char* label;
    std::function<void(ZipWriter&)> add;
    std::function<void(const std::string&)> after = nullptr;
  };
  const Case cases[] = {
      {"dot-dot", [](ZipWriter& z) { z.add_file("../../evil.txt", "x"); }},
      {"backslash dot-dot", [](ZipWriter& z) { z.add_file("DADOS\\..\\..\\..\\evil.txt", "x"); }},
      {"absolute", [&](ZipWriter& z) { z.add_file(outside, "x"); }},
      {"rooted backslash", [](ZipWriter& z) { z.add_file("\\evil.txt", "x"); }},
      {"drive letter", [](ZipWriter& z) { z.add_file("C:evil.txt", "x"); }},
      {"NUL", [](ZipWriter& z) { z.add_file("evil@../../evil.txt", "x"); },
       [](const std::string& p) { patch(p, "evil@", std::string("evil\0", 5)); }},
      {"symlink", [](ZipWriter& z) { z.add_symlink("evil-link", "/etc"); }},
      // A ZIP file keeps the kind of an entry in its mode: the files'
      // 0100644 (bytes 00 00 a4 81 of the central directory) becomes a
      // character device's 0020644. (libarchive reads a fifo's mode as a
      // plain file's, and its ZIP writer keeps no hard links: neither can
      // reach the extractor as such.)
      {"device", [](ZipWriter& z) { z.add_file("evil-dev", "", ZipWriter::Method::kStored); },
       [](const std::string& p) {
         patch(p, std::string("\x00\x00\xa4\x81", 4), std::string("\x00\x00\xa4\x21", 4));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Scenario scenario;
    CdCopyMachine m;
    ZipWriter zip;
    ASSERT_TRUE(zip.open(m.host(kSecond))) << zip.error();
    zip.add_file("DADOS/comum/antes.dat", "an entry before the unsafe one");
    c.add(zip);
    zip.add_file("depois.dat", "an entry after it");
    ASSERT_TRUE(zip.close()) << zip.error();
    if (c.after)
      c.after(m.host(kSecond));

    RunResult r = m.run(apl_answers());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find(std::string("REREDODI: ") + kSecondName + ": unsafe archive"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(outside));
    for (const auto& e : fs::recursive_directory_iterator(m.root()))
      EXPECT_EQ(e.path().filename().string().find("evil"), std::string::npos) << e.path();
    EXPECT_FALSE(m.exists("c/QOV/EMPRESA/DADOS/comum/antes.dat"));
    EXPECT_FALSE(m.exists("c/QOV/EMPRESA/depois.dat"));
    if (!::testing::Test::HasFailure())
      add_to_figure("unsafe archive kinds refused", 1);
  }
  fs::remove(outside);
}

} // namespace
} // namespace qov::testing
