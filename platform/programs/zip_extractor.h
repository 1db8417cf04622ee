// Our extraction program's host side: unpacks a ZIP archive (stored and
// deflated entries) into a host folder, with libarchive.
//
// The archive is read twice. The first pass reads only the headers and
// refuses the archive whole, before anything is written, when one entry is
// unsafe (see zip_entry_name.h; links, devices and fifos too). The second
// pass streams each file's data through a fixed buffer into a temporary file
// beside its target, and renames it over the target once complete, so a
// damaged archive never leaves a truncated file where a good one was. Files
// written before the damage was found stay in place, complete.
#pragma once

#include <cstdint>
#include <string>

#include "platform/programs/extraction_progress.h"
#include "platform/programs/extraction_results.h"

namespace qov {

struct ExtractOutcome {
  int32_t code = kExtractOk;
  std::string reason; // UTF-8, empty on success: "damaged archive: ..."
};

// Extracts the archive at a host path into the host destination folder,
// which is created when missing. When progress is given it sees begin()
// with `label` and the total uncompressed size, advance() as data is
// written, and then either end() or failure(label, reason); a failure
// found before begin() is reported by failure() alone.
ExtractOutcome extract_zip(const std::string& archive, const std::string& destination,
                           ExtractionProgress* progress = nullptr, const std::string& label = "");

} // namespace qov
