// The result codes of our REREDODI, the same in every build.
#pragma once

#include <cstdint>

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

} // namespace qov
