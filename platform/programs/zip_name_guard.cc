#include "platform/programs/zip_name_guard.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace qov {
namespace {

constexpr size_t kEndRecord = 22;       // end-of-central-directory record
constexpr size_t kMaxComment = 65535;   // archive comment after it
constexpr size_t kDirectoryRecord = 46; // fixed part of a directory record
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kDirectorySignature = 0x02014b50;

uint32_t le16(const unsigned char* p) {
  return p[0] | p[1] << 8;
}
uint32_t le32(const unsigned char* p) {
  return le16(p) | le16(p + 2) << 16;
}

class File {
public:
  explicit File(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~File() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  bool read(off_t at, void* to, size_t n) const {
    return fd_ >= 0 && at >= 0 && ::pread(fd_, to, n, at) == static_cast<ssize_t>(n);
  }
  off_t size() const { return fd_ >= 0 ? ::lseek(fd_, 0, SEEK_END) : -1; }

private:
  int fd_;
};

// Where the central directory starts and how many records it has, from
// the end record; false when there is none or it is a ZIP64 one.
bool find_directory(const File& file, off_t* start, uint32_t* count) {
  off_t size = file.size();
  if (size < static_cast<off_t>(kEndRecord))
    return false;
  size_t tail = static_cast<size_t>(std::min<off_t>(size, kEndRecord + kMaxComment));
  std::vector<unsigned char> buf(tail);
  if (!file.read(size - static_cast<off_t>(tail), buf.data(), tail))
    return false;
  for (size_t at = tail - kEndRecord + 1; at-- > 0;) {
    const unsigned char* p = buf.data() + at;
    if (le32(p) != kEndSignature)
      continue;
    *count = le16(p + 10);
    uint32_t offset = le32(p + 16);
    if (*count == 0xffff || offset == 0xffffffff)
      return false;
    *start = offset;
    return true;
  }
  return false;
}

} // namespace

bool zip_names_hold_nul(const std::string& path) {
  File file(path);
  off_t at = 0;
  uint32_t count = 0;
  if (!find_directory(file, &at, &count))
    return false;
  unsigned char record[kDirectoryRecord];
  std::vector<char> name;
  for (uint32_t i = 0; i < count; ++i) {
    if (!file.read(at, record, sizeof record) || le32(record) != kDirectorySignature)
      return false;
    uint32_t name_length = le16(record + 28);
    // An empty name is libarchive's to refuse; an empty vector has no data
    // to read into or search.
    if (name_length > 0) {
      name.resize(name_length);
      if (!file.read(at + kDirectoryRecord, name.data(), name_length))
        return false;
      if (std::memchr(name.data(), '\0', name_length) != nullptr)
        return true;
    }
    at += kDirectoryRecord + name_length + le16(record + 30) + le16(record + 32);
  }
  return false;
}

} // namespace qov
