#include "platform/programs/reredodi.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/programs/zip_extractor.h"
#include "system/fixed_text.h"
#include "system/win1252.h"

namespace qov {
namespace {

struct HostRequest {
  std::string archive;
  std::string destination;
};

// The block's Windows names (Windows-1252) as host paths (UTF-8); nothing,
// with the failure in *out, when one does not resolve.
std::optional<HostRequest> resolve(HostNames& names, const ExtractionBlock& block,
                                   ExtractOutcome* out) {
  if (std::memcmp(block.function, "UNZ", 3) != 0) {
    std::string function = utf8_from_w1252(std::string_view(block.function, 3));
    *out = {kExtractUnknownFunction, "unknown function: \"" + function + "\""};
    return std::nullopt;
  }
  std::string archive = name_of(block.archive);
  std::string destination = name_of(block.destination);
  auto archive_path = archive.empty() ? std::nullopt : names.existing(archive);
  if (!archive_path) {
    *out = {kExtractMissingArchive, "missing archive: not found"};
    return std::nullopt;
  }
  auto destination_path = destination.empty() ? std::nullopt : names.for_create(destination);
  if (!destination_path) {
    *out = {kExtractNoDestination,
            "destination unreachable: \"" + utf8_from_w1252(destination) + "\""};
    return std::nullopt;
  }
  return HostRequest{*archive_path, *destination_path};
}

} // namespace

int32_t ReredodiExtractor::extract(ExtractionBlock& block, std::string* error) {
  std::string shown = utf8_from_w1252(name_of(block.archive));
  ExtractOutcome out;
  if (auto request = resolve(names_, block, &out)) {
    // extract_zip tells the progress sink about its own failures.
    out = extract_zip(request->archive, request->destination, progress_, shown);
  } else if (progress_ != nullptr) {
    progress_->failure(shown, out.reason);
  }
  if (out.code == kExtractOk) {
    error->clear();
    return kExtractOk;
  }
  std::fprintf(stderr, "REREDODI: %s: %s\n", shown.c_str(), out.reason.c_str());
  *error = w1252(out.reason);
  return out.code;
}

} // namespace qov
