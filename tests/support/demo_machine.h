// A machine with the demo CD in drive D: and a bare Windows on drive C:.
#pragma once

#include <string>

#include "tests/support/installer_run.h"

namespace qov::testing {

class DemoMachine : public TempMachine {
public:
  DemoMachine();
  // Options for a run started in D:\AUTORUN\BIN with windir C:\WINDOWS.
  RunOptions options(const std::string& answers) const;
  // The 80-byte register record the installer writes.
  static std::string record(const std::string& version_text, const std::string& folder, bool zavod);
};

} // namespace qov::testing
