// The update path: the update screen and the panel "PSETUP", offered when the
// register holds an installation.
#pragma once

namespace qov {

void run_update_path();

} // namespace qov
