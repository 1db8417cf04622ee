// A guard for the one unsafe entry name that libarchive cannot show us.
//
// libarchive hands entry names over as C strings, so a stored name holding
// a NUL ("a\0..\x") reaches its callers cut at the NUL and looks harmless.
// Windows names never hold a NUL, and an archive that has one was made to
// confuse some reader, so we refuse it: this guard reads the stored name
// lengths of the central directory (the records libarchive itself goes by)
// and looks for a NUL in each name. It reads nothing else of the archive;
// everything else is libarchive's.
#pragma once

#include <string>

namespace qov {

// True when some central-directory name of the ZIP file at the host path
// holds a NUL. An archive whose directory it cannot find is left to
// libarchive to judge (false).
bool zip_names_hold_nul(const std::string& path);

} // namespace qov
