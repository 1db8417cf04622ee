// The GUI library's files: its configuration file, named by the environment
// variable "sp2cfg", and the bitmaps in the same folder. Names are matched
// without regard to case, as on the Windows machine the installer expects.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/terminal/bmp_image.h"
#include "platform/terminal/sp2_config.h"

namespace qov::terminal {

// The host folder behind a folder name; nothing when it does not exist.
using FolderResolver = std::function<std::optional<std::string>(const std::string& folder)>;

// Resolves a host path whose components are matched without regard to case;
// backslashes count as separators.
std::optional<std::string> host_folder_ignoring_case(const std::string& folder);

// The host path of the entry of `host_folder` named `name` without regard
// to case; nothing when there is none.
std::optional<std::string> entry_ignoring_case(const std::string& host_folder,
                                               std::string_view name);

class Sp2Files {
public:
  explicit Sp2Files(FolderResolver resolve = host_folder_ignoring_case)
      : resolve_(std::move(resolve)) {}

  // Read on first use, from the file "sp2cfg" names then.
  const Sp2Config& config();
  // The bitmap as cells, or nullptr when there is no such file or it is not
  // an uncompressed BMP. Each name is read once.
  const CellPicture* picture(std::string_view bitmap);

private:
  void load();

  FolderResolver resolve_;
  bool loaded_ = false;
  std::optional<std::string> folder_; // host folder of the configuration file
  Sp2Config config_;
  std::map<std::string, std::unique_ptr<CellPicture>> pictures_; // by lower-case name
};

} // namespace qov::terminal
