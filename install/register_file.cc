#include "install/register_file.h"

#include <algorithm>

#include "system/trace.h"

namespace qov {
namespace {

// The status every operation gives when the platform has no record-file
// service to offer.
const char* const kNoService = "30";

const char* open_op(RegisterFile::Mode mode) {
  switch (mode) {
  case RegisterFile::Mode::kInput:
    return "open-input";
  case RegisterFile::Mode::kUpdate:
    return "open-update";
  case RegisterFile::Mode::kOutput:
    return "open-output";
  case RegisterFile::Mode::kExtend:
    return "open-extend";
  }
  return "open";
}

} // namespace

RegisterFile::RegisterFile() : file_(platform().new_record_file()) {}

RecordStatus RegisterFile::traced(const char* op, RecordStatus status) {
  status_ = std::move(status);
  trace(TraceObject("record_file").str("op", op).str("file", name_).str("status", status_));
  return status_;
}

RecordStatus RegisterFile::open(const std::string& name, Mode mode) {
  name_ = name;
  return traced(open_op(mode), file_ ? file_->open(name, mode) : kNoService);
}

RecordStatus RegisterFile::read(std::span<char, kRecordSize> record) {
  std::fill(record.begin(), record.end(), ' ');
  return traced("read", file_ ? file_->read_next(record) : kNoService);
}

RecordStatus RegisterFile::write(std::span<const char, kRecordSize> record) {
  return traced("write", file_ ? file_->write(record) : kNoService);
}

RecordStatus RegisterFile::rewrite(std::span<const char, kRecordSize> record) {
  return traced("rewrite", file_ ? file_->rewrite(record) : kNoService);
}

RecordStatus RegisterFile::close() {
  return traced("close", file_ ? file_->close() : kNoService);
}

} // namespace qov
