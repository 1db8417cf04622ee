// How our helper programs reach the host files behind Windows names.
//
// The machine layer implements this; the extraction program and the folder
// dialog use it, so that every name they touch is resolved like every other
// name of the installer and never leaves the machine.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qov {

class HostNames {
public:
  virtual ~HostNames() = default;

  // Host path of an existing file or folder named by a Windows name (matched
  // without regard to case); nothing when absent, on a drive that does not
  // exist, or outside the machine.
  virtual std::optional<std::string> existing(const std::string& windows_name) = 0;

  // Host path for a file or folder to be created under that name: existing
  // folders on the way are matched without regard to case, the missing ones
  // (and the last component) keep the case given. Creates nothing. Nothing
  // when the drive does not exist or the name would leave the machine.
  virtual std::optional<std::string> for_create(const std::string& windows_name) = 0;

  // The drive letters of the machine, upper case, in order ("CD").
  virtual std::string drives() = 0;

  // The names of the folders inside a Windows folder, sorted without regard
  // to case; empty when it does not exist.
  virtual std::vector<std::string> folders_in(const std::string& windows_folder) = 0;
};

} // namespace qov
