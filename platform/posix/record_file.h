// Sequential files of fixed 80-byte records ending in CR LF, named by Windows
// names through the machine ("c:/qovexemf/qovinst.dir" is qovinst.dir in
// drive C's qovexemf folder, whatever its case on disk).
//
// Statuses:
//   "00" done                       "10" end of file
//   "30" any other I/O error        "44" a record that does not end in CR LF
//   "35" no such file (opening for input, update or extension)
//   "37" permission denied (open)   "41" already open
//   "42" close of a file not open   "43" rewrite without a record just read
//   "46" read after the end         "47" read when not open for input/update
//   "48" write when not open for output/extension
//   "49" rewrite when not open for update
//
// A file whose size is not a multiple of 80, or whose records do not all
// end in CR LF, is read as text lines: each line (its LF and a CR before it
// left out) cut or padded with spaces to 78 characters, then CR LF; empty
// lines are no records. Opening such a file for update or extension first
// writes it again in that record form, beside it, and renames it over the
// old one. Each write and rewrite is one write of 80 bytes.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "system/platform_services.h"

namespace qov {

class PosixMachine;

class PosixRecordFile : public RecordFile {
public:
  explicit PosixRecordFile(PosixMachine& machine) : machine_(machine) {}
  ~PosixRecordFile() override;
  PosixRecordFile(const PosixRecordFile&) = delete;
  PosixRecordFile& operator=(const PosixRecordFile&) = delete;

  RecordStatus open(const std::string& name, OpenMode mode) override;
  RecordStatus read_next(std::span<char, kRecordSize> record) override;
  RecordStatus write(std::span<const char, kRecordSize> record) override;
  RecordStatus rewrite(std::span<const char, kRecordSize> record) override;
  RecordStatus close() override;

private:
  RecordStatus open_file(const std::string& name, OpenMode mode);
  RecordStatus rewrite_in_record_form(const std::string& host, int flags);
  RecordStatus read_record(std::span<char, kRecordSize> record);
  bool next_line(std::string* line);
  RecordStatus done(const char* op, RecordStatus status);

  PosixMachine& machine_;
  int fd_ = -1;
  OpenMode mode_ = OpenMode::kInput;
  std::string name_;
  bool text_ = false;    // read as text lines
  off_t next_ = 0;       // offset of the next record
  off_t last_read_ = -1; // offset of the record just read; -1 when none
  bool at_end_ = false;
  std::vector<char> buffer_; // text lines read ahead
  std::size_t buffered_ = 0, used_ = 0;
};

} // namespace qov
