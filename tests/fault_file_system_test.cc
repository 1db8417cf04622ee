// The installer on file systems that refuse writes: drive C: read-only, the
// target folder on a full file system, the register on a full drive C:.
// Afterwards the run has ended as the flow goes on quiet failures, the
// register is unchanged or holds the new record whole, and no file is left
// truncated where a good one was.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/fault_machine.h"

namespace qov::testing {
namespace {
namespace fs = std::filesystem;

void make_unwritable(const std::string& folder) {
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder))
    fs::permissions(e.path(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

bool has_trace(const RunResult& r, const std::string& op, const std::string& status) {
  for (const TraceEntry& e : calls_named(r.trace, "record_file"))
    if (e["op"] == op && e["status"] == status)
      return true;
  return false;
}

// A second installation onto a machine whose drive C: has become read-only:
// nothing on C: changes, the register included, every failed extraction is
// reported, and the run still ends by starting the product's batch file
// that the first installation left.
TEST(FaultFileSystem, ReadOnlyDriveCChangesNothing) {
  CdCopyMachine m;
  ASSERT_EQ(m.run(apl_answers()).status, 0);
  const auto before = files_below(m.host("c"));
  ASSERT_EQ(before.count("QOVEXEMF/qovinst.dir"), 1u);

  std::optional<Mount> read_only;
  if (Mount::available()) {
    read_only.emplace(Mount::read_only(m.host("c")));
    ASSERT_TRUE(read_only->ok());
  } else if (geteuid() != 0) {
    make_unwritable(m.host("c"));
  } else {
    GTEST_SKIP() << "running as root without mounts: permission bits do not stop root's writes";
  }
  Scenario scenario;
  RunResult r = m.run(apl_answers("C:\\QOV\\EMPRESA", true));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Demo Qov: a correr em C:\\QOV\\EMPRESA"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("REREDODI: D:\\runtimes\\qovexemf.ex@: write failure"), std::string::npos)
      << r.err;
  EXPECT_TRUE(has_trace(r, "open-update", "37"));
  EXPECT_EQ(files_below(m.host("c")), before);
}

// The target folder on a file system with almost no room: every file of the
// target is the old one or a whole file of one of the archives, never a part,
// nothing else is left there, and the register on C: holds the new record.
TEST(FaultFileSystem, FullTargetFileSystemLeavesOldOrWholeFiles) {
  CdCopyMachine m;
  const auto& reference = reference_installation();
  const auto& versions = whole_versions();
  ASSERT_FALSE(reference.empty());
  const std::map<std::string, std::string> old = {
      {"qov.bat", "@echo uma versao antiga\r\n"},
      {"LEIAME.TXT", "versao antiga"},
      {"DADOS/comum/qov600_1.dat", std::string(3000, 'a')},
  };
  std::optional<Mount> small;
  std::optional<FileSizeLimit> limit;
  if (Mount::available()) {
    small.emplace(Mount::tmpfs(m.host("e"), 64 * 1024));
    ASSERT_TRUE(small->ok());
  }
  for (const auto& [path, bytes] : old)
    m.write_file("e/QOV/EMPRESA/" + path, bytes);
  if (small) {
    // Two pages left: a few new files fit, then the file system is full.
    fill_file_system(m.host("e"));
    fs::resize_file(m.host("e/.filler"), fs::file_size(m.host("e/.filler")) - 8192);
  } else {
    limit.emplace(100); // every file of the archives is longer
  }
  Scenario scenario;
  RunResult r = m.run(apl_answers("E:\\QOV\\EMPRESA"), !limit);
  limit.reset();
  EXPECT_LT(r.status, 128) << r.err;
  if (small) { // under the size limit the report itself is cut
    EXPECT_NE(r.err.find("write failure"), std::string::npos) << r.err;
  }

  std::size_t whole = 0;
  for (const auto& [path, bytes] : files_below(m.host("e/QOV/EMPRESA"))) {
    SCOPED_TRACE(path);
    auto ref = reference.find(path);
    auto was = old.find(path);
    auto whole_ones = versions.find(path);
    bool is_whole = whole_ones != versions.end() && whole_ones->second.count(bytes) > 0;
    bool is_old = was != old.end() && bytes == was->second;
    EXPECT_TRUE(is_whole || is_old) << bytes.size() << " bytes";
    whole += ref != reference.end() && bytes == ref->second;
  }
  EXPECT_LT(whole, reference.size()); // the file system did run full
  EXPECT_EQ(m.read_file("c/QOVEXEMF/qovinst.dir"), install_record("06.000", "E:\\QOV\\EMPRESA"));
}

// The register on a full drive C:, in record form and as lines ending in LF:
// the new record's write cannot complete (it would need a new page, or pass
// the size limit), and the register keeps its records, whole.
TEST(FaultFileSystem, FullDriveCKeepsTheRegisterWhole) {
  struct Case {
    const char* label;
    bool lf_lines;
  };
  for (const Case& c : {Case{"record form", false}, Case{"LF lines", true}}) {
    SCOPED_TRACE(c.label);
    CdCopyMachine m;
    std::optional<Mount> small;
    std::optional<FileSizeLimit> limit;
    if (Mount::available()) {
      small.emplace(Mount::tmpfs(m.host("c"), 256 * 1024));
      ASSERT_TRUE(small->ok());
      m.write_file("c/WINDOWS/system32/msvcrt.dll", "demo msvcrt");
    }
    // 51 records: 4,080 bytes, so that the next record would cross into a
    // second page.
    std::string bytes;
    for (int i = 0; i < 51; ++i) {
      std::string r = install_record("06.000", "D:\\APP\\" + std::to_string(i));
      bytes += c.lf_lines ? r.substr(0, 78) + "\n" : r;
    }
    m.write_file("c/qovexemf/qovinst.dir", bytes);
    if (small)
      fill_file_system(m.host("c"));
    else
      limit.emplace(4090);
    Scenario scenario;
    RunResult r = m.run(apl_answers("C:\\QOV\\EMPRESA", true), !limit);
    limit.reset();
    EXPECT_LT(r.status, 128) << r.err;
    std::string after = m.read_file("c/qovexemf/qovinst.dir");
    std::vector<std::string> records = register_records(bytes);
    std::vector<std::string> with_new = records;
    with_new.push_back(install_record("06.000", "C:\\QOV\\EMPRESA"));
    // Unchanged, or written again in record form with the same records, or
    // with the new record added whole.
    EXPECT_TRUE(after == bytes || (in_record_form(after) && (register_records(after) == records ||
                                                             register_records(after) == with_new)))
        << after.size() << " bytes";
    add_to_figure("records checked", static_cast<long long>(records.size()));
    std::size_t lost = 0;
    for (const std::string& rec : valid_records(records))
      lost += std::find(with_new.begin(), with_new.end(), rec) == with_new.end() ||
              register_records(after).end() ==
                  std::find(register_records(after).begin(), register_records(after).end(), rec);
    add_to_figure("records lost", static_cast<long long>(lost));
    EXPECT_EQ(lost, 0u);
  }
}

} // namespace
} // namespace qov::testing
