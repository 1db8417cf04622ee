#include "platform/windows/zip_extractor.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/windows/wide_text.h"
#include "platform/windows/windows_machine.h"
#include "platform/windows/zip_archive.h"
#include "platform/windows/zip_entry_guard.h"
#include "system/fixed_text.h"
#include "system/win1252.h"

namespace qov {
namespace {

class FileSource : public ZipSource {
public:
  explicit FileSource(HANDLE h) : h_(h) {
    LARGE_INTEGER size;
    size_ = GetFileSizeEx(h, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
  }
  uint64_t size() const override { return size_; }
  bool read_at(uint64_t offset, std::span<uint8_t> data) override {
    std::size_t done = 0;
    while (done < data.size()) {
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(offset + done);
      at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
      DWORD want = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 20));
      DWORD got = 0;
      if (!ReadFile(h_, data.data() + done, want, &got, &at) || got == 0)
        return false;
      done += got;
    }
    return true;
  }

private:
  HANDLE h_;
  uint64_t size_ = 0;
};

struct Handle {
  HANDLE h = INVALID_HANDLE_VALUE;
  ~Handle() { reset(); }
  void reset() {
    if (h != INVALID_HANDLE_VALUE)
      CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
  }
};

bool is_folder(const std::wstring& name) {
  DWORD a = GetFileAttributesW(name.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::size_t root_length(const std::wstring& full) {
  if (full.size() >= 3 && full[1] == L':')
    return 3;
  if (full.rfind(L"\\\\", 0) == 0) {
    std::size_t server = full.find(L'\\', 2);
    std::size_t share = server == std::wstring::npos ? server : full.find(L'\\', server + 1);
    return share == std::wstring::npos ? full.size() : share + 1;
  }
  return 0;
}

// Creates the folder and the folders above it that are missing.
bool make_folders(const std::wstring& full) {
  std::size_t root = root_length(full);
  if (root == 0)
    return false;
  for (std::size_t at = root; at <= full.size(); ++at) {
    if (at < full.size() && full[at] != L'\\')
      continue;
    std::wstring prefix = full.substr(0, at);
    if (prefix.size() < root || is_folder(prefix))
      continue;
    if (!CreateDirectoryW(prefix.c_str(), nullptr) && !is_folder(prefix))
      return false;
  }
  return true;
}

// The entry name as Windows characters: UTF-8 when flagged or when it is
// valid UTF-8 (as Unix tools write it), otherwise code page 437.
std::wstring wide_entry_name(const ZipEntry& e) {
  if (e.name.empty())
    return {};
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, e.name.data(),
                              static_cast<int>(e.name.size()), nullptr, 0);
  UINT page = n > 0 ? CP_UTF8 : (e.utf8_name ? CP_UTF8 : 437);
  n = MultiByteToWideChar(page, 0, e.name.data(), static_cast<int>(e.name.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(page, 0, e.name.data(), static_cast<int>(e.name.size()), out.data(), n);
  for (wchar_t& c : out)
    if (c == L'/')
      c = L'\\';
  while (!out.empty() && out.back() == L'\\')
    out.pop_back();
  return out;
}

void set_time(HANDLE h, const ZipEntry& e) {
  FILETIME local, utc;
  if (DosDateTimeToFileTime(e.dos_date, e.dos_time, &local) &&
      LocalFileTimeToFileTime(&local, &utc))
    SetFileTime(h, nullptr, nullptr, &utc);
}

struct Job {
  FileSource& source;
  std::wstring destination; // full name, no trailing backslash
  ExtractionProgress* progress;
  uint64_t done = 0;
};

// Writes one file entry beside its target and renames it over the target.
int32_t write_file(Job& job, const ZipEntry& e, const std::wstring& target, std::string* reason) {
  std::wstring folder = target.substr(0, target.find_last_of(L'\\'));
  if (!make_folders(folder)) {
    *reason =
        "cannot create the folder " + utf8_from_wide(folder) + ": " + error_text(GetLastError());
    return kExtractWriteFailure;
  }
  std::wstring beside = target + L".qov-part";
  Handle out;
  out.h = CreateFileW(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out.h == INVALID_HANDLE_VALUE) {
    *reason = "cannot write " + utf8_from_wide(target) + ": " + error_text(GetLastError());
    return kExtractWriteFailure;
  }
  DWORD write_error = 0;
  bool sink_failed = false;
  std::string damage = stream_entry(
      job.source, e,
      [&](std::span<const uint8_t> bytes) {
        DWORD put = 0;
        if (!WriteFile(out.h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) ||
            put != bytes.size()) {
          write_error = GetLastError();
          return false;
        }
        job.done += bytes.size();
        if (job.progress != nullptr)
          job.progress->advance(job.done);
        return true;
      },
      &sink_failed);
  if (sink_failed || !damage.empty()) {
    out.reset();
    DeleteFileW(beside.c_str());
    *reason = sink_failed
                  ? "cannot write " + utf8_from_wide(target) + ": " + error_text(write_error)
                  : damage;
    return sink_failed ? kExtractWriteFailure : kExtractDamagedArchive;
  }
  set_time(out.h, e);
  out.reset();
  if (!MoveFileExW(beside.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DWORD error = GetLastError();
    DeleteFileW(beside.c_str());
    *reason = "cannot replace " + utf8_from_wide(target) + ": " + error_text(error);
    return kExtractWriteFailure;
  }
  return kExtractOk;
}

} // namespace

int32_t extract_zip(const std::string& archive, const std::string& destination, std::string* reason,
                    ExtractionProgress* progress) {
  std::wstring archive_name = full_name(wide_from_w1252(archive));
  Handle in;
  if (!archive_name.empty() && !is_folder(archive_name))
    in.h = CreateFileW(archive_name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (in.h == INVALID_HANDLE_VALUE) {
    DWORD error =
        archive_name.empty() || is_folder(archive_name) ? ERROR_FILE_NOT_FOUND : GetLastError();
    *reason = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                  ? std::string("no such archive")
                  : "cannot open the archive: " + error_text(error);
    return kExtractMissingArchive;
  }
  // A destination on no drive or share of the machine is not created.
  std::wstring destination_name = full_name(wide_from_w1252(destination));
  std::size_t root = root_length(destination_name);
  if (root == 0 || !is_folder(destination_name.substr(0, root))) {
    *reason = "destination unreachable: \"" + utf8_from_w1252(destination) + "\"";
    return kExtractNoDestination;
  }
  FileSource source(in.h);
  std::string damage;
  auto entries = read_central_directory(source, &damage);
  if (!entries) {
    *reason = "damaged archive: " + damage;
    return kExtractDamagedArchive;
  }

  // Every entry is checked before anything is written.
  std::vector<std::wstring> names;
  uint64_t total = 0;
  for (const ZipEntry& e : *entries) {
    if (auto unsafe = unsafe_entry_reason(e.name, e.made_by, e.external)) {
      *reason = "unsafe archive: \"" + utf8_from_wide(wide_entry_name(e)) + "\": " + *unsafe;
      return kExtractUnsafeArchive;
    }
    names.push_back(wide_entry_name(e));
    total += e.uncompressed;
  }

  Job job{source, destination_name, progress};
  while (!job.destination.empty() && job.destination.back() == L'\\' &&
         job.destination.size() > root_length(job.destination))
    job.destination.pop_back();
  if (job.destination.empty() || !make_folders(job.destination)) {
    *reason =
        "cannot create the destination folder " +
        (job.destination.empty() ? std::string("(no name)") : utf8_from_wide(job.destination));
    return kExtractWriteFailure;
  }
  std::wstring base = job.destination.back() == L'\\' ? job.destination : job.destination + L'\\';
  if (progress != nullptr)
    progress->begin(archive, total);
  int32_t result = kExtractOk;
  for (std::size_t i = 0; i < entries->size() && result == kExtractOk; ++i) {
    const ZipEntry& e = (*entries)[i];
    if (names[i].empty())
      continue;
    std::wstring target = full_name(base + names[i]);
    if (target.size() <= base.size() || target.compare(0, base.size(), base) != 0) {
      *reason = "unsafe archive: \"" + utf8_from_wide(names[i]) + "\" leaves the destination";
      result = kExtractUnsafeArchive;
    } else if (is_folder_entry(e.name)) {
      if (!make_folders(target)) {
        *reason = "cannot create the folder " + utf8_from_wide(target);
        result = kExtractWriteFailure;
      }
    } else {
      result = write_file(job, e, target, reason);
    }
  }
  if (progress != nullptr)
    progress->end();
  return result;
}

int32_t ZipExtractor::extract(ExtractionBlock& block, std::string* error) {
  std::string archive = name_of(block.archive);
  std::string reason;
  int32_t result = kExtractUnknownFunction;
  if (std::memcmp(block.function, "UNZ", 3) == 0)
    result = extract_zip(archive, name_of(block.destination), &reason, progress_);
  else
    reason = "unknown function: \"" + utf8_from_w1252(std::string(block.function, 3)) + "\"";
  if (result != kExtractOk) {
    std::fprintf(stderr, "REREDODI: %s: %s\n", utf8_from_w1252(archive).c_str(), reason.c_str());
    *error = w1252(reason);
    if (progress_ != nullptr)
      progress_->failure(archive, w1252(reason));
  }
  return result;
}

} // namespace qov
