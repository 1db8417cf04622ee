#include "platform/programs/zip_writer.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>

#include <memory>

namespace qov {
namespace {

struct EntryFree {
  void operator()(archive_entry* e) const { archive_entry_free(e); }
};
using Entry = std::unique_ptr<archive_entry, EntryFree>;

// A fixed time, so that the generated archives are the same on every build.
constexpr time_t kEntryTime = 946684800; // 2000-01-01

Entry new_entry(std::string_view name, mode_t type, mode_t perm) {
  Entry e(archive_entry_new());
  archive_entry_copy_pathname(e.get(), std::string(name).c_str());
  archive_entry_set_filetype(e.get(), type);
  archive_entry_set_perm(e.get(), perm);
  archive_entry_set_mtime(e.get(), kEntryTime, 0);
  return e;
}

} // namespace

ZipWriter::~ZipWriter() {
  if (archive_ != nullptr)
    archive_write_free(archive_);
}

bool ZipWriter::fail() {
  error_ = archive_ != nullptr && archive_error_string(archive_) != nullptr
               ? archive_error_string(archive_)
               : "archive error";
  return false;
}

bool ZipWriter::open(const std::string& path) {
  if (archive_ != nullptr)
    archive_write_free(archive_);
  archive_ = archive_write_new();
  if (archive_write_set_format_zip(archive_) != ARCHIVE_OK)
    return fail();
  if (archive_write_open_filename(archive_, path.c_str()) != ARCHIVE_OK)
    return fail();
  return true;
}

bool ZipWriter::add_file(std::string_view name, std::string_view data, Method method) {
  int set = method == Method::kStored ? archive_write_zip_set_compression_store(archive_)
                                      : archive_write_zip_set_compression_deflate(archive_);
  if (set != ARCHIVE_OK)
    return fail();
  Entry e = new_entry(name, AE_IFREG, 0644);
  archive_entry_set_size(e.get(), static_cast<la_int64_t>(data.size()));
  if (archive_write_header(archive_, e.get()) != ARCHIVE_OK)
    return fail();
  if (!data.empty() && archive_write_data(archive_, data.data(), data.size()) < 0)
    return fail();
  return archive_write_finish_entry(archive_) == ARCHIVE_OK || fail();
}

bool ZipWriter::add_folder(std::string_view name) {
  Entry e = new_entry(name, AE_IFDIR, 0755);
  return archive_write_header(archive_, e.get()) == ARCHIVE_OK || fail();
}

bool ZipWriter::add_symlink(std::string_view name, std::string_view target) {
  Entry e = new_entry(name, AE_IFLNK, 0777);
  archive_entry_copy_symlink(e.get(), std::string(target).c_str());
  return archive_write_header(archive_, e.get()) == ARCHIVE_OK || fail();
}

bool ZipWriter::add_hardlink(std::string_view name, std::string_view target) {
  Entry e = new_entry(name, AE_IFREG, 0644);
  archive_entry_copy_hardlink(e.get(), std::string(target).c_str());
  return archive_write_header(archive_, e.get()) == ARCHIVE_OK || fail();
}

bool ZipWriter::add_fifo(std::string_view name) {
  Entry e = new_entry(name, AE_IFIFO, 0644);
  return archive_write_header(archive_, e.get()) == ARCHIVE_OK || fail();
}

bool ZipWriter::close() {
  if (archive_ == nullptr)
    return true;
  bool ok = archive_write_close(archive_) == ARCHIVE_OK || fail();
  archive_write_free(archive_);
  archive_ = nullptr;
  return ok;
}

} // namespace qov
