// The central directory of a ZIP archive, read with every length and offset
// checked against the archive's size, and the streaming of one entry's data
// through zlib's inflate with its size and CRC checked.
//
// Only what REREDODI needs: one-disk archives, stored and deflated entries,
// ZIP64 sizes and offsets. Memory stays bounded: the central directory is
// read whole (it is refused beyond kMaxCentralDirectory), entry data goes
// through fixed buffers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qov {

// Bytes of an archive by offset.
class ZipSource {
public:
  virtual ~ZipSource() = default;
  virtual uint64_t size() const = 0;
  // Reads exactly data.size() bytes at offset; false on any failure.
  virtual bool read_at(uint64_t offset, std::span<uint8_t> data) = 0;
};

struct ZipEntry {
  std::string name; // as stored (UTF-8 when utf8_name, else code page 437)
  bool utf8_name = false;
  uint16_t made_by = 0, flags = 0, method = 0;
  uint16_t dos_time = 0, dos_date = 0;
  uint32_t crc = 0, external = 0;
  uint64_t compressed = 0, uncompressed = 0, local_offset = 0;
  uint64_t limit = 0; // its data ends before this offset (the central directory)
};

inline constexpr uint64_t kMaxCentralDirectory = 32u << 20;

// The entries of the archive, in central-directory order. Nothing, with the
// reason in *damage, when the archive is not a well-formed ZIP archive of the
// kind above.
std::optional<std::vector<ZipEntry>> read_central_directory(ZipSource& source, std::string* damage);

// Streams the entry's uncompressed bytes to `sink` (which returns false to
// stop: a write failure). Gives "" on success, the reason the data is
// damaged otherwise; *sink_failed tells a stop by the sink.
std::string stream_entry(ZipSource& source, const ZipEntry& entry,
                         const std::function<bool(std::span<const uint8_t>)>& sink,
                         bool* sink_failed);

} // namespace qov
