// The host folders behind the drives and shares of the machine.
//
// With QOV_MACHINE=DIR, every entry of DIR whose name is one letter (either
// case; a folder or a link to one) is the root of that drive, and
// DIR/unc/SERVER/SHARE is the share \\SERVER\SHARE. Without it, Z: is the
// host's root and C: a per-user folder made on first use.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qov::posix {

class MachineMap {
public:
  // The machine of drive letters in a host folder.
  static MachineMap in_folder(std::string dir);
  // The default machine: Z: the host root, C: DATA/c (made on first use);
  // no shares.
  static MachineMap host_default(std::string data_dir);

  // Host folder of a drive's root (letter in either case); nothing when the
  // machine has no such drive. The default C: is made here when missing.
  std::optional<std::string> drive_root(char letter) const;
  // Host folder of a share, SERVER and SHARE matched without regard to case.
  std::optional<std::string> share_root(std::string_view server, std::string_view share) const;

  // A root that holds a host folder: the one nearest to it when several do.
  struct Owner {
    char drive = 0; // upper case, or 0 for a share
    std::string server, share;
    std::string root; // the root's real host path
  };
  // The drive or share whose root holds the real host path; nothing when
  // the path is outside the machine. Never makes a folder.
  std::optional<Owner> owner_of(const std::string& real_path) const;

  // The drive letters, upper case, in order ("CD").
  std::string drives() const;

  // Host file in which the regsvr32 stand-in keeps the registered controls.
  std::string registry_file() const;

  bool is_default() const { return default_; }
  const std::string& folder() const { return dir_; }

private:
  std::optional<std::string> find_drive(char letter) const;

  std::string dir_; // QOV_MACHINE, or the per-user data folder
  bool default_ = false;
};

// The case-insensitive entry of a host folder with that name: the exact name
// when it exists, otherwise the first match in sorted order.
std::optional<std::string> matching_entry(const std::string& folder, std::string_view name);

bool is_folder(const std::string& host_path);

} // namespace qov::posix
