// The system controls comdlg32.ocx and mvzipunz.ocx: copied into the Windows
// system folder when missing, then registered with regsvr32.
#pragma once

namespace qov {

void install_system_controls();

} // namespace qov
