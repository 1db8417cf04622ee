// The application archives of "pos" and "apl": the two CD source folders and
// the archives extracted into the target folder.
#pragma once

namespace qov {

// CD folder of the Zavod archives ("pos" only) and of the application
// archives: the folder text, then NULs.
extern char posto_source_folder[80];
extern char app_source_folder[80];

void build_source_folders();
void extract_application_archives();

} // namespace qov
