// The install register: one file of 80-byte records per run-time family,
// c:/qovexemf/qovinst.dir and c:/qovexerm/qovinst.dir, naming the folders
// the installer has installed into.
#pragma once

namespace qov {

// update_folder := the folder of the first valid record of the "mf" file, or
// else of the "rm" file, or spaces.
void find_recorded_folder();

}  // namespace qov
