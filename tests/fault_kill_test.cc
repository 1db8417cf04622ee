// record_installation killed at each of its record-file operations in turn.
// A child process runs it on a real register over a temporary machine and
// ends abruptly (_exit) just before operation N. Afterwards the register
// reads without error, holds every installation recorded before (the one
// being replaced either old or new, whole), and an installation run again
// completes with the new record exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

#include "app/main_flow.h"
#include "install/install_choices.h"
#include "install/install_register.h"
#include "platform/posix/machine_map.h"
#include "platform/posix/posix_machine.h"
#include "platform/posix/record_file.h"
#include "system/fixed_text.h"
#include "tests/support/fault_machine.h"

namespace qov::testing {
namespace {

constexpr int kKilled = 77;
long g_operations = 0;
long g_kill_at = 0; // 0: never

void count_operation() {
  if (++g_operations == g_kill_at)
    _exit(kKilled);
}

class KillingRecordFile : public RecordFile {
public:
  explicit KillingRecordFile(std::unique_ptr<RecordFile> file) : file_(std::move(file)) {}
  RecordStatus open(const std::string& name, OpenMode mode) override {
    count_operation();
    return file_->open(name, mode);
  }
  RecordStatus read_next(std::span<char, kRecordSize> record) override {
    count_operation();
    return file_->read_next(record);
  }
  RecordStatus write(std::span<const char, kRecordSize> record) override {
    count_operation();
    return file_->write(record);
  }
  RecordStatus rewrite(std::span<const char, kRecordSize> record) override {
    count_operation();
    return file_->rewrite(record);
  }
  RecordStatus close() override {
    count_operation();
    return file_->close();
  }

private:
  std::unique_ptr<RecordFile> file_;
};

class KillingMachine : public PosixMachine {
public:
  explicit KillingMachine(const std::string& root)
      : PosixMachine(posix::MachineMap::in_folder(root), root) {}
  std::unique_ptr<RecordFile> new_record_file() override {
    return std::make_unique<KillingRecordFile>(PosixMachine::new_record_file());
  }
};

const std::string kFolder = "C:\\QOV\\EMPRESA";

void record_apl_installation() {
  reset_run_state();
  InstallChoices& c = install_choices;
  set_text(c.runtime_family, "mf");
  set_text(c.module_code, "apl");
  set_text(c.version_code, "600");
  set_text(c.country_digit, "0");
  set_text(c.update_folder, kFolder);
  record_installation();
}

// The register reads from its start to its end with no failure.
bool readable(PosixMachine& machine, const std::string& name) {
  PosixRecordFile file(machine);
  RecordStatus s = file.open(name, RecordFile::OpenMode::kInput);
  if (s == "35")
    return true;
  if (s != "00")
    return false;
  char record[kRecordSize];
  while ((s = file.read_next(record)) == "00") {
  }
  return s == "10" && file.close() == "00";
}

bool holds(const std::vector<std::string>& records, const std::string& r) {
  return std::find(records.begin(), records.end(), r) != records.end();
}

struct Case {
  const char* label;
  std::string mf, rm; // register contents; "-" for no file
};

std::string lines(const std::vector<std::string>& records) {
  std::string text;
  for (const std::string& r : records)
    text += r.substr(0, 78) + "\n";
  return text;
}

TEST(FaultKill, EveryRecordFileOperationOfRecordInstallation) {
  const std::string old_same = install_record("05.200", kFolder);
  const std::string new_record = install_record("06.000", kFolder);
  const std::string other = install_record("06.001", "D:\\OUTRA");
  const std::string pos = install_record("06.000", kFolder, "pos");
  const std::string rm_same = install_record("06.002", kFolder);
  const std::string rm_other = install_record("06.000", "\\\\SERVER\\QOV");
  const Case cases[] = {
      {"no register yet", "-", rm_same + rm_other},
      {"the same installation recorded", other + old_same + pos, "-"},
      {"lines ending in LF", lines({other, pos}), lines({rm_other, rm_same})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Scenario scenario;
    TempMachine m;
    m.make_folder("c/qovexemf");
    m.make_folder("c/qovexerm");
    auto place = [&] {
      for (const auto& [file, bytes] :
           {std::pair{"c/qovexemf/qovinst.dir", c.mf}, std::pair{"c/qovexerm/qovinst.dir", c.rm}}) {
        std::filesystem::remove(m.host(file));
        if (bytes != "-")
          m.write_file(file, bytes);
      }
    };
    const std::vector<std::string> mf_before =
        valid_records(register_records(c.mf == "-" ? "" : c.mf));
    const std::vector<std::string> rm_before =
        valid_records(register_records(c.rm == "-" ? "" : c.rm));

    KillingMachine machine(m.root());
    set_platform(&machine);
    place();
    g_operations = 0;
    g_kill_at = 0;
    record_apl_installation();
    const long total = g_operations;
    ASSERT_GT(total, 3);

    for (long at = 1; at <= total; ++at) {
      SCOPED_TRACE("killed before operation " + std::to_string(at));
      place();
      g_operations = 0;
      g_kill_at = at;
      pid_t pid = fork();
      if (pid == 0) {
        record_apl_installation();
        _exit(0);
      }
      g_kill_at = 0;
      int status = 0;
      ASSERT_EQ(waitpid(pid, &status, 0), pid);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kKilled) << status;

      EXPECT_TRUE(readable(machine, "c:/qovexemf/qovinst.dir"));
      EXPECT_TRUE(readable(machine, "c:/qovexerm/qovinst.dir"));
      auto mf = register_records(m.read_file("c/qovexemf/qovinst.dir"));
      auto rm = register_records(m.read_file("c/qovexerm/qovinst.dir"));
      long lost = 0;
      for (const std::string& r : mf_before)
        lost += r == old_same ? !(holds(mf, r) || holds(mf, new_record)) : !holds(mf, r);
      for (const std::string& r : rm_before)
        lost += r == rm_same ? !(holds(rm, r) || holds(rm, std::string(78, ' ') + "\r\n"))
                             : !holds(rm, r);
      EXPECT_EQ(lost, 0);
      add_to_figure("records checked", static_cast<long long>(mf_before.size() + rm_before.size()));
      add_to_figure("records lost", lost);

      // Installing again completes what the killed run began.
      record_apl_installation();
      mf = register_records(m.read_file("c/qovexemf/qovinst.dir"));
      EXPECT_EQ(std::count(mf.begin(), mf.end(), new_record), 1);
      for (const std::string& r : mf_before)
        EXPECT_TRUE(r == old_same || holds(mf, r)) << r;
      EXPECT_FALSE(holds(mf, old_same));
      EXPECT_FALSE(holds(register_records(m.read_file("c/qovexerm/qovinst.dir")), rm_same));
      if (!::testing::Test::HasFailure())
        add_to_figure("kill points survived", 1);
    }
    set_platform(nullptr);
  }
}

} // namespace
} // namespace qov::testing
