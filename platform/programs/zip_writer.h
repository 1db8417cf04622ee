// Writes ZIP archives with libarchive: the demo CD generator and the tests
// build their archives with it. Entry names are taken as given, so hostile
// archives can be made as well as good ones.
#pragma once

#include <string>
#include <string_view>

struct archive;

namespace qov {

class ZipWriter {
public:
  enum class Method { kStored, kDeflated };

  ZipWriter() = default;
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;
  ~ZipWriter();

  // Starts a new archive at the host path; false, with the reason in
  // error(), when it cannot be created.
  bool open(const std::string& path);

  // Each add returns false, with the reason in error(), when libarchive
  // refuses the entry.
  bool add_file(std::string_view name, std::string_view data, Method method = Method::kDeflated);
  bool add_folder(std::string_view name);
  bool add_symlink(std::string_view name, std::string_view target);
  bool add_hardlink(std::string_view name, std::string_view target);
  bool add_fifo(std::string_view name);

  // Writes the central directory; false when the archive could not be
  // completed.
  bool close();

  const std::string& error() const { return error_; }

private:
  bool fail();
  archive* archive_ = nullptr;
  std::string error_;
};

} // namespace qov
