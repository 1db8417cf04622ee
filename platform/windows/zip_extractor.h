// REREDODI on Windows: extracts a ZIP archive (stored and deflated entries)
// into a folder, with zlib's inflate.
//
// - Names are Windows names; the destination folder and the archive's own
//   folders are created when missing.
// - An archive with any unsafe entry (see zip_entry_guard.h) is refused
//   whole, before anything is written.
// - Each file is written beside its target and renamed over it, so a damaged
//   archive never leaves a truncated file where a good one was.
// - Every failure is reported on standard error, naming the archive and the
//   reason, and in *error.
#pragma once

#include <cstdint>
#include <string>

#include "platform/programs/extraction_progress.h"
#include "platform/programs/extraction_results.h"
#include "platform/programs/helper_programs.h"

namespace qov {

// Extracts the archive into the destination (both Windows-1252 Windows
// names). On failure gives the code and the reason (UTF-8) in *reason.
int32_t extract_zip(const std::string& archive, const std::string& destination, std::string* reason,
                    ExtractionProgress* progress = nullptr);

class ZipExtractor : public Extractor {
public:
  explicit ZipExtractor(ExtractionProgress* progress = nullptr) : progress_(progress) {}
  int32_t extract(ExtractionBlock& block, std::string* error) override;

private:
  ExtractionProgress* progress_;
};

} // namespace qov
