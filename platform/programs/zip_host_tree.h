// The folders under an extraction's destination, as the extraction sees
// them: names are matched without regard to case, as on Windows, so an
// archive holding QOVEXEMF\x merges into an existing qovexemf (the existing
// name wins). Each folder is listed once and then kept up to date by the
// extraction itself, so thousands of entries cost one listing per folder.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace qov {

class HostTree {
public:
  explicit HostTree(std::string root) : root_(std::move(root)) {}

  // Creates the destination folder and the folders above it when missing.
  // False, with the reason in *why, when that fails.
  bool make_root(std::string* why);

  // The host path of the folder named by the components, matching existing
  // folders without regard to case and creating the missing ones with the
  // case given. False, with the reason in *why, when a component exists as
  // something other than a folder (a file, or a link that could lead out of
  // the destination) or cannot be created.
  bool folder(const std::vector<std::string>& parts, size_t count, std::string* host,
              std::string* why);

  // The name under which a file called `name` is to be written in the host
  // folder: the existing entry's name when one matches without regard to
  // case, else `name`. False when the match is a folder.
  bool file_name(const std::string& folder, const std::string& name, std::string* found,
                 std::string* why);

  // Records that the extraction has put a file of that name in the folder.
  void added_file(const std::string& folder, const std::string& name);

private:
  enum class Kind { kFolder, kFile, kOther };
  struct Listing {
    std::map<std::string, std::pair<std::string, Kind>> by_key; // folded name -> (name, kind)
  };
  Listing& listing(const std::string& folder);

  std::string root_;
  std::map<std::string, Listing> listings_;
};

// The name folded for comparison without regard to case (ASCII letters).
std::string fold_case(const std::string& name);

} // namespace qov
