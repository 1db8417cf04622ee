#include "platform/programs/zip_extractor.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/programs/zip_entry_name.h"
#include "platform/programs/zip_host_tree.h"
#include "platform/programs/zip_name_guard.h"

namespace qov {
namespace {

// libarchive reads the file in blocks of these sizes; with its inflate
// window and our listings, memory stays at a few MiB whatever the archive
// holds. The header pass reads one small block at each entry's local header,
// the data pass streams through large ones.
constexpr size_t kHeaderBlock = 4 * 1024;
constexpr size_t kDataBlock = 128 * 1024;

struct ReaderFree {
  void operator()(archive* a) const { archive_read_free(a); }
};
using Reader = std::unique_ptr<archive, ReaderFree>;

struct PlannedEntry {
  std::string name;
  std::vector<std::string> parts;
  bool folder;
};

ExtractOutcome failed(int32_t code, const std::string& reason) {
  static const char* const kKinds[] = {"",
                                       "missing archive",
                                       "damaged archive",
                                       "unsafe archive",
                                       "write failure",
                                       "destination unreachable",
                                       "unknown function"};
  return {code, std::string(kKinds[code]) + ": " + reason};
}

std::string libarchive_error(archive* a) {
  const char* text = archive_error_string(a);
  return text != nullptr ? text : "unreadable ZIP data";
}

std::string entry_name(archive_entry* e) {
  const char* name = archive_entry_pathname_utf8(e);
  if (name == nullptr)
    name = archive_entry_pathname(e);
  return name != nullptr ? name : "";
}

// Opens the archive with the seekable ZIP reader, which goes by the central
// directory: a file cut short loses it and is refused here.
Reader open_archive(const std::string& path, size_t block, ExtractOutcome* out) {
  Reader r(archive_read_new());
  archive_read_support_format_zip_seekable(r.get());
  if (archive_read_open_filename(r.get(), path.c_str(), block) != ARCHIVE_OK) {
    *out = failed(kExtractDamagedArchive, libarchive_error(r.get()));
    return nullptr;
  }
  return r;
}

// The reason an entry of this kind cannot be extracted, or nullptr.
const char* refused_kind(archive_entry* e) {
  if (archive_entry_hardlink(e) != nullptr || archive_entry_symlink(e) != nullptr ||
      archive_entry_filetype(e) == AE_IFLNK)
    return "link entry";
  mode_t type = archive_entry_filetype(e);
  if (type != AE_IFREG && type != AE_IFDIR)
    return "device or fifo entry";
  return nullptr;
}

// First pass: reads every header and checks it; nothing is written.
ExtractOutcome plan(archive* a, std::vector<PlannedEntry>* entries, uint64_t* total) {
  archive_entry* e = nullptr;
  for (;;) {
    int r = archive_read_next_header(a, &e);
    if (r == ARCHIVE_EOF)
      return {};
    if (r != ARCHIVE_OK)
      return failed(kExtractDamagedArchive, libarchive_error(a));
    std::string name = entry_name(e);
    std::string why;
    auto parts = safe_entry_path(name, &why);
    if (!parts)
      return failed(kExtractUnsafeArchive, why + ": \"" + name + "\"");
    if (const char* kind = refused_kind(e))
      return failed(kExtractUnsafeArchive, std::string(kind) + ": \"" + name + "\"");
    if (archive_entry_is_encrypted(e))
      return failed(kExtractDamagedArchive, "encrypted entry: \"" + name + "\"");
    bool folder = archive_entry_filetype(e) == AE_IFDIR;
    if (!folder && archive_entry_size_is_set(e))
      *total += static_cast<uint64_t>(archive_entry_size(e));
    entries->push_back({std::move(name), std::move(*parts), folder});
  }
}

class Writer {
public:
  Writer(archive* a, HostTree& tree, ExtractionProgress* progress)
      : archive_(a), tree_(tree), progress_(progress) {}

  ExtractOutcome file(const PlannedEntry& entry, archive_entry* e);
  uint64_t done() const { return done_; }

private:
  ExtractOutcome stream(int fd, const std::string& name);

  archive* archive_;
  HostTree& tree_;
  ExtractionProgress* progress_;
  uint64_t done_ = 0;
  unsigned temp_serial_ = 0;
};

ExtractOutcome Writer::stream(int fd, const std::string& name) {
  for (;;) {
    const void* data = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    int r = archive_read_data_block(archive_, &data, &size, &offset);
    if (r == ARCHIVE_EOF)
      return {};
    // libarchive reports a bad CRC as a warning; for us it is damage.
    if (r != ARCHIVE_OK)
      return failed(kExtractDamagedArchive, "\"" + name + "\": " + libarchive_error(archive_));
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      ssize_t n = ::pwrite(fd, p, size, offset);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        return failed(kExtractWriteFailure, "\"" + name + "\": " + std::strerror(errno));
      p += n;
      size -= static_cast<size_t>(n);
      offset += n;
      done_ += static_cast<uint64_t>(n);
    }
    if (progress_ != nullptr)
      progress_->advance(done_);
  }
}

ExtractOutcome Writer::file(const PlannedEntry& entry, archive_entry* e) {
  std::string folder, target, why;
  if (!tree_.folder(entry.parts, entry.parts.size() - 1, &folder, &why) ||
      !tree_.file_name(folder, entry.parts.back(), &target, &why))
    return failed(kExtractWriteFailure, why);

  // The temporary name starts with a dot and holds our process id, so it
  // cannot be an entry of a Windows archive being extracted beside us.
  std::string temp = folder + "/.reredodi-" + std::to_string(::getpid()) + "-" +
                     std::to_string(++temp_serial_) + ".part";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0)
    return failed(kExtractWriteFailure, "cannot create a file in the folder of \"" + entry.name +
                                            "\": " + std::strerror(errno));
  ExtractOutcome out = stream(fd, entry.name);
  if (out.code == kExtractOk && archive_entry_mtime_is_set(e)) {
    struct timespec times[2] = {{0, UTIME_OMIT},
                                {archive_entry_mtime(e), archive_entry_mtime_nsec(e)}};
    ::futimens(fd, times);
  }
  if (::close(fd) != 0 && out.code == kExtractOk)
    out = failed(kExtractWriteFailure, "\"" + entry.name + "\": " + std::strerror(errno));
  if (out.code == kExtractOk && ::rename(temp.c_str(), (folder + "/" + target).c_str()) != 0)
    out = failed(kExtractWriteFailure,
                 "cannot replace \"" + entry.name + "\": " + std::strerror(errno));
  if (out.code != kExtractOk)
    ::unlink(temp.c_str());
  else
    tree_.added_file(folder, target);
  return out;
}

// Second pass: the same headers again, now with their data.
ExtractOutcome unpack(archive* a, const std::vector<PlannedEntry>& entries, HostTree& tree,
                      ExtractionProgress* progress) {
  Writer writer(a, tree, progress);
  archive_entry* e = nullptr;
  for (const PlannedEntry& entry : entries) {
    if (archive_read_next_header(a, &e) != ARCHIVE_OK)
      return failed(kExtractDamagedArchive, libarchive_error(a));
    if (entry_name(e) != entry.name)
      return failed(kExtractDamagedArchive, "the archive changed while it was read");
    std::string host, why;
    ExtractOutcome out;
    if (entry.folder) {
      if (!tree.folder(entry.parts, entry.parts.size(), &host, &why))
        out = failed(kExtractWriteFailure, why);
    } else {
      out = writer.file(entry, e);
    }
    if (out.code != kExtractOk)
      return out;
  }
  return {};
}

ExtractOutcome check_archive_file(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0)
    return failed(kExtractMissingArchive, std::strerror(errno));
  if (!S_ISREG(st.st_mode))
    return failed(kExtractMissingArchive, "not a file");
  if (::access(path.c_str(), R_OK) != 0)
    return failed(kExtractMissingArchive, std::strerror(errno));
  return {};
}

ExtractOutcome run(const std::string& archive_path, const std::string& destination,
                   ExtractionProgress* progress, const std::string& label) {
  ExtractOutcome out = check_archive_file(archive_path);
  if (out.code != kExtractOk)
    return out;
  if (zip_names_hold_nul(archive_path))
    return failed(kExtractUnsafeArchive, "NUL in entry name");

  std::vector<PlannedEntry> entries;
  uint64_t total = 0;
  {
    Reader headers = open_archive(archive_path, kHeaderBlock, &out);
    if (headers == nullptr)
      return out;
    out = plan(headers.get(), &entries, &total);
    if (out.code != kExtractOk)
      return out;
  }

  HostTree tree(destination);
  std::string why;
  if (!tree.make_root(&why))
    return failed(kExtractWriteFailure, why);
  Reader data = open_archive(archive_path, kDataBlock, &out);
  if (data == nullptr)
    return out;
  if (progress != nullptr)
    progress->begin(label, total);
  out = unpack(data.get(), entries, tree, progress);
  if (out.code == kExtractOk && progress != nullptr)
    progress->end();
  return out;
}

} // namespace

ExtractOutcome extract_zip(const std::string& archive, const std::string& destination,
                           ExtractionProgress* progress, const std::string& label) {
  const std::string& shown = label.empty() ? archive : label;
  ExtractOutcome out = run(archive, destination, progress, shown);
  if (out.code != kExtractOk && progress != nullptr)
    progress->failure(shown, out.reason);
  return out;
}

} // namespace qov
