#include "tests/support/demo_machine.h"

#include <filesystem>

namespace qov::testing {

DemoMachine::DemoMachine() {
  std::filesystem::create_directory_symlink(QOV_DEMO_CD, host("d"));
  write_file("c/WINDOWS/system32/msvcrt.dll", "demo msvcrt\n");
}

RunOptions DemoMachine::options(const std::string& answers) const {
  RunOptions o;
  o.machine = root();
  o.cwd = host("d/AUTORUN/BIN");
  o.env["windir"] = "C:\\WINDOWS";
  o.answers = answers;
  return o;
}

std::string DemoMachine::record(const std::string& version_text, const std::string& folder,
                                bool zavod) {
  std::string r = version_text + folder;
  r.resize(75, ' ');
  r += zavod ? "pos" : "   ";
  return r + "\r\n";
}

} // namespace qov::testing
