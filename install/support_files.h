// The support files: the GUI library's files under their second names,
// msvcrt.dll and unzip.exe into the run-time folder, and QOVROT.TXT into the
// target folder.
#pragma once

namespace qov {

void install_support_files();

} // namespace qov
