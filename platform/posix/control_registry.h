// The system controls registered on the machine, and our regsvr32.
//
// The registry is a host file of the machine's own (DIR/registry/controls.txt
// of QOV_MACHINE): one full Windows name a line, in UTF-8, each at most once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qov {
class PosixMachine;
}

namespace qov::posix {

class ControlRegistry {
public:
  explicit ControlRegistry(std::string host_file) : file_(std::move(host_file)) {}

  // Records a control (Windows-1252 name) unless a line already names it,
  // without regard to case. False when the file cannot be written.
  bool add(const std::string& windows_name);
  // Takes a control out. False when the file cannot be written.
  bool remove(const std::string& windows_name);
  // The names recorded, Windows-1252.
  std::vector<std::string> names() const;

private:
  std::string file_;
};

// The regsvr32 stand-in: "[/s] [/u] [/i[:TEXT]] [/n] CONTROL...". Each
// control must be an existing file of the machine; its full Windows name is
// recorded (or taken out with /u). With /s nothing is shown; without it the
// outcome is told on standard output or error. Exit codes as regsvr32's: 0
// done, 1 no control named, 3 a control that cannot be found, 5 the
// registry cannot be written.
int run_regsvr32(PosixMachine& machine, std::string_view arguments);

} // namespace qov::posix
