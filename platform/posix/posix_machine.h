// The Windows machine of drive letters on a POSIX host.
//
// Windows names reach host files through the machine map (machine_map.h):
// both separators, drive-relative names, names matched without regard to
// case, "." and ".." that never climb above a drive's or share's root. The
// machine keeps a current drive, a current folder per drive (as the C
// run-time's _chdrive and _chdir do) and the current folder itself; it never
// changes the host process's own folder, and the programs it starts get the
// current folder as theirs.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/host_names.h"
#include "platform/posix/machine_map.h"
#include "system/platform_services.h"

namespace qov {

class PosixMachine : public PlatformServices, public HostNames {
public:
  // The machine of this run: QOV_MACHINE, or the default machine when it is
  // unset or empty, started in the process's current folder. Nothing, with a
  // message in *error, when QOV_MACHINE is not a readable folder.
  static std::unique_ptr<PosixMachine> from_environment(std::string* error);

  // A machine on a map, started in a host folder. A start folder outside the
  // machine is taken as the root of C:. Sets COMSPEC in the process when it
  // is not set, so that "%comspec%" names the command shell.
  PosixMachine(posix::MachineMap map, const std::string& start_folder);

  // PlatformServices. Names are Windows-1252; error numbers are errno values.
  std::string current_folder() override;
  int set_drive(char letter) override;
  int change_folder(const std::string& name) override;
  std::optional<FileInfo> file_info(const std::string& name) override;
  int copy_file(const std::string& from, const std::string& to) override;
  int run_command(const std::string& line) override;
  void set_env(const std::string& name, const std::string& value) override;
  std::optional<std::string> get_env(const std::string& name) override;
  std::unique_ptr<RecordFile> new_record_file() override;

  // HostNames. Host paths are the host's own (UTF-8); the names folders_in
  // gives are Windows-1252, like every Windows name. for_create matches the
  // last name too when it exists, so that writing "QOVROT.TXT" replaces an
  // existing qovrot.txt as Windows would.
  std::optional<std::string> existing(const std::string& windows_name) override;
  std::optional<std::string> for_create(const std::string& windows_name) override;
  std::string drives() override;
  std::vector<std::string> folders_in(const std::string& windows_folder) override;

  // An existing file or folder, with its full Windows name as it is on disk.
  struct Found {
    std::string host;
    std::string windows; // Windows-1252
    bool folder = false;
  };
  std::optional<Found> find(const std::string& windows_name);
  // Host path of the current folder; nothing when it is gone.
  std::optional<std::string> current_host_folder();
  const posix::MachineMap& map() const { return map_; }

private:
  // A folder or file of the machine: a drive or a share, and the names below
  // its root.
  struct Place {
    char drive = 0;
    std::string server, share;
    std::vector<std::string> parts; // host names (UTF-8)
  };
  struct Resolved {
    Place place;      // with the names as on disk where they exist
    std::string host; // host path
    bool exists = false;
    bool parent_exists = false;
  };

  std::optional<Place> place_of(const std::string& windows_name) const;
  std::optional<Resolved> resolve(const Place& place) const;
  std::optional<Resolved> resolve_name(const std::string& windows_name) const;
  std::string windows_name_of(const Place& place) const;
  std::vector<std::string> folder_of_drive(char drive) const;
  void make_current(const Place& place);

  posix::MachineMap map_;
  Place current_;
  std::map<char, std::vector<std::string>> drive_folders_;
};

// The machine wiring made for this run, for the platform's other programs
// (the extraction program, the folder dialog); nullptr before.
PosixMachine* current_machine();
void set_current_machine(PosixMachine* machine);

} // namespace qov
