// Support for the fault-injection scenarios: a demo machine with its own
// copy of the demo CD, file-system faults (a read-only drive, a full file
// system) and the figures the scenarios report.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/installer_run.h"
#include "tests/support/register_records.h"

namespace qov::testing {

// Answers of an installation of "apl", Portugal, "mf" into C:\QOV\EMPRESA
// from the menus; a recorded installation's panel is left with "Cancelar"
// first when `update_panel_first`.
std::string apl_answers(const std::string& folder = "C:\\QOV\\EMPRESA",
                        bool update_panel_first = false);

// A machine with drive C: (WINDOWS\system32\msvcrt.dll) and a copy of the
// demo CD as drive D:, which a scenario may damage.
class CdCopyMachine : public TempMachine {
public:
  CdCopyMachine();
  // Runs the installer from D:\AUTORUN\BIN with windir set; `traced`
  // false runs it without a trace (a file-size limit would cut it).
  RunResult run(const std::string& answers, bool traced = true) const;
};

// Every file below a host folder, by its path relative to it, with its bytes.
std::map<std::string, std::string> files_below(const std::string& folder);

// The files a complete installation of apl_answers() puts into its target
// folder, from a run on a machine of its own.
const std::map<std::string, std::string>& reference_installation();

// Every whole version a target file can have while that installation runs:
// its file in each application archive (extracted alone) and in the
// complete installation.
const std::map<std::string, std::set<std::string>>& whole_versions();

// Mounts that only this test process and its children see (a private mount
// namespace, entered on first use). Each undoes itself when it goes.
class Mount {
public:
  // Whether this process can make such mounts.
  static bool available();
  // A tmpfs of `bytes` over the folder.
  static Mount tmpfs(const std::string& folder, std::size_t bytes);
  // The folder again, read-only.
  static Mount read_only(const std::string& folder);

  Mount(Mount&& other) noexcept : folder_(std::move(other.folder_)) { other.folder_.clear(); }
  Mount& operator=(Mount&&) = delete;
  ~Mount();
  bool ok() const { return !folder_.empty(); }

private:
  explicit Mount(std::string folder) : folder_(std::move(folder)) {}
  std::string folder_;
};

// Fills the file system that holds the folder until it has no room left,
// with a file named ".filler" in it.
void fill_file_system(const std::string& folder);

// While it lives, files the process and its children write cannot grow past
// `bytes` (writes beyond fail with EFBIG instead of raising SIGXFSZ).
class FileSizeLimit {
public:
  explicit FileSizeLimit(unsigned long long bytes);
  ~FileSizeLimit();

private:
  unsigned long long old_soft_, old_hard_;
  void (*old_handler_)(int);
};

// An install record: version text, folder, Zavod mark ("pos" or "").
std::string install_record(const std::string& version, const std::string& folder,
                           const std::string& mark = "");

// Counts a fault scenario in the figures when it goes: "fault scenarios
// run", and "fault scenarios survived" when the test has no failure. A
// skipped scenario counts in neither.
class Scenario {
public:
  Scenario() = default;
  Scenario(const Scenario&) = delete;
  Scenario& operator=(const Scenario&) = delete;
  ~Scenario();
};

// Adds to a figure of the reliability summary: appends "NAME<TAB>N" to the
// file QOV_FIGURES names, when it is set (scripts/test.sh sums them).
void add_to_figure(const std::string& name, long long n);

} // namespace qov::testing
