// REREDODI, our stand-in for the maker's extraction program: takes the
// extraction block's Windows names, resolves them on the machine and
// unpacks the ZIP archive into the destination (zip_extractor.h has the
// result codes).
//
// Every failure is reported, although the installer never examines the
// result: one line on standard error naming the archive and the reason, the
// reason in *error (which the installer's trace records), and the progress
// sink's failure notice when there is one.
#pragma once

#include <string>

#include "platform/host_names.h"
#include "platform/programs/extraction_progress.h"
#include "platform/programs/helper_programs.h"

namespace qov {

class ReredodiExtractor : public Extractor {
public:
  explicit ReredodiExtractor(HostNames& names, ExtractionProgress* progress = nullptr)
      : names_(names), progress_(progress) {}

  int32_t extract(ExtractionBlock& block, std::string* error) override;

  void set_progress(ExtractionProgress* progress) { progress_ = progress; }

private:
  HostNames& names_;
  ExtractionProgress* progress_;
};

} // namespace qov
