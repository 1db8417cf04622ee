// The record-file service on Win32 files: sequential files of fixed 80-byte
// records, each ending in CR LF.
//
// Statuses: "00" done, "10" end of file, "30" I/O error, "35" no such file
// (opening for input, update or extension), "37" permission denied, "41"
// already open, "42" close of a file not open, "43" rewrite without a read
// before it, "47" read, "48" write and "49" rewrite in a mode (or state) that
// does not allow it.
//
// A file whose size is not a multiple of 80, or whose records do not all end
// in CR LF, is read as text lines, each cut or padded with spaces to 78
// characters and given CR LF. Opening such a file for update or extension
// first rewrites it in that form (written beside it and renamed over it), so
// that records written later line up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "system/platform_services.h"

namespace qov {

class WindowsRecordFile : public RecordFile {
public:
  WindowsRecordFile() = default;
  WindowsRecordFile(const WindowsRecordFile&) = delete;
  WindowsRecordFile& operator=(const WindowsRecordFile&) = delete;
  ~WindowsRecordFile() override;

  RecordStatus open(const std::string& name, OpenMode mode) override;
  RecordStatus read_next(std::span<char, kRecordSize> record) override;
  RecordStatus write(std::span<const char, kRecordSize> record) override;
  RecordStatus rewrite(std::span<const char, kRecordSize> record) override;
  RecordStatus close() override;

private:
  RecordStatus open_existing(const std::wstring& name, OpenMode mode);
  void release();

  void* file_ = nullptr; // the Win32 handle; null when closed
  OpenMode mode_ = OpenMode::kInput;
  // A damaged file opened for input, in record form; read from here.
  std::optional<std::vector<char>> records_;
  uint64_t position_ = 0;
  std::optional<uint64_t> last_read_;
};

// The records a file's bytes give: the bytes themselves when they are whole
// records ending in CR LF, otherwise their text lines in record form.
bool is_record_form(const std::vector<char>& bytes);
std::vector<char> as_records(const std::vector<char>& bytes);

} // namespace qov
