// What a front end shows while REREDODI works: the archive's name, a
// progress bar, and a notice that the user dismisses when an archive could
// not be extracted.
#pragma once

#include <cstdint>
#include <string>

namespace qov {

class ExtractionProgress {
public:
  virtual ~ExtractionProgress() = default;
  // An archive starts; total is its uncompressed size in bytes (0 if unknown).
  virtual void begin(const std::string& archive, uint64_t total) = 0;
  // Bytes written so far for this archive.
  virtual void advance(uint64_t done) = 0;
  virtual void end() = 0;
  // The archive could not be extracted; returns when the user has seen it.
  virtual void failure(const std::string& archive, const std::string& reason) = 0;
};

} // namespace qov
