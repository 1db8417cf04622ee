// The boundary to the machine: Windows file system, process services and
// command shell.
//
// Names are Windows names as the installer builds them ("C:\QOV\EMPRESA",
// "D:runtimes\x", "c:/qovexemf/qovinst.dir", "\\SERVER\QOV\x"), already
// taken out of their fields (see name_of()). How they reach real files is the
// platform layer's business.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace qov {

// What the platform knows of an existing file.
struct FileInfo {
  uint64_t size = 0;
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, hundredths = 0;
};

// A status of the record-file service: "00" done, "10" end of file, "35" no
// such file (opening for input or update), other values for other failures
// (listed with the implementation).
using RecordStatus = std::string;

inline constexpr std::size_t kRecordSize = 80;

// A sequential file of fixed 80-byte records. One file at a time per object;
// every operation gives a status.
class RecordFile {
public:
  enum class OpenMode { kInput, kUpdate, kOutput, kExtend };

  virtual ~RecordFile() = default;
  virtual RecordStatus open(const std::string& name, OpenMode mode) = 0;
  // Reads the next record into `record`.
  virtual RecordStatus read_next(std::span<char, kRecordSize> record) = 0;
  // Writes a record at the end (output and extension).
  virtual RecordStatus write(std::span<const char, kRecordSize> record) = 0;
  // Replaces the record last read (update).
  virtual RecordStatus rewrite(std::span<const char, kRecordSize> record) = 0;
  virtual RecordStatus close() = 0;
};

class PlatformServices {
public:
  virtual ~PlatformServices() = default;

  // Full Windows name of the current folder, drive letter first ("D:\AUTORUN\BIN").
  virtual std::string current_folder() = 0;
  // Each returns 0 on success or the platform's error number.
  virtual int set_drive(char letter) = 0;
  virtual int change_folder(const std::string& name) = 0;
  // The details of an existing file; nothing for a folder or anything absent
  // or unreachable.
  virtual std::optional<FileInfo> file_info(const std::string& name) = 0;
  // Copies bytes unchanged, replacing the target; creates no folder.
  virtual int copy_file(const std::string& from, const std::string& to) = 0;
  // Runs the line through the command shell and waits; gives its exit code.
  virtual int run_command(const std::string& line) = 0;

  // Environment of the process itself; programs it starts inherit it.
  virtual void set_env(const std::string& name, const std::string& value) = 0;
  // The value, or nothing when the variable is not set.
  virtual std::optional<std::string> get_env(const std::string& name) = 0;

  virtual std::unique_ptr<RecordFile> new_record_file() = 0;
};

// The machine the installer runs on. Not owned.
void set_platform(PlatformServices* platform);
PlatformServices& platform();

} // namespace qov
