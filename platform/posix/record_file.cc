#include "platform/posix/record_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/posix_machine.h"

namespace qov {
namespace {

constexpr std::size_t kTextWidth = kRecordSize - 2;
constexpr std::size_t kChunk = kRecordSize * 819;

RecordStatus open_error(int error) {
  if (error == EACCES || error == EPERM || error == EROFS)
    return "37";
  return error == ENOENT ? "35" : "30";
}

const char* op_name(RecordFile::OpenMode mode) {
  switch (mode) {
  case RecordFile::OpenMode::kInput:
    return "open-input";
  case RecordFile::OpenMode::kUpdate:
    return "open-update";
  case RecordFile::OpenMode::kOutput:
    return "open-output";
  case RecordFile::OpenMode::kExtend:
    return "open-extend";
  }
  return "open";
}

// Whether the file is in record form: whole records, each ending in CR LF.
bool in_record_form(int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0 || st.st_size % static_cast<off_t>(kRecordSize) != 0)
    return false;
  std::vector<char> chunk(kChunk);
  for (off_t at = 0; at < st.st_size;) {
    ssize_t n = pread(fd, chunk.data(), chunk.size(), at);
    if (n <= 0 || n % static_cast<ssize_t>(kRecordSize) != 0)
      return false;
    for (ssize_t r = 0; r < n; r += kRecordSize)
      if (chunk[r + 78] != '\r' || chunk[r + 79] != '\n')
        return false;
    at += n;
  }
  return true;
}

void to_record(const std::string& line, char* record) {
  std::memset(record, ' ', kTextWidth);
  std::memcpy(record, line.data(), std::min(line.size(), kTextWidth));
  record[78] = '\r';
  record[79] = '\n';
}

bool write_all(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

} // namespace

PosixRecordFile::~PosixRecordFile() {
  if (fd_ >= 0)
    ::close(fd_);
}

// The register traces each operation on its side of the boundary, so that
// every platform layer gives the same trace.
RecordStatus PosixRecordFile::done(const char*, RecordStatus status) {
  return status;
}

// Reads the next text line, at most 80 of its bytes kept, its LF and a CR
// before it left out. False at the end of the file.
bool PosixRecordFile::next_line(std::string* line) {
  line->clear();
  bool any = false, cut = false;
  char last = 0;
  for (;;) {
    if (used_ == buffered_) {
      ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        break;
      buffered_ = static_cast<std::size_t>(n);
      used_ = 0;
    }
    char c = buffer_[used_++];
    any = true;
    if (c == '\n') {
      if (last == '\r' && !cut)
        line->pop_back();
      return true;
    }
    last = c;
    if (line->size() < kRecordSize)
      *line += c;
    else
      cut = true;
  }
  if (last == '\r' && !cut)
    line->pop_back();
  return any;
}

RecordStatus PosixRecordFile::open(const std::string& name, OpenMode mode) {
  if (fd_ >= 0)
    return done(op_name(mode), "41");
  name_ = name;
  RecordStatus status = done(op_name(mode), open_file(name, mode));
  if (status != "00")
    name_.clear();
  return status;
}

RecordStatus PosixRecordFile::open_file(const std::string& name, OpenMode mode) {
  text_ = false;
  next_ = 0;
  last_read_ = -1;
  at_end_ = false;
  buffered_ = used_ = 0;
  buffer_.assign(kChunk, 0);
  if (mode == OpenMode::kOutput) {
    std::optional<std::string> host = machine_.for_create(name);
    if (!host)
      return "30";
    fd_ = ::open(host->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    mode_ = mode;
    return fd_ < 0 ? (errno == ENOENT ? "30" : open_error(errno)) : "00";
  }
  std::optional<PosixMachine::Found> found = machine_.find(name);
  if (!found || found->folder)
    return "35";
  int flags = mode == OpenMode::kInput ? O_RDONLY : O_RDWR;
  if (mode == OpenMode::kExtend)
    flags |= O_APPEND;
  int fd = ::open(found->host.c_str(), flags | O_CLOEXEC);
  if (fd < 0)
    return open_error(errno);
  if (!in_record_form(fd)) {
    if (mode == OpenMode::kInput) {
      text_ = true;
    } else {
      fd_ = fd;
      RecordStatus status = rewrite_in_record_form(found->host, flags);
      if (status != "00") {
        ::close(fd_);
        fd_ = -1;
        return status;
      }
      fd = fd_;
    }
  }
  fd_ = fd;
  mode_ = mode;
  return "00";
}

// Writes the open file again in record form beside it, renames that over it
// and opens it in its place.
RecordStatus PosixRecordFile::rewrite_in_record_form(const std::string& host, int flags) {
  struct stat st;
  if (fstat(fd_, &st) != 0)
    return "30";
  std::string temp = host.substr(0, host.rfind('/')) + "/.qov-records-XXXXXX";
  int out = mkstemp(temp.data());
  if (out < 0)
    return open_error(errno);
  std::string line, pending;
  bool ok = true;
  char record[kRecordSize];
  while (ok && next_line(&line)) {
    if (line.empty())
      continue;
    to_record(line, record);
    pending.append(record, kRecordSize);
    if (pending.size() >= kChunk) {
      ok = write_all(out, pending.data(), pending.size());
      pending.clear();
    }
  }
  ok = ok && write_all(out, pending.data(), pending.size()) &&
       fchmod(out, st.st_mode & 07777) == 0 && fsync(out) == 0;
  ok = ::close(out) == 0 && ok;
  if (!ok || rename(temp.c_str(), host.c_str()) != 0) {
    unlink(temp.c_str());
    return "30";
  }
  int fd = ::open(host.c_str(), flags | O_CLOEXEC);
  if (fd < 0)
    return open_error(errno);
  ::close(fd_);
  fd_ = fd;
  buffered_ = used_ = 0;
  return "00";
}

RecordStatus PosixRecordFile::read_next(std::span<char, kRecordSize> record) {
  return done("read", read_record(record));
}

RecordStatus PosixRecordFile::read_record(std::span<char, kRecordSize> record) {
  last_read_ = -1;
  if (fd_ < 0 || (mode_ != OpenMode::kInput && mode_ != OpenMode::kUpdate))
    return "47";
  if (at_end_)
    return "46";
  if (text_) {
    std::string line;
    bool found = false;
    while ((found = next_line(&line)) && line.empty()) {
    }
    if (!found) {
      at_end_ = true;
      return "10";
    }
    to_record(line, record.data());
    return "00";
  }
  ssize_t n;
  while ((n = pread(fd_, record.data(), kRecordSize, next_)) < 0 && errno == EINTR) {
  }
  if (n < 0)
    return "30";
  if (n < static_cast<ssize_t>(kRecordSize)) {
    at_end_ = true; // a part of a record someone else has added since: not a record
    return "10";
  }
  last_read_ = next_;
  next_ += kRecordSize;
  return "00";
}

RecordStatus PosixRecordFile::write(std::span<const char, kRecordSize> record) {
  last_read_ = -1;
  if (fd_ < 0 || (mode_ != OpenMode::kOutput && mode_ != OpenMode::kExtend))
    return done("write", "48");
  if (record[78] != '\r' || record[79] != '\n')
    return done("write", "44");
  struct stat st;
  if (fstat(fd_, &st) != 0)
    return done("write", "30");
  ssize_t n = ::write(fd_, record.data(), kRecordSize);
  if (n == static_cast<ssize_t>(kRecordSize))
    return done("write", "00");
  if (n > 0 && ftruncate(fd_, st.st_size) != 0) {
    // The part written stays; the next opening for update reads it as a line.
  }
  return done("write", "30");
}

RecordStatus PosixRecordFile::rewrite(std::span<const char, kRecordSize> record) {
  if (fd_ < 0 || mode_ != OpenMode::kUpdate)
    return done("rewrite", "49");
  if (last_read_ < 0)
    return done("rewrite", "43");
  if (record[78] != '\r' || record[79] != '\n')
    return done("rewrite", "44");
  ssize_t n = pwrite(fd_, record.data(), kRecordSize, last_read_);
  last_read_ = -1;
  return done("rewrite", n == static_cast<ssize_t>(kRecordSize) ? "00" : "30");
}

RecordStatus PosixRecordFile::close() {
  if (fd_ < 0)
    return done("close", "42");
  int rc = ::close(fd_);
  fd_ = -1;
  RecordStatus status = done("close", rc == 0 ? "00" : "30");
  name_.clear();
  return status;
}

} // namespace qov
