#include "platform/windows/windows_record_file.h"

#include <windows.h>

#include <cstring>

#include "platform/windows/wide_text.h"

namespace qov {
namespace {

constexpr std::size_t kTextWidth = kRecordSize - 2;

RecordStatus open_failure(DWORD error) {
  switch (error) {
  case ERROR_FILE_NOT_FOUND:
  case ERROR_PATH_NOT_FOUND:
  case ERROR_INVALID_NAME:
  case ERROR_BAD_NETPATH:
  case ERROR_INVALID_DRIVE:
    return "35";
  case ERROR_ACCESS_DENIED:
  case ERROR_SHARING_VIOLATION:
  case ERROR_WRITE_PROTECT:
    return "37";
  default:
    return "30";
  }
}

bool read_at(HANDLE h, uint64_t offset, void* data, DWORD size, DWORD* got) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  if (ReadFile(h, data, size, got, &at))
    return true;
  if (GetLastError() == ERROR_HANDLE_EOF) {
    *got = 0;
    return true;
  }
  return false;
}

bool write_at(HANDLE h, uint64_t offset, const void* data, DWORD size) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD put = 0;
  return WriteFile(h, data, size, &put, &at) && put == size;
}

std::optional<std::vector<char>> read_all(HANDLE h) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h, &size) || size.QuadPart > (64LL << 20))
    return std::nullopt;
  std::vector<char> bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  if (!bytes.empty() &&
      (!read_at(h, 0, bytes.data(), static_cast<DWORD>(bytes.size()), &got) || got != bytes.size()))
    return std::nullopt;
  return bytes;
}

HANDLE open_handle(const std::wstring& name, DWORD access, DWORD disposition) {
  return CreateFileW(name.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

bool is_record_form(const std::vector<char>& bytes) {
  if (bytes.size() % kRecordSize != 0)
    return false;
  for (std::size_t end = kRecordSize; end <= bytes.size(); end += kRecordSize)
    if (bytes[end - 2] != '\r' || bytes[end - 1] != '\n')
      return false;
  return true;
}

std::vector<char> as_records(const std::vector<char>& bytes) {
  if (is_record_form(bytes))
    return bytes;
  std::vector<char> records;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = start;
    while (end < bytes.size() && bytes[end] != '\n')
      ++end;
    std::size_t line_end = end;
    if (end < bytes.size() && line_end > start && bytes[line_end - 1] == '\r')
      --line_end;
    std::size_t length = std::min(line_end - start, kTextWidth);
    records.insert(records.end(), bytes.begin() + start, bytes.begin() + start + length);
    records.insert(records.end(), kTextWidth - length, ' ');
    records.push_back('\r');
    records.push_back('\n');
    start = end + 1;
  }
  return records;
}

WindowsRecordFile::~WindowsRecordFile() {
  release();
}

void WindowsRecordFile::release() {
  if (file_ != nullptr)
    CloseHandle(static_cast<HANDLE>(file_));
  file_ = nullptr;
  records_.reset();
  last_read_.reset();
  position_ = 0;
}

RecordStatus WindowsRecordFile::open(const std::string& name, OpenMode mode) {
  if (file_ != nullptr)
    return "41";
  std::wstring wide = wide_from_w1252(name);
  if (wide.empty())
    return mode == OpenMode::kOutput ? "30" : "35";
  if (mode != OpenMode::kOutput)
    return open_existing(wide, mode);
  HANDLE h = open_handle(wide, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  if (h == INVALID_HANDLE_VALUE) {
    RecordStatus status = open_failure(GetLastError());
    return status == "35" ? "30" : status; // a missing folder is not created
  }
  file_ = h;
  mode_ = mode;
  return "00";
}

RecordStatus WindowsRecordFile::open_existing(const std::wstring& name, OpenMode mode) {
  DWORD access = GENERIC_READ | (mode == OpenMode::kInput ? 0 : GENERIC_WRITE);
  HANDLE h = open_handle(name, access, OPEN_EXISTING);
  if (h == INVALID_HANDLE_VALUE)
    return open_failure(GetLastError());
  auto bytes = read_all(h);
  if (!bytes) {
    CloseHandle(h);
    return "30";
  }
  if (!is_record_form(*bytes)) {
    std::vector<char> records = as_records(*bytes);
    if (mode == OpenMode::kInput) {
      records_ = std::move(records);
    } else {
      // Rewritten beside and renamed over, so that a failure leaves the old
      // file whole.
      CloseHandle(h);
      std::wstring beside = name + L".qov-records";
      HANDLE out = open_handle(beside, GENERIC_WRITE, CREATE_ALWAYS);
      bool ok =
          out != INVALID_HANDLE_VALUE &&
          (records.empty() || write_at(out, 0, records.data(), static_cast<DWORD>(records.size())));
      if (out != INVALID_HANDLE_VALUE)
        CloseHandle(out);
      if (!ok || !MoveFileExW(beside.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(beside.c_str());
        return "30";
      }
      h = open_handle(name, access, OPEN_EXISTING);
      if (h == INVALID_HANDLE_VALUE)
        return open_failure(GetLastError());
      bytes = std::move(records);
    }
  }
  file_ = h;
  mode_ = mode;
  position_ = mode == OpenMode::kExtend ? bytes->size() : 0;
  return "00";
}

RecordStatus WindowsRecordFile::read_next(std::span<char, kRecordSize> record) {
  if (file_ == nullptr || (mode_ != OpenMode::kInput && mode_ != OpenMode::kUpdate))
    return "47";
  if (records_) {
    if (position_ + kRecordSize > records_->size())
      return "10";
    std::memcpy(record.data(), records_->data() + position_, kRecordSize);
  } else {
    DWORD got = 0;
    if (!read_at(static_cast<HANDLE>(file_), position_, record.data(), kRecordSize, &got))
      return "30";
    if (got == 0)
      return "10";
    if (got != kRecordSize)
      return "30";
  }
  last_read_ = position_;
  position_ += kRecordSize;
  return "00";
}

RecordStatus WindowsRecordFile::write(std::span<const char, kRecordSize> record) {
  if (file_ == nullptr || (mode_ != OpenMode::kOutput && mode_ != OpenMode::kExtend))
    return "48";
  if (!write_at(static_cast<HANDLE>(file_), position_, record.data(), kRecordSize))
    return "30";
  position_ += kRecordSize;
  return "00";
}

RecordStatus WindowsRecordFile::rewrite(std::span<const char, kRecordSize> record) {
  if (file_ == nullptr || mode_ != OpenMode::kUpdate)
    return "49";
  if (!last_read_)
    return "43";
  if (!write_at(static_cast<HANDLE>(file_), *last_read_, record.data(), kRecordSize))
    return "30";
  last_read_.reset();
  return "00";
}

RecordStatus WindowsRecordFile::close() {
  if (file_ == nullptr)
    return "42";
  release();
  return "00";
}

} // namespace qov
