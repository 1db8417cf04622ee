// Runs the real qov-setup binary on a temporary machine, as outside tools do:
// an answer file, a machine map and a trace.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/support/trace_reader.h"

namespace qov::testing {

// A temporary folder removed with everything in it when the object goes.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }

private:
  std::string path_;
};

// A machine of drive letters for QOV_MACHINE: host folder ROOT/c is drive C:,
// ROOT/unc/SERVER/SHARE the share \\SERVER\SHARE.
class TempMachine {
public:
  TempMachine();
  const std::string& root() const { return dir_.path(); }
  // Host path of a path below the machine root ("c/qovexemf/qovinst.dir").
  std::string host(const std::string& relative) const;
  // Creates a drive folder ("d") or any folder below the root.
  std::string make_folder(const std::string& relative) const;
  // Writes a file below the root, creating its folders.
  void write_file(const std::string& relative, const std::string& content) const;
  bool exists(const std::string& relative) const;
  std::string read_file(const std::string& relative) const;

private:
  TempDir dir_;
};

struct RunOptions {
  std::string answers;                    // answer-file text; not set when empty and no_script
  bool no_script = false;                 // leave QOV_GUI_SCRIPT unset
  std::string machine;                    // QOV_MACHINE; empty: not set
  std::string cwd;                        // host folder to start in; empty: the machine root
  std::map<std::string, std::string> env; // further variables (windir, ...)
};

struct RunResult {
  int status = -1; // exit status, or 128 + signal
  std::string out;
  std::string err;
  std::vector<TraceEntry> trace;
};

// Runs build/qov-setup with the options; stdin is /dev/null.
RunResult run_setup(const RunOptions& options);

// Writes a file with its folders created (any host path).
void write_host_file(const std::string& path, const std::string& content);
std::string read_host_file(const std::string& path);

} // namespace qov::testing
