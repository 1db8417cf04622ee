// The extraction program's host side over arbitrary archives.
//
// The input is written as a ZIP file and extracted into ROOT/c/dest, a
// destination that holds a link to a folder outside it (ROOT/outside) and a
// file of its own. The target aborts when the extraction writes, changes or
// removes anything outside the destination, when a temporary file of the
// extraction is left behind, or when the result is not one of the
// documented codes.
#include <filesystem>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "platform/programs/zip_extractor.h"

namespace qov {
namespace {
namespace fs = std::filesystem;

constexpr std::string_view kTarget = "extraction";

struct Sandbox {
  Sandbox() : root(fuzz::temp_root(kTarget)) {
    archive = fuzz::temp_root(kTarget) + "/archive.zip";
    fs::create_directories(root + "/outside/sub");
    fs::create_directories(root + "/c");
    fuzz::write_host_file(root + "/outside/secret.txt", "outside the destination");
    fuzz::write_host_file(root + "/c/beside.txt", "beside the destination");
    before = fuzz::tree_of(root, "c/dest");
  }
  std::string dest() const { return root + "/c/dest"; }

  std::string root;
  std::string archive;
  fuzz::Tree before;
};

Sandbox& sandbox() {
  static Sandbox s;
  return s;
}

void fresh_destination(const Sandbox& s) {
  std::error_code ec;
  fs::remove_all(s.dest(), ec);
  fs::create_directories(s.dest() + "/QOV");
  fuzz::write_host_file(s.dest() + "/QOV/old.txt", "an older file");
  fs::create_directory_symlink(s.root + "/outside", s.dest() + "/link", ec);
}

void run_one(std::string_view input) {
  Sandbox& s = sandbox();
  fresh_destination(s);
  fuzz::write_host_file(s.archive, input);
  ExtractOutcome out = extract_zip(s.archive, s.dest());
  if (out.code < kExtractOk || out.code > kExtractWriteFailure)
    fuzz::fail(kTarget, "unexpected result " + std::to_string(out.code) + ": " + out.reason);
  if (out.code != kExtractOk && out.reason.empty())
    fuzz::fail(kTarget, "a failure without a reason");
  fuzz::Tree after = fuzz::tree_of(s.root, "c/dest");
  if (after != s.before) {
    std::string changed;
    for (const auto& [path, picture] : after)
      if (s.before.count(path) == 0 || s.before.at(path) != picture)
        changed += " " + path;
    for (const auto& [path, picture] : s.before)
      if (after.count(path) == 0)
        changed += " -" + path;
    fuzz::fail(kTarget, "written outside the destination:" + changed);
  }
  for (const auto& [path, picture] : fuzz::tree_of(s.dest()))
    if (path.find(".reredodi-") != std::string::npos)
      fuzz::fail(kTarget, "temporary file left behind: " + path);
}

} // namespace
} // namespace qov

void qov::fuzz::check_extraction(std::string_view input) {
  qov::run_one(input);
}

QOV_FUZZ_ENTRY(qov::fuzz::check_extraction)
