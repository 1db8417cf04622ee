#include "platform/windows/zip_archive.h"

#include <zlib.h>

#include <algorithm>
#include <array>

namespace qov {
namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kZip64EndSignature = 0x06064b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22, kLocatorSize = 20, kZip64EndSize = 56;
constexpr std::size_t kCentralSize = 46, kLocalSize = 30;
constexpr std::size_t kMaxComment = 0xffff;
constexpr uint16_t kZip64Extra = 0x0001;
constexpr uint16_t kEncrypted = 0x0001, kUtf8Name = 0x0800;
constexpr std::size_t kChunk = 64 * 1024;

uint16_t le16(std::span<const uint8_t> b, std::size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
uint32_t le32(std::span<const uint8_t> b, std::size_t at) {
  return static_cast<uint32_t>(le16(b, at)) | static_cast<uint32_t>(le16(b, at + 2)) << 16;
}
uint64_t le64(std::span<const uint8_t> b, std::size_t at) {
  return static_cast<uint64_t>(le32(b, at)) | static_cast<uint64_t>(le32(b, at + 4)) << 32;
}

struct Directory {
  uint64_t entries = 0, size = 0, offset = 0;
  uint64_t end = 0; // where the records after the central directory begin
};

// Finds the end record: the last signature whose comment ends at or before
// the end of the archive.
std::optional<Directory> find_end(ZipSource& source, std::string* damage) {
  uint64_t size = source.size();
  if (size < kEndSize) {
    *damage = "too short to be a ZIP archive";
    return std::nullopt;
  }
  uint64_t span = std::min<uint64_t>(size, kEndSize + kMaxComment);
  std::vector<uint8_t> tail(static_cast<std::size_t>(span));
  if (!source.read_at(size - span, tail)) {
    *damage = "cannot read the end of the archive";
    return std::nullopt;
  }
  for (std::size_t at = tail.size() - kEndSize + 1; at-- > 0;) {
    if (le32(tail, at) != kEndSignature)
      continue;
    if (at + kEndSize + le16(tail, at + 20) > tail.size())
      continue;
    if (le16(tail, at + 4) != 0 || le16(tail, at + 6) != 0 ||
        le16(tail, at + 8) != le16(tail, at + 10)) {
      *damage = "archives on several disks are not supported";
      return std::nullopt;
    }
    Directory d;
    d.entries = le16(tail, at + 10);
    d.size = le32(tail, at + 12);
    d.offset = le32(tail, at + 16);
    d.end = size - span + at;
    bool zip64 = d.entries == 0xffff || d.size == 0xffffffff || d.offset == 0xffffffff;
    if (!zip64 || d.end < kLocatorSize)
      return d;
    std::array<uint8_t, kLocatorSize> locator;
    if (!source.read_at(d.end - kLocatorSize, locator) ||
        le32(locator, 0) != kZip64LocatorSignature)
      return d; // the 16-bit values are real after all
    uint64_t at64 = le64(locator, 8);
    std::array<uint8_t, kZip64EndSize> end64;
    if (at64 > d.end - kLocatorSize || d.end - kLocatorSize - at64 < kZip64EndSize ||
        !source.read_at(at64, end64) || le32(end64, 0) != kZip64EndSignature) {
      *damage = "damaged ZIP64 end record";
      return std::nullopt;
    }
    if (le32(end64, 16) != 0 || le32(end64, 20) != 0 || le64(end64, 24) != le64(end64, 32)) {
      *damage = "archives on several disks are not supported";
      return std::nullopt;
    }
    d.entries = le64(end64, 32);
    d.size = le64(end64, 40);
    d.offset = le64(end64, 48);
    d.end = at64;
    return d;
  }
  *damage = "no end of central directory (not a ZIP archive, or truncated)";
  return std::nullopt;
}

// Replaces the 32-bit values that say "see the ZIP64 extra field".
bool apply_zip64(std::span<const uint8_t> extra, ZipEntry& e, bool need_usize, bool need_csize,
                 bool need_offset) {
  std::size_t at = 0;
  while (at + 4 <= extra.size()) {
    uint16_t id = le16(extra, at);
    std::size_t length = le16(extra, at + 2);
    if (at + 4 + length > extra.size())
      return false;
    if (id == kZip64Extra) {
      std::span<const uint8_t> field = extra.subspan(at + 4, length);
      std::size_t p = 0;
      auto take = [&](uint64_t& v) {
        if (p + 8 > field.size())
          return false;
        v = le64(field, p);
        p += 8;
        return true;
      };
      return (!need_usize || take(e.uncompressed)) && (!need_csize || take(e.compressed)) &&
             (!need_offset || take(e.local_offset));
    }
    at += 4 + length;
  }
  return !need_usize && !need_csize && !need_offset;
}

} // namespace

std::optional<std::vector<ZipEntry>> read_central_directory(ZipSource& source,
                                                            std::string* damage) {
  auto d = find_end(source, damage);
  if (!d)
    return std::nullopt;
  if (d->offset > d->end || d->size > d->end - d->offset) {
    *damage = "central directory lies outside the archive";
    return std::nullopt;
  }
  if (d->size > kMaxCentralDirectory || d->entries > d->size / kCentralSize) {
    *damage = "central directory too large or its entry count is wrong";
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(static_cast<std::size_t>(d->size));
  if (!source.read_at(d->offset, bytes)) {
    *damage = "cannot read the central directory";
    return std::nullopt;
  }
  std::span<const uint8_t> cd(bytes);
  std::vector<ZipEntry> entries;
  entries.reserve(static_cast<std::size_t>(d->entries));
  std::size_t at = 0;
  for (uint64_t i = 0; i < d->entries; ++i) {
    if (at + kCentralSize > cd.size() || le32(cd, at) != kCentralSignature) {
      *damage = "damaged central directory record " + std::to_string(i + 1);
      return std::nullopt;
    }
    std::size_t name_length = le16(cd, at + 28), extra_length = le16(cd, at + 30);
    std::size_t comment_length = le16(cd, at + 32);
    std::size_t next = at + kCentralSize + name_length + extra_length + comment_length;
    if (next > cd.size()) {
      *damage = "central directory record " + std::to_string(i + 1) + " runs past its end";
      return std::nullopt;
    }
    ZipEntry e;
    e.made_by = le16(cd, at + 4);
    e.flags = le16(cd, at + 8);
    e.method = le16(cd, at + 10);
    e.dos_time = le16(cd, at + 12);
    e.dos_date = le16(cd, at + 14);
    e.crc = le32(cd, at + 16);
    e.compressed = le32(cd, at + 20);
    e.uncompressed = le32(cd, at + 24);
    e.external = le32(cd, at + 38);
    e.local_offset = le32(cd, at + 42);
    e.utf8_name = (e.flags & kUtf8Name) != 0;
    e.name.assign(reinterpret_cast<const char*>(cd.data() + at + kCentralSize), name_length);
    e.limit = d->offset;
    if (!apply_zip64(cd.subspan(at + kCentralSize + name_length, extra_length), e,
                     e.uncompressed == 0xffffffff, e.compressed == 0xffffffff,
                     e.local_offset == 0xffffffff)) {
      *damage = "damaged ZIP64 sizes of \"" + e.name + "\"";
      return std::nullopt;
    }
    if (e.local_offset > e.limit || e.limit - e.local_offset < kLocalSize ||
        e.compressed > e.limit - e.local_offset - kLocalSize) {
      *damage = "data of \"" + e.name + "\" lies outside the archive";
      return std::nullopt;
    }
    if ((e.flags & kEncrypted) != 0) {
      *damage = "\"" + e.name + "\" is encrypted";
      return std::nullopt;
    }
    if (e.method != 0 && e.method != 8) {
      *damage = "\"" + e.name + "\" uses compression method " + std::to_string(e.method) +
                " (only stored and deflated entries are supported)";
      return std::nullopt;
    }
    if (e.method == 0 && e.compressed != e.uncompressed) {
      *damage = "stored entry \"" + e.name + "\" has two sizes";
      return std::nullopt;
    }
    entries.push_back(std::move(e));
    at = next;
  }
  return entries;
}

std::string stream_entry(ZipSource& source, const ZipEntry& entry,
                         const std::function<bool(std::span<const uint8_t>)>& sink,
                         bool* sink_failed) {
  *sink_failed = false;
  std::array<uint8_t, kLocalSize> local;
  if (!source.read_at(entry.local_offset, local) || le32(local, 0) != kLocalSignature)
    return "damaged local header of \"" + entry.name + "\"";
  uint64_t data = entry.local_offset + kLocalSize + le16(local, 26) + le16(local, 28);
  if (data > entry.limit || entry.compressed > entry.limit - data)
    return "data of \"" + entry.name + "\" lies outside the archive";

  std::vector<uint8_t> in(kChunk), out(kChunk);
  uint64_t read = 0, written = 0;
  uLong crc = crc32(0, nullptr, 0);
  auto put = [&](std::span<const uint8_t> bytes) {
    if (bytes.size() > entry.uncompressed - written)
      return false;
    written += bytes.size();
    crc = crc32(crc, bytes.data(), static_cast<uInt>(bytes.size()));
    if (!sink(bytes)) {
      *sink_failed = true;
      return false;
    }
    return true;
  };
  auto next_chunk = [&]() -> std::span<uint8_t> {
    std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(kChunk, entry.compressed - read));
    std::span<uint8_t> chunk(in.data(), n);
    if (n > 0 && !source.read_at(data + read, chunk))
      return {};
    read += n;
    return chunk;
  };
  std::string longer = "\"" + entry.name + "\" holds more bytes than its size";

  if (entry.method == 0) {
    while (read < entry.compressed) {
      std::span<uint8_t> chunk = next_chunk();
      if (chunk.empty())
        return "cannot read the data of \"" + entry.name + "\"";
      if (!put(chunk))
        return *sink_failed ? "" : longer;
    }
  } else {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
      return "cannot start inflating \"" + entry.name + "\"";
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
      if (z.avail_in == 0) {
        if (read == entry.compressed)
          break;
        std::span<uint8_t> chunk = next_chunk();
        if (chunk.empty()) {
          inflateEnd(&z);
          return "cannot read the data of \"" + entry.name + "\"";
        }
        z.next_in = chunk.data();
        z.avail_in = static_cast<uInt>(chunk.size());
      }
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      rc = inflate(&z, Z_NO_FLUSH);
      if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
        inflateEnd(&z);
        return "damaged compressed data in \"" + entry.name + "\"";
      }
      std::size_t produced = out.size() - z.avail_out;
      if (produced > 0 && !put(std::span<const uint8_t>(out.data(), produced))) {
        inflateEnd(&z);
        return *sink_failed ? "" : longer;
      }
      if (rc == Z_BUF_ERROR && z.avail_in == 0 && read == entry.compressed)
        break;
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END)
      return "compressed data of \"" + entry.name + "\" ends too early";
  }
  if (written != entry.uncompressed)
    return "\"" + entry.name + "\" is shorter than its size";
  if (static_cast<uint32_t>(crc) != entry.crc)
    return "CRC mismatch in \"" + entry.name + "\"";
  return "";
}

} // namespace qov
