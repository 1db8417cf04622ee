// Builds small ZIP archives in memory for the extraction checks, including
// the malformed ones no archiver would write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qov::testing {

struct ZipItem {
  std::string name;
  std::string data;
  bool deflate = true;
  uint16_t made_by = 0x031e; // Unix
  uint32_t external = 0100644u << 16;
};

// The archive's bytes: local headers and data, central directory, end
// record.
std::string make_zip(const std::vector<ZipItem>& items);

} // namespace qov::testing
