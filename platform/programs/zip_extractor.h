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

namespace qov {

// The results of an extraction: REREDODI returns them to the installer,
// which stores but never examines them.
inline constexpr int32_t kExtractOk = 0;
// The archive file does not exist or cannot be read.
inline constexpr int32_t kExtractMissingArchive = 1;
// The file is not a ZIP archive, is truncated or corrupted (a bad CRC, a
// broken deflate stream), or uses a method or encryption we do not read.
inline constexpr int32_t kExtractDamagedArchive = 2;
// An entry would be written outside the destination or is a link, a device
// or a fifo; nothing has been written.
inline constexpr int32_t kExtractUnsafeArchive = 3;
// A folder or file could not be created, written or renamed into place.
inline constexpr int32_t kExtractWriteFailure = 4;
// The destination folder's name does not lead to a folder on the machine.
inline constexpr int32_t kExtractNoDestination = 5;
// The extraction block asks for something other than "UNZ".
inline constexpr int32_t kExtractUnknownFunction = 6;

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
