// The register's access to the platform's record-file service.
//
// Every operation goes through one RegisterFile, which passes it on to the
// platform and appends a trace object with the operation, the file name as
// it was opened and the status:
//   {"call":"record_file","op":"open-update","file":"c:/qovexemf/qovinst.dir","status":"35"}
#pragma once

#include <memory>
#include <span>
#include <string>

#include "system/platform_services.h"

namespace qov {

class RegisterFile {
public:
  using Mode = RecordFile::OpenMode;

  // When the platform offers no record file, every operation fails with
  // status "30".
  RegisterFile();

  RecordStatus open(const std::string& name, Mode mode);
  // Reads the next record. The record is set to spaces first, so a failed
  // read never leaves bytes of an earlier record behind.
  RecordStatus read(std::span<char, kRecordSize> record);
  RecordStatus write(std::span<const char, kRecordSize> record);
  RecordStatus rewrite(std::span<const char, kRecordSize> record);
  RecordStatus close();

  // The status of the last operation.
  const RecordStatus& status() const { return status_; }

private:
  RecordStatus traced(const char* op, RecordStatus status);

  std::unique_ptr<RecordFile> file_;
  std::string name_;
  RecordStatus status_;
};

} // namespace qov
