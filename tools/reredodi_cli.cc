// Runs our extraction program's host side on host paths:
//   reredodi_cli ARCHIVE DESTINATION
// Prints the reason of a failure on standard error and exits with the
// extraction's result code (zip_extractor.h).
#include <cstdio>

#include "platform/programs/zip_extractor.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: reredodi_cli ARCHIVE DESTINATION\n");
    return 64;
  }
  qov::ExtractOutcome out = qov::extract_zip(argv[1], argv[2]);
  if (out.code != qov::kExtractOk)
    std::fprintf(stderr, "reredodi_cli: %s: %s\n", argv[1], out.reason.c_str());
  return out.code;
}
