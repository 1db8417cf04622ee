#include "tests/windows/support/zip_maker.h"

#include <zlib.h>

namespace qov::testing {
namespace {

void put16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xff));
  out.push_back(static_cast<char>((v >> 8) & 0xff));
}
void put32(std::string& out, uint32_t v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}

std::string raw_deflate(const std::string& data) {
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

} // namespace

std::string make_zip(const std::vector<ZipItem>& items) {
  std::string out, central;
  for (const ZipItem& item : items) {
    std::string body = item.deflate ? raw_deflate(item.data) : item.data;
    uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(item.data.data()),
                                               static_cast<uInt>(item.data.size())));
    uint32_t offset = static_cast<uint32_t>(out.size());
    uint16_t method = item.deflate ? 8 : 0;
    put32(out, 0x04034b50);
    put16(out, 20);
    put16(out, 0);
    put16(out, method);
    put16(out, 0);
    put16(out, 0x5a21);
    put32(out, crc);
    put32(out, static_cast<uint32_t>(body.size()));
    put32(out, static_cast<uint32_t>(item.data.size()));
    put16(out, static_cast<uint32_t>(item.name.size()));
    put16(out, 0);
    out += item.name;
    out += body;

    put32(central, 0x02014b50);
    put16(central, item.made_by);
    put16(central, 20);
    put16(central, 0);
    put16(central, method);
    put16(central, 0);
    put16(central, 0x5a21);
    put32(central, crc);
    put32(central, static_cast<uint32_t>(body.size()));
    put32(central, static_cast<uint32_t>(item.data.size()));
    put16(central, static_cast<uint32_t>(item.name.size()));
    put16(central, 0);
    put16(central, 0);
    put16(central, 0);
    put16(central, 0);
    put32(central, item.external);
    put32(central, offset);
    central += item.name;
  }
  uint32_t cd_offset = static_cast<uint32_t>(out.size());
  out += central;
  put32(out, 0x06054b50);
  put16(out, 0);
  put16(out, 0);
  put16(out, static_cast<uint32_t>(items.size()));
  put16(out, static_cast<uint32_t>(items.size()));
  put32(out, static_cast<uint32_t>(central.size()));
  put32(out, cd_offset);
  put16(out, 0);
  return out;
}

} // namespace qov::testing
